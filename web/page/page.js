// The page around the maze: the wiring between its parts. startup.js starts
// the program and loads the maze and textures; controls.js takes every way
// of walking; open_maze.js opens files, links and random mazes; overlay.js
// shows what the walk reports; way.js shows the way; map_panel.js the map;
// editor.js the editor; pause.js pauses; sound.js sounds; gamepad.js reads
// gamepads; options.js and title.js keep the settings of the view and the
// title; levels.js, daily.js, bests.js and challenge.js what a finished walk
// counts for, kept by store.js. The program (program.js) tells what changes,
// and each part listens.
//
// One thing is global on purpose: window.mazePage, the hook the page's tests
// and benchmark read the walk through (see below). Nothing of the page
// depends on it.
import {installBests} from './bests.js';
import {installChallenge} from './challenge.js';
import {installControls} from './controls.js';
import {installDaily} from './daily.js';
import {installEditor} from './editor.js';
import {showFindings} from './findings.js';
import {installGamepad} from './gamepad.js';
import {installKindColours} from './kinds.js';
import {installLevels} from './levels.js';
import {shareLink, showInAddress, utcToday} from './links.js';
import {installMapPanel} from './map_panel.js';
import {installMazeOpening} from './open_maze.js';
import {installOptions} from './options.js';
import {installNotice} from './notice.js';
import {installOffline} from './offline.js';
import {hideOverlay, showOverlay} from './overlay.js';
import {installPause} from './pause.js';
import {installSound} from './sound.js';
import {startUp} from './startup.js';
import {installFrameRate, setMazeName} from './title.js';
import {whenRefused} from './store.js';
import {installFullscreen} from './view.js';
import {installWay} from './way.js';

const byId = (id) => document.getElementById(id);
const canvas = byId('maze');

let program = null;    // the program, once it has started
let playable = false;  // the maze and every texture are loaded
let firstFrameMs = null;
const playing = () => (playable ? program : null);

const notices = installNotice(byId('notice'));
const notice = notices.say;

// After a maze has been read: its findings listed and the walk started from
// its start (the map and the way follow what the program tells); the view
// takes the keyboard unless `focus` is false.
function run({focus = true} = {}) {
  showFindings(byId('findings'), program.findings(), {quiet: true});
  hideOverlay({focus});
  program.run();
  challenge.ready();
}

// Bytes as a string of the same character codes.
function latin1(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192)
    text += String.fromCharCode(...bytes.subarray(i, i + 8192));
  return text;
}

whenRefused(notice);
const focusView = () => canvas.focus();
const opening = installMazeOpening({program: playing, run, notice, opened(walk) {
  // A level's or a daily maze's name in the title (a file has named itself).
  if (walk.level)
    setMazeName(`Level ${walk.level}`);
  else if (walk.daily)
    setMazeName(walk.daily === utcToday() ? 'today\'s maze' : `the maze of ${walk.daily}`);
  levels.opened(walk.level);
  daily.opened(walk.daily);
  challenge.opened(walk.challenge);
}});
const levels = installLevels({button: byId('levels-button'), panel: byId('levels'), next: byId('next-level'),
                              open: opening.openLink, focusView});
const daily = installDaily({button: byId('today'), line: byId('streak'), open: opening.openLink, focusView});
const bests = installBests({row: byId('result-best-row'), value: byId('result-best'), record: byId('result-record')});
const challenge = installChallenge({banner: byId('to-beat'), verdict: byId('result-challenge'), button: byId('challenge'),
                                    link: opening.link, notice,
                                    share: (link) => shareLink(link, byId('link-text'), 'this challenge')});
const way = installWay({program: playing, button: byId('show-way'), notice, endNotice: notices.end});
const map = installMapPanel({panel: byId('map-panel'), canvas: byId('map'), button: byId('map-button'),
                             stage: byId('stage'), pad: byId('pad')});
const press = (code) => playing() && program.key(code);
installControls({view: canvas, pad: byId('pad'), press});
installGamepad({press, toggleMap: map.toggle, notice});
const pause = installPause({program: playing, resumeButton: byId('resume')});
const options = installOptions({exitsButton: byId('show-exits'), motionSelect: byId('motion')});
const sound = installSound({button: byId('sound'), instant: options.instant});
const frameRate = installFrameRate({element: byId('frame-rate'), button: byId('show-frame-rate')});
installFullscreen(byId('fullscreen'), byId('stage'));
byId('again').addEventListener('click', () => {
  hideOverlay();
  program.restart();
  challenge.ready();
});

// What the program tells the page as a whole.
function listen(p) {
  program = p;
  p.on('firstframe', () => {
    firstFrameMs = performance.now();
  });
  p.on('exit', (text) => {
    const results = p.results();
    showOverlay(text, {button: 'Play again', results});
    bests.finished(p.mazeBytes(), results);
    levels.finished();
    daily.finished();
    challenge.finished(results);
  });
  way.listen(p);
  pause.listen(p);
  sound.listen(p);
  frameRate.listen(p);
  challenge.listen(p);
}

const starting = startUp({canvas, started: listen, readMaze: opening.readAddressMaze});
installOffline(notice, starting);
starting.then((p) => {
  if (!p)
    return;
  playable = true;
  opening.followAddress(p);
  const kinds = p.cellKinds(), colours = p.textureColours();
  installKindColours(kinds, colours);
  map.attach(p, kinds, colours);
  options.attach(p);
  run();
  // The edited maze's link in the address ends what was said of the link before.
  const showEditedInAddress = (fragment) => {
    showInAddress(fragment);
    notices.end('link');
  };
  installEditor({program: p, kinds, openMazeBytes: opening.openMazeBytes, shareLink, showInAddress: showEditedInAddress,
                 showFindings, focusView, randomExits: () => byId('random-exits').value,
                 view: byId('stage'), opener: byId('maze-controls')});
});

// The test-facing hook: the walk as the program sees it (position, heading,
// motion, frames drawn and motion frames played, field of view, the
// projection's aspect, the GL tables' size), the maze's bytes (as a string of
// the same character codes), its map and link, and when the first frame was
// drawn.
window.mazePage = Object.freeze({
  state: () => (program ? program.state() : null),
  mazeText: () => (program ? latin1(program.mazeBytes()) : null),
  map: () => (program ? program.map() : null),
  link: () => opening.link(),
  get firstFrameMs() {
    return firstFrameMs;
  },
});
