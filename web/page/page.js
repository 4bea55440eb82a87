// The page around the maze: starts the program, fetches the maze and the
// textures from its own folder and hands them over, forwards every way of
// walking (controls.js), keeps the view's size (view.js), opens the mazes
// that links carry and keeps the address on the maze being walked
// (links.js), lists the maze's findings (findings.js), shows the map
// (map.js) and the way, and shows what the walk reports: an exit found with
// the walk's figures, the maze closed, a loading error, a lost view.
//
// One thing is global on purpose: window.mazePage, the hook the page's tests
// and benchmark read the walk through (see state() below). Nothing of the
// page depends on it.
import {installControls} from './controls.js';
import {installEditor} from './editor.js';
import {showFindings} from './findings.js';
import {isMazeFragment, isRandomFragment, randomFragment, randomSeed, randomSettings, shareLink,
        showInAddress} from './links.js';
import {describeMap, drawMap} from './map.js';
import {installOffline} from './offline.js';
import textureFiles from './texture_files.js';
import {loadTexture, textureSources} from './textures.js';
import {fitCanvas, installFullscreen} from './view.js';

const kMaxMazeBytes = 64 * 1024;  // far above the 32 lines of 32 bytes a maze file holds
const kProgramBytesWaitMs = 30;   // how long the WebGL context waits for maze.wasm's bytes at most
const kNoWebGL2 = 'This browser cannot draw the maze: WebGL 2 is not available.';
const kNoProgram = 'The maze cannot start: its program (maze.js, maze.wasm) did not load.';
const kIdleMovement = 4;  // the walker's state between motions
const byId = (id) => document.getElementById(id);
const canvas = byId('maze');

let wasm = null;       // the emscripten module, once it has started
let playable = false;  // the maze and every texture are loaded
let bufferWidth = canvas.width, bufferHeight = canvas.height;
let shippedMaze = null;  // maze1.dat's bytes, played when a link is refused
// The link of the maze being walked: {fragment} (without "#"), or {error}
// saying why it has none.
let walkLink = {fragment: ''};

// The message over the view; `buttonLabel` names the button that starts the
// maze again (none without it), and `results` adds the walk's figures and
// the buttons that go on from a found exit.
function showOverlay(text, buttonLabel, results = null) {
  byId('message-text').textContent = text;
  const again = byId('again');
  again.hidden = !buttonLabel;
  again.textContent = buttonLabel || '';
  byId('results').hidden = !results;
  byId('result-note').hidden = !(results && results.wayShown);
  byId('again-random').hidden = byId('again-link').hidden = !results;
  if (results) {
    byId('result-keys').textContent = String(results.keys);
    byId('result-time').textContent = formatTime(results.ms);
    byId('result-shortest').textContent = results.shortest < 0 ? 'none' : `${results.shortest} key presses`;
    byId('result-note').textContent = 'The way was shown on this walk.';
  }
  byId('message').hidden = false;
  if (buttonLabel)
    again.focus();
}

// "1:05.3" from milliseconds.
function formatTime(ms) {
  const tenths = Math.round(ms / 100);
  const minutes = Math.floor(tenths / 600), seconds = (tenths % 600) / 10;
  return `${minutes}:${seconds < 10 ? '0' : ''}${seconds.toFixed(1)}`;
}

function hideOverlay() {
  byId('message').hidden = true;
  canvas.focus();
}

function showError(text) {
  console.error(text);
  byId('error-text').textContent = text;
  byId('error').showModal();
}

function notice(text) {
  byId('notice').textContent = text;
}

// What the program calls back (through the module's `page`).
const callbacks = {
  firstFrameMs: null,
  exitFound(text) {
    wayStopped();
    showOverlay(text, 'Play again', JSON.parse(call('web_results', 'string')));
  },
  closed() {
    wayStopped();
    showOverlay('The maze was closed.', 'Start again');
  },
  firstFrame() {
    this.firstFrameMs = performance.now();
  },
};

// The file's bytes from the page's folder, or null when it cannot be fetched.
async function fetchBytes(name) {
  try {
    const response = await fetch(name, {cache: 'no-cache'});
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (e) {
    return null;
  }
}

const call = (name, returns = null, types = [], args = []) => wasm.ccall(name, returns, types, args);

// Calls fn(pointer, size) with the bytes copied into the module's memory.
function withBytes(bytes, fn) {
  const pointer = wasm._malloc(Math.max(bytes.length, 1));
  wasm.HEAPU8.set(bytes, pointer);
  try {
    return fn(pointer, bytes.length);
  } finally {
    wasm._free(pointer);
  }
}

function readMaze(bytes) {
  withBytes(bytes, (p, n) => call('web_read_maze', null, ['number', 'number'], [p, n]));
}

// The program's link to maze file bytes: {fragment}, or {error} why none.
function linkOf(bytes) {
  return JSON.parse(withBytes(bytes, (p, n) => call('web_link_of_bytes', 'string', ['number', 'number'], [p, n])));
}

// After a maze has been read: its findings listed, the map drawn afresh, and
// the walk started from its start.
function run() {
  showFindings(byId('findings'), JSON.parse(call('web_findings', 'string')));
  hideOverlay();
  wayStopped();
  call('web_run');
  refreshMap();
}

// Opens maze file bytes (a file, a dropped file, an edited maze) with the
// program's loader and walks them; the address carries the maze's link, or
// none when the file is too large for one, which the notice says.
function openMazeBytes(bytes, label) {
  readMaze(bytes);
  walkLink = linkOf(bytes);
  showInAddress(walkLink.fragment || '');
  notice(walkLink.error ? `Walking ${label}. ${walkLink.error}` : `Walking ${label}.`);
  run();
}

// Reads the maze a "#maze=" or "#seed=" fragment carries, and puts a random
// maze's settings in the controls. Returns null, or why the fragment is
// refused (nothing is read then).
function readFragment(fragment) {
  const refused = call('web_read_link', 'string', ['string'], [fragment]);
  if (refused)
    return refused;
  if (isRandomFragment(fragment)) {
    const settings = randomSettings(fragment);
    for (const name of ['width', 'height', 'exits'])
      byId(`random-${name}`).value = settings[name];
  }
  walkLink = {fragment};
  return null;
}

// Reads the maze the address asks for: a link's maze, or maze1.dat for none
// or for a link that is refused (the notice says why). False when there is
// no maze to read: maze1.dat could not be fetched.
function readAddressMaze() {
  const fragment = location.hash.slice(1);
  const refused = isMazeFragment(fragment) || isRandomFragment(fragment) ? readFragment(fragment) : '';
  if (refused === null) {
    notice('');
    return true;
  }
  notice(refused ? `${refused} Walking maze1.dat instead.` : '');
  if (!shippedMaze)
    return false;
  readMaze(shippedMaze);
  walkLink = linkOf(shippedMaze);
  showInAddress('');
  return true;
}

// A new random maze with the settings' sizes and a new seed; a setting the
// program refuses is said, and the walk goes on.
function openRandomMaze() {
  const fragment = randomFragment({seed: randomSeed(), width: byId('random-width').value.trim(),
                                   height: byId('random-height').value.trim(),
                                   exits: byId('random-exits').value.trim()});
  const refused = readFragment(fragment);
  notice(refused || '');
  if (refused)
    return;
  showInAddress(fragment);
  run();
}

// Copies the link of the maze being walked, or says why it has none; where
// the browser refuses the clipboard, the link is shown to copy by hand.
async function copyLink() {
  notice(await shareLink(walkLink, byId('link-text'), 'this maze'));
}

// "Show the way": the walker walks itself to the nearest exit, one motion
// at a time; any key or control stops it (web_key stops it too).
let showingWay = false;

function wayStopped() {
  showingWay = false;
  byId('show-way').setAttribute('aria-pressed', 'false');
}

function stopWay() {
  if (!showingWay)
    return;
  call('web_stop_way');
  wayStopped();
  notice('The way is no longer shown.');
}

// Resolves once the walker stands still (or the walk has stopped).
function walkerIdle() {
  return new Promise((resolve) => {
    const poll = () => {
      const s = JSON.parse(call('web_state', 'string'));
      if (s.movement === kIdleMovement || !s.running)
        resolve(s.running);
      else
        requestAnimationFrame(poll);
    };
    poll();
  });
}

async function showWay() {
  if (!playable)
    return;
  if (showingWay) {
    stopWay();
    return;
  }
  showingWay = true;
  byId('show-way').setAttribute('aria-pressed', 'true');
  const keys = (await walkerIdle()) && showingWay ? call('web_show_way', 'number') : -1;
  if (!showingWay)
    return;
  if (keys < 0) {
    wayStopped();
    notice('No exit can be reached from here.');
    return;
  }
  notice(`Showing the way: ${keys} key press${keys === 1 ? '' : 'es'} to the exit. Any key stops it.`);
  const watch = () => {
    if (!showingWay)
      return;
    if (call('web_showing_way', 'number'))
      requestAnimationFrame(watch);
    else
      wayStopped();
  };
  requestAnimationFrame(watch);
}

// The map of what the walk has shown, redrawn while it is shown.
let mapShown = false, mapText = '', mapColours = [];

// How tall the map may be: beside the view on a wide screen, up to 300 CSS
// pixels; under it on a narrow one, what leaves the walking pad in sight.
function mapRoomHeight() {
  if (!matchMedia('(max-width: 959px)').matches)
    return 300;
  const stageBottom = byId('stage').getBoundingClientRect().bottom + scrollY;
  return Math.max(120, Math.min(300, innerHeight - stageBottom - byId('pad').offsetHeight - 24));
}

function refreshMap() {
  if (!mapShown || !wasm || !playable)
    return;
  const text = call('web_map', 'string');
  const panel = byId('map-panel');
  if (text === mapText && panel.dataset.width === String(panel.clientWidth))
    return;
  mapText = text;
  panel.dataset.width = String(panel.clientWidth);
  const map = JSON.parse(text);
  const mapCanvas = byId('map');
  drawMap(mapCanvas, map, mapColours, {width: panel.clientWidth, height: mapRoomHeight()});
  mapCanvas.setAttribute('aria-label', describeMap(map));
}

function toggleMap() {
  mapShown = !mapShown;
  byId('map-panel').hidden = !mapShown;
  byId('map-button').setAttribute('aria-pressed', String(mapShown));
  mapText = '';
  const tick = () => {
    if (!mapShown)
      return;
    refreshMap();
    setTimeout(() => requestAnimationFrame(tick), 100);
  };
  tick();
}

function press(code) {
  if (playable)
    call('web_key', null, ['number'], [code]);
}

function resize(width, height) {
  bufferWidth = width;
  bufferHeight = height;
  if (wasm)
    call('web_resize', null, ['number', 'number'], [width, height]);
}

// A maze file chosen by the user: read by the same loader, or refused with a
// message while the current maze keeps running.
async function openMazeFile(file, isFolder) {
  if (!playable)
    return;
  if (isFolder) {
    notice(`"${file.name}" is a folder, not a maze file.`);
    return;
  }
  if (file.size > kMaxMazeBytes) {
    notice(`"${file.name}" is too large for a maze file (${file.size} bytes; at most 64 KiB).`);
    return;
  }
  // A FIFO or a device chosen as a file has no size (and may never end):
  // refused without reading, as the desktop refuses what is not a regular file.
  const refuse = () => notice(call('web_missing_maze_message', 'string', ['string'], [file.name]));
  if (file.size === 0)
    return refuse();
  let bytes;
  try {
    bytes = new Uint8Array(await file.arrayBuffer());
  } catch (e) {
    notice(`"${file.name}" cannot be read.`);
    return;
  }
  if (bytes.length === 0)
    return refuse();
  openMazeBytes(bytes, `"${file.name}"`);
}

function onDrop(event) {
  event.preventDefault();
  byId('drop-zone').classList.remove('dropping');
  const item = event.dataTransfer.items && event.dataTransfer.items[0];
  const entry = item && item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
  const file = event.dataTransfer.files[0];
  if (file)
    openMazeFile(file, entry ? entry.isDirectory : false);
}

function installMazeControls() {
  byId('again').addEventListener('click', () => {
    hideOverlay();
    call('web_restart');
  });
  byId('maze-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (file)
      openMazeFile(file, false);
    canvas.focus();
  });
  byId('random-settings').addEventListener('submit', (event) => {
    event.preventDefault();
    openRandomMaze();
  });
  byId('again-random').addEventListener('click', () => {
    openRandomMaze();
    canvas.focus();
  });
  byId('copy-link').addEventListener('click', copyLink);
  byId('again-link').addEventListener('click', copyLink);
  byId('show-way').addEventListener('click', showWay);
  byId('map-button').addEventListener('click', toggleMap);
  window.addEventListener('hashchange', () => {
    if (playable && readAddressMaze())
      run();
  });
  // Any key or control stops a way being shown; `m` shows or hides the map.
  document.addEventListener('keydown', (event) => {
    if (event.target.closest && event.target.closest('[data-own-keys]'))
      return;  // the maze editor's keys
    stopWay();
    if ((event.key === 'm' || event.key === 'M') && !event.ctrlKey && !event.metaKey && !event.altKey &&
        !(event.target.closest && event.target.closest('dialog, input, select, textarea'))) {
      event.preventDefault();  // the map's key, not the walk's
      toggleMap();
    }
  }, true);
  document.addEventListener('pointerdown', (event) => {
    if (!(event.target.closest && event.target.closest('#show-way')))
      stopWay();
  }, true);
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    byId('drop-zone').classList.add('dropping');
  });
  document.addEventListener('dragleave', () => byId('drop-zone').classList.remove('dropping'));
  document.addEventListener('drop', onDrop);
}

// A lost WebGL context stops the drawing with a message; once the browser
// gives it back, the program makes its GL objects again and the walk goes on.
function installContextLoss() {
  canvas.addEventListener('webglcontextlost', (event) => {
    event.preventDefault();  // asks the browser to restore it
    byId('lost').hidden = false;
    if (wasm)
      call('web_context_lost');
  });
  canvas.addEventListener('webglcontextrestored', () => {
    const failure = wasm && call('web_context_restored', 'string', ['number', 'number'], [bufferWidth, bufferHeight]);
    byId('lost').hidden = true;
    if (failure)
      showOverlay(failure, null);
  });
}

// The program's module: maze.wasm fetched and compiled from here on, not
// only once maze.js has loaded and asks for it. Returns the promise of its
// bytes and that of the started module, which rejects when either file fails.
function startProgram(moduleArguments) {
  // Compiled from its bytes, not as it streams in: a streaming compile is fed
  // by this thread, which blocks while the WebGL context is made, whereas a
  // compile from bytes runs beside it.
  const bytes = fetch('maze.wasm').then((response) => {
    if (!response.ok)
      throw new Error(`maze.wasm: ${response.status}`);
    return response.arrayBuffer();
  });
  const compiled = bytes.then((b) => WebAssembly.compile(b));
  const glue = import('./maze.js');
  const started = new Promise((resolve, reject) => {
    moduleArguments.instantiateWasm = (imports, receive) => {
      compiled.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
          .catch(reject);
      return {};
    };
    Promise.all([compiled, glue]).then(([, loaded]) => loaded.default(moduleArguments)).then(resolve, reject);
  });
  return {bytes, started};
}

// Everything the first frame needs starts at once: the program's download
// and compile, the maze and texture fetches and the WebGL context, which
// blocks this thread while the others go on.
async function startMazePage() {
  canvas.focus();
  const mazeFetch = fetchBytes('maze1.dat');
  const textureFetches = textureSources(textureFiles, fetchBytes);
  const moduleArguments = {canvas, page: callbacks};
  const program = startProgram(moduleArguments);
  installContextLoss();
  fitCanvas(canvas, resize);
  installFullscreen(byId('fullscreen'), byId('stage'));
  // The program's compile starts first when its bytes are (nearly) in: the
  // preload has usually fetched them by now.
  await Promise.race([program.bytes.catch(() => null), new Promise((resolve) => setTimeout(resolve, kProgramBytesWaitMs))]);
  const gl = canvas.getContext('webgl2', {alpha: false, depth: true, stencil: false, antialias: false});
  if (!gl) {
    showOverlay(kNoWebGL2, null);
    return;
  }
  moduleArguments.preinitializedWebGLContext = gl;
  try {
    wasm = await program.started;
  } catch (e) {
    console.error(e);
    showOverlay(kNoProgram, null);
    return;
  }
  const failure = call('web_init', 'string');
  if (failure) {
    showOverlay(failure, null);
    return;
  }
  resize(bufferWidth, bufferHeight);

  // The maze first, then the textures, as the desktop program loads them:
  // a link's maze, or maze1.dat.
  shippedMaze = await mazeFetch;
  if (!readAddressMaze()) {
    const line = call('web_missing_maze_message', 'string', ['string'], ['']);
    console.log(line);
    showOverlay(line, null);
    return;
  }
  for (let slot = 0; slot < textureFetches.length; ++slot) {
    const message = loadTexture({call, withBytes, heap: () => wasm.HEAPU8}, slot, await textureFetches[slot]);
    if (message) {
      showError(message);
      return;
    }
  }
  const notReady = call('web_renderer_ready', 'string');
  if (notReady) {
    showOverlay(notReady, null);
    return;
  }
  playable = true;
  mapColours = JSON.parse(call('web_texture_colours', 'string'));
  resize(bufferWidth, bufferHeight);
  run();
  installEditor({call, withBytes, openMazeBytes, shareLink, showInAddress, showFindings,
                 focusView: () => canvas.focus(),
                 colours: mapColours, view: byId('stage'), opener: byId('maze-controls')});
}

// The test-facing hook: the walk as the program sees it (position, heading,
// motion, frames drawn, field of view, the projection's aspect, the GL
// tables' size), the maze's bytes, its map and link, and when the first
// frame was drawn.
window.mazePage = Object.freeze({
  state: () => (wasm ? JSON.parse(call('web_state', 'string')) : null),
  mazeText: () => (wasm ? call('web_maze_text', 'string') : null),
  map: () => (wasm ? JSON.parse(call('web_map', 'string')) : null),
  link: () => ({...walkLink}),
  get firstFrameMs() {
    return callbacks.firstFrameMs;
  },
});

installControls({view: canvas, pad: byId('pad'), press});
installMazeControls();
installOffline(notice, startMazePage());
