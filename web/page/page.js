// The page around the maze: the wiring between its parts. startup.js starts
// the program and loads the maze and textures; controls.js takes every way
// of walking; open_maze.js opens files, links and random mazes; overlay.js
// shows what the walk reports; way.js shows the way; map_panel.js the map;
// editor.js the editor. The program (program.js) tells what changes, and
// each part listens.
//
// One thing is global on purpose: window.mazePage, the hook the page's tests
// and benchmark read the walk through (see below). Nothing of the page
// depends on it.
import {installControls} from './controls.js';
import {installEditor} from './editor.js';
import {showFindings} from './findings.js';
import {installKindColours} from './kinds.js';
import {shareLink, showInAddress} from './links.js';
import {installMapPanel} from './map_panel.js';
import {installMazeOpening} from './open_maze.js';
import {installOffline} from './offline.js';
import {hideOverlay, showOverlay} from './overlay.js';
import {startUp} from './startup.js';
import {installFullscreen} from './view.js';
import {installWay} from './way.js';

const byId = (id) => document.getElementById(id);
const canvas = byId('maze');

let program = null;    // the program, once it has started
let playable = false;  // the maze and every texture are loaded
let firstFrameMs = null;
const playing = () => (playable ? program : null);

function notice(text) {
  byId('notice').textContent = text;
}

// After a maze has been read: its findings listed and the walk started from
// its start (the map and the way follow what the program tells).
function run() {
  showFindings(byId('findings'), program.findings());
  hideOverlay();
  program.run();
}

// Bytes as a string of the same character codes.
function latin1(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192)
    text += String.fromCharCode(...bytes.subarray(i, i + 8192));
  return text;
}

const opening = installMazeOpening({program: playing, run, notice});
const way = installWay({program: playing, button: byId('show-way'), notice});
const map = installMapPanel({panel: byId('map-panel'), canvas: byId('map'), button: byId('map-button'),
                             stage: byId('stage'), pad: byId('pad')});
installControls({view: canvas, pad: byId('pad'), press: (code) => playing() && program.key(code)});
installFullscreen(byId('fullscreen'), byId('stage'));
byId('again').addEventListener('click', () => {
  hideOverlay();
  program.restart();
});

// What the program tells the page as a whole.
function listen(p) {
  program = p;
  p.on('title', (text) => {
    document.title = text;
  });
  p.on('firstframe', () => {
    firstFrameMs = performance.now();
  });
  p.on('exit', (text) => showOverlay(text, {button: 'Play again', results: p.results()}));
  p.on('closed', () => showOverlay('The maze was closed.', {button: 'Start again'}));
  way.listen(p);
}

const starting = startUp({canvas, started: listen, readMaze: opening.readAddressMaze});
installOffline(notice, starting);
starting.then((p) => {
  if (!p)
    return;
  playable = true;
  const kinds = p.cellKinds(), colours = p.textureColours();
  installKindColours(kinds, colours);
  map.attach(p, kinds, colours);
  run();
  installEditor({program: p, kinds, openMazeBytes: opening.openMazeBytes, shareLink, showInAddress, showFindings,
                 focusView: () => canvas.focus(), view: byId('stage'), opener: byId('maze-controls')});
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
