// The page around the maze: starts the program, fetches the maze and the
// textures from its own folder and hands them over, forwards every way of
// walking (controls.js), keeps the view's size (view.js), and shows what the
// walk reports: an exit found, the maze closed, a loading error, a lost view.
//
// One thing is global on purpose: window.mazePage, the hook the page's tests
// and benchmark read the walk through (see state() below). Nothing of the
// page depends on it.
import {installControls} from './controls.js';
import textureFiles from './texture_files.js';
import {fitCanvas, installFullscreen} from './view.js';

const kMaxMazeBytes = 64 * 1024;  // far above the 32 lines of 32 bytes a maze file holds
const kProgramBytesWaitMs = 30;   // how long the WebGL context waits for maze.wasm's bytes at most
const kNoWebGL2 = 'This browser cannot draw the maze: WebGL 2 is not available.';
const kNoProgram = 'The maze cannot start: its program (maze.js, maze.wasm) did not load.';
const byId = (id) => document.getElementById(id);
const canvas = byId('maze');

let wasm = null;       // the emscripten module, once it has started
let playable = false;  // the maze and every texture are loaded
let bufferWidth = canvas.width, bufferHeight = canvas.height;

function showOverlay(text, buttonLabel) {
  byId('message-text').textContent = text;
  const again = byId('again');
  again.hidden = !buttonLabel;
  again.textContent = buttonLabel || '';
  byId('message').hidden = false;
  if (buttonLabel)
    again.focus();
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
  exitFound: (text) => showOverlay(text, 'Play again'),
  closed: () => showOverlay('The maze was closed.', 'Start again'),
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

// The fragment's random maze, read; false (with the reason shown) when the fragment is refused.
function readRandomMaze(fragment) {
  const refused = call('web_read_random', 'string', ['string'], [fragment]);
  if (refused)
    notice(refused);
  return !refused;
}

const isRandomFragment = (hash) => /(^#|&)seed=/.test(hash);

function run() {
  hideOverlay();
  call('web_run');
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
  notice(`Walking "${file.name}".`);
  history.replaceState(null, '', location.pathname + location.search);  // no longer the link's random maze
  readMaze(bytes);
  run();
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

function randomSeed() {
  const words = crypto.getRandomValues(new Uint32Array(2));
  return ((BigInt(words[0]) << 32n) | BigInt(words[1])).toString();
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
  byId('random').addEventListener('click', () => {
    location.hash = `seed=${randomSeed()}&width=32&height=32`;
  });
  window.addEventListener('hashchange', () => {
    if (playable && isRandomFragment(location.hash) && readRandomMaze(location.hash)) {
      notice('');
      run();
    }
  });
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
  const mazeFetch = isRandomFragment(location.hash) ? null : fetchBytes('maze1.dat');
  const textureFetches = textureFiles.map(fetchBytes);
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

  // The maze first, then the textures, as the desktop program loads them.
  const fromLink = mazeFetch === null && readRandomMaze(location.hash);
  if (!fromLink) {
    const bytes = await (mazeFetch || fetchBytes('maze1.dat'));
    if (!bytes) {
      const line = call('web_missing_maze_message', 'string', ['string'], ['']);
      console.log(line);
      showOverlay(line, null);
      return;
    }
    readMaze(bytes);
  }
  for (let slot = 0; slot < textureFetches.length; ++slot) {
    const bytes = await textureFetches[slot];
    const load = (p, n) => call('web_load_texture', 'string', ['number', 'number', 'number'], [slot, p, n]);
    const message = bytes ? withBytes(bytes, load) : load(0, 0);
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
  resize(bufferWidth, bufferHeight);
  run();
}

// The test-facing hook: the walk as the program sees it (position, heading,
// motion, frames drawn, field of view, the projection's aspect, the GL
// tables' size), the maze's bytes, and when the first frame was drawn.
window.mazePage = Object.freeze({
  state: () => (wasm ? JSON.parse(call('web_state', 'string')) : null),
  mazeText: () => (wasm ? call('web_maze_text', 'string') : null),
  get firstFrameMs() {
    return callbacks.firstFrameMs;
  },
});

installControls({view: canvas, pad: byId('pad'), press});
installMazeControls();
startMazePage();
