// The page around the maze: fetches the maze and the textures from its own
// folder, hands them to the WebAssembly front end, forwards keys, and shows
// what the walk reports (an exit found, the maze closed, a loading error).
import textureFiles from './texture_files.js';

const kMaxMazeBytes = 64 * 1024;  // far above the 32 lines of 32 bytes a maze file holds
const byId = (id) => document.getElementById(id);

let wasm = null;       // the emscripten module
let playable = false;  // the maze and every texture are loaded

window.mazePage = {
  firstFrameMs: null,  // page load to the first drawn frame, for the benchmark

  exitFound(text) {
    showOverlay(text, 'Play again');
  },
  closed() {
    showOverlay('The maze was closed.', 'Start again');
  },
  firstFrame() {
    this.firstFrameMs = performance.now();
  },
  // The walk as the program sees it, for tests: position, heading, motion, frames.
  state() {
    return wasm ? JSON.parse(wasm.ccall('web_state', 'string', [], [])) : null;
  },
  mazeText() {
    return wasm ? wasm.ccall('web_maze_text', 'string', [], []) : null;
  },
};

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
  byId('maze').focus();
}

function showError(text) {
  console.error(text);
  byId('error-text').textContent = text;
  byId('error').showModal();
}

function notice(text) {
  byId('notice').textContent = text;
}

// The file's bytes from the page's folder, or null when it cannot be fetched.
async function fetchBytes(name) {
  try {
    const response = await fetch(name, {cache: 'no-cache'});
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (e) {
    return null;
  }
}

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
  withBytes(bytes, (p, n) => wasm.ccall('web_read_maze', null, ['number', 'number'], [p, n]));
}

// The fragment's random maze, read; false (with the reason shown) when the fragment is refused.
function readRandomMaze(fragment) {
  const refused = wasm.ccall('web_read_random', 'string', ['string'], [fragment]);
  if (refused)
    notice(refused);
  return !refused;
}

function isRandomFragment(hash) {
  return /(^#|&)seed=/.test(hash);
}

function run() {
  hideOverlay();
  wasm.ccall('web_run', null, [], []);
}

function onKey(event) {
  if (event.ctrlKey || event.metaKey || event.altKey)
    return;
  // What the desktop's keyboard callback gets: the typed character, 27 for Escape.
  const code = event.key === 'Escape' ? 27 : event.key.length === 1 ? event.key.charCodeAt(0) : -1;
  if (code < 0 || code > 255)
    return;
  event.preventDefault();
  wasm.ccall('web_key', null, ['number'], [code]);
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
  let bytes;
  try {
    bytes = new Uint8Array(await file.arrayBuffer());
  } catch (e) {
    notice(`"${file.name}" cannot be read.`);
    return;
  }
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

function installControls() {
  const canvas = byId('maze');
  canvas.addEventListener('keydown', onKey);
  byId('again').addEventListener('click', () => {
    hideOverlay();
    wasm.ccall('web_restart', null, [], []);
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

// The program's module: maze.wasm fetched and compiled from here on, not
// only once maze.js has loaded and asks for it. Rejects when either fails.
function startProgram(moduleArguments) {
  // Compiled as it streams in, off this thread; a host that does not serve
  // it as application/wasm gets it compiled from its bytes instead.
  const compiled = WebAssembly.compileStreaming(fetch('maze.wasm')).catch(() => fetch('maze.wasm')
    .then((response) => {
      if (!response.ok)
        throw new Error(`maze.wasm: ${response.status}`);
      return response.arrayBuffer();
    }).then((bytes) => WebAssembly.compile(bytes)));
  const glue = import('./maze.js');
  return new Promise((resolve, reject) => {
    moduleArguments.instantiateWasm = (imports, receive) => {
      compiled.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
          .catch(reject);
      return {};
    };
    Promise.all([compiled, glue]).then(([, loaded]) => loaded.default(moduleArguments)).then(resolve, reject);
  });
}

// Everything the first frame needs starts at once: the program's download
// and compile, the maze and texture fetches and the WebGL context, which
// blocks this thread while the others go on.
async function startMazePage() {
  const canvas = byId('maze');
  canvas.focus();
  const mazeFetch = isRandomFragment(location.hash) ? null : fetchBytes('maze1.dat');
  const textureFetches = textureFiles.map(fetchBytes);
  const moduleArguments = {canvas};
  const moduleStart = startProgram(moduleArguments);
  moduleArguments.preinitializedWebGLContext =
      canvas.getContext('webgl2', {alpha: false, depth: true, stencil: false, antialias: false});
  try {
    wasm = await moduleStart;
  } catch (e) {
    console.error(e);
    showOverlay('The maze cannot start: its program (maze.js, maze.wasm) did not load.', null);
    return;
  }
  const failure = wasm.ccall('web_init', 'string', [], []);
  if (failure) {
    showOverlay(failure, null);
    return;
  }

  // The maze first, then the textures, as the desktop program loads them.
  const fromLink = mazeFetch === null && readRandomMaze(location.hash);
  if (!fromLink) {
    const bytes = await (mazeFetch || fetchBytes('maze1.dat'));
    if (!bytes) {
      const line = wasm.ccall('web_missing_maze_message', 'string', [], []);
      console.log(line);
      showOverlay(line, null);
      return;
    }
    readMaze(bytes);
  }
  for (let slot = 0; slot < textureFetches.length; ++slot) {
    const bytes = await textureFetches[slot];
    const load = (p, n) => wasm.ccall('web_load_texture', 'string', ['number', 'number', 'number'], [slot, p, n]);
    const message = bytes ? withBytes(bytes, load) : load(0, 0);
    if (message) {
      showError(message);
      return;
    }
  }
  const notReady = wasm.ccall('web_renderer_ready', 'string', [], []);
  if (notReady) {
    showOverlay(notReady, null);
    return;
  }
  playable = true;
  installControls();
  run();
}

startMazePage();
