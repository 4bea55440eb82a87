// The page's start: the program, the maze fetched from the page's own folder
// and the textures (drawn by the program, or read from the folder, see
// textures.js) handed over, the view's size and its WebGL context
// (lost and given back), and every failure on the way said over the view.
import {loadProgram} from './program.js';
import {showError, showOverlay} from './overlay.js';
import textureFiles from './texture_files.js';
import {drawLater, loadTexture, textureSources} from './textures.js';
import {fitCanvas} from './view.js';

const kProgramBytesWaitMs = 30;  // how long the WebGL context waits for maze.wasm's bytes at most
const kNoWebGL2 = 'This browser cannot draw the maze: WebGL 2 is not available.';
const kNoProgram = 'The maze cannot start: its program (maze.js, maze.wasm) did not load.';

// The file's bytes from the page's folder, or null when it cannot be fetched.
async function fetchBytes(name) {
  try {
    const response = await fetch(name, {cache: 'no-cache'});
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (e) {
    return null;
  }
}

// Starts the page on `canvas`. Everything the first frame needs starts at
// once: the program's download and compile, the maze and texture fetches
// and the WebGL context, which blocks this thread while the others go on.
//   started(program): the program has started (listen to it here, before
//     it tells anything);
//   readMaze(program, shipped): reads the maze the page opens with, given
//     maze1.dat's bytes (null when it could not be fetched); resolves to
//     false when there is none.
// Resolves to the program once the maze and every texture are in (the
// shipped ones perhaps small: their full drawings replace them after the
// first frame), or to null once a failure has been shown.
export async function startUp({canvas, started, readMaze}) {
  canvas.focus();
  const mazeFetch = fetchBytes('maze1.dat');
  const textureFetches = textureSources(textureFiles, fetchBytes);
  const loading = loadProgram(canvas);
  let program = null;
  let buffer = {width: canvas.width, height: canvas.height};
  installContextLoss(canvas, () => program, () => buffer);
  fitCanvas(canvas, (width, height) => {
    buffer = {width, height};
    if (program)
      program.resize(width, height);
  });
  // The program's compile starts first when its bytes are (nearly) in: the
  // preload has usually fetched them by now.
  await Promise.race([loading.bytes.catch(() => null), new Promise((resolve) => setTimeout(resolve, kProgramBytesWaitMs))]);
  const gl = canvas.getContext('webgl2', {alpha: false, depth: true, stencil: false, antialias: false});
  if (!gl) {
    showOverlay(kNoWebGL2);
    return null;
  }
  try {
    program = await loading.start(gl);
  } catch (e) {
    console.error(e);
    showOverlay(kNoProgram);
    return null;
  }
  started(program);
  const failure = program.init();
  if (failure) {
    showOverlay(failure);
    return null;
  }
  program.resize(buffer.width, buffer.height);

  // The maze first, then the textures, as the desktop program loads them.
  if (!(await readMaze(program, await mazeFetch))) {
    const line = program.missingMazeMessage();
    console.log(line);
    showOverlay(line);
    return null;
  }
  for (let slot = 0; slot < textureFetches.length; ++slot) {
    const message = loadTexture(program, slot, await textureFetches[slot]);
    if (message) {
      showError(message);
      return null;
    }
  }
  const notReady = program.rendererReady();
  if (notReady) {
    showOverlay(notReady);
    return null;
  }
  program.resize(buffer.width, buffer.height);
  // A frame after the first, so that the first is shown before the drawing holds this thread.
  program.on('firstframe', () => requestAnimationFrame(() => drawLater(program).then((message) => {
    if (message)
      showError(message);
  })));
  return program;
}

// A lost WebGL context stops the drawing with a message; once the browser
// gives it back, the program makes its GL objects again and the walk goes on.
function installContextLoss(canvas, program, buffer) {
  const lost = document.getElementById('lost');
  canvas.addEventListener('webglcontextlost', (event) => {
    event.preventDefault();  // asks the browser to restore it
    lost.hidden = false;
    if (program())
      program().contextLost();
  });
  canvas.addEventListener('webglcontextrestored', () => {
    const failure = program() && program().contextRestored(buffer().width, buffer().height);
    lost.hidden = true;
    if (failure)
      showOverlay(failure);
  });
}
