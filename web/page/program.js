// The program's interface: the only module that knows the emscripten module
// (maze.js, maze.wasm), its entry points, its memory and the JSON it answers
// in. Everything else calls named functions with plain values and bytes as
// Uint8Array, and listens to what the program tells (on(name, fn)):
//   framerate(text)                the frame rate, as the desktop's title says it
//                                  after "Maze: " (" Current Frames Per Second: 60")
//   walker({column, row, heading, movement})   any change of these
//   motionstart(), motionend()     a step or turn began, ended
//   seen()                         the cells the walk has shown changed
//   waystart(keys), waynone(), wayend()   the way shown began (with its
//                                  length), found no exit, ended or stopped
//   exit(text)                     an exit was reached; the walk has stopped
//   paused(), resumed()            the walk was paused (a quit key, the page
//                                  left), went on
//   firstframe()                   the first frame was drawn

// The walker's state between motions.
const kIdle = 4;
// What the program's page.way reports besides a way's length.
const kNoWay = -1, kWayEnded = -2;

// Starts fetching and compiling the program at once, before the WebGL context
// exists. Returns {bytes, start(gl)}: the promise of maze.wasm's bytes, and a
// function that, given the context made on `canvas`, resolves to the started
// program (or rejects when maze.js or maze.wasm does not load).
export function loadProgram(canvas) {
  const listeners = new Map();
  const tell = (name, ...args) => {
    for (const fn of listeners.get(name) || [])
      fn(...args);
  };
  let moving = false;
  // What the program calls back (its `page`), turned into the events above.
  const page = {
    frameRate: (text) => tell('framerate', text),
    walker(column, row, heading, movement) {
      tell('walker', {column, row, heading, movement});
      if (moving !== (movement !== kIdle)) {
        moving = !moving;
        tell(moving ? 'motionstart' : 'motionend');
      }
    },
    seen: () => tell('seen'),
    way(keys) {
      if (keys === kNoWay)
        tell('waynone');
      else if (keys === kWayEnded)
        tell('wayend');
      else
        tell('waystart', keys);
    },
    exitFound: (text) => tell('exit', text),
    paused: () => tell('paused'),
    resumed: () => tell('resumed'),
    firstFrame: () => tell('firstframe'),
  };
  const moduleArguments = {canvas, page};

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
  // Reported through start(); no unhandled rejection when it is never called.
  compiled.catch(() => {});
  glue.catch(() => {});
  const start = (gl) => new Promise((resolve, reject) => {
    moduleArguments.preinitializedWebGLContext = gl;
    moduleArguments.instantiateWasm = (imports, receive) => {
      compiled.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
          .catch(reject);
      return {};
    };
    Promise.all([compiled, glue]).then(([, loaded]) => loaded.default(moduleArguments))
        .then((wasm) => resolve(programOver(wasm, listeners)), reject);
  });
  return {bytes, start};
}

// The named entry points over a started module.
function programOver(wasm, listeners) {
  const call = (name, returns = null, types = [], args = []) => wasm.ccall(name, returns, types, args);
  const utf8 = new TextDecoder();
  // An entry point's answer as text: its bytes, as many as the program says
  // (a NUL among them too), read as UTF-8; null for none.
  const text = (name, types = [], args = []) => {
    const pointer = call(name, 'number', types, args);
    return pointer ? utf8.decode(wasm.HEAPU8.subarray(pointer, pointer + wasm._web_answer_size())) : null;
  };
  const json = (name, types = [], args = []) => JSON.parse(text(name, types, args));
  const sizeSlot = wasm._malloc(4);  // where an entry point that answers in bytes puts their count

  // Calls fn(pointer, size) with the bytes copied into the module's memory.
  const withBytes = (bytes, fn) => {
    const pointer = wasm._malloc(Math.max(bytes.length, 1));
    wasm.HEAPU8.set(bytes, pointer);
    try {
      return fn(pointer, bytes.length);
    } finally {
      wasm._free(pointer);
    }
  };
  // An entry point's answer in bytes (its last argument is the count's slot), copied out.
  const bytesOf = (name, types = [], args = []) => {
    const pointer = call(name, 'number', [...types, 'number'], [...args, sizeSlot]);
    const heap = wasm.HEAPU8;
    const size = heap[sizeSlot] | (heap[sizeSlot + 1] << 8) | (heap[sizeSlot + 2] << 16) | (heap[sizeSlot + 3] << 24);
    return heap.slice(pointer, pointer + size);
  };
  // Text handed to the program as its UTF-8 bytes, through the heap as any bytes are.
  const utf8Bytes = new TextEncoder();
  const withText = (t, fn) => withBytes(utf8Bytes.encode(t), fn);
  // A link's fragment is refused on its length before it is copied: only its
  // first characters go in to say which kind of link it is.
  const kLinkHead = 16;
  const tooLong = (fragment) => withText(fragment.slice(0, kLinkHead), (p, n) =>
    text('web_link_too_long', ['number', 'number', 'number'], [p, n, fragment.length]));
  const readFragment = (name, fragment) => tooLong(fragment) ||
    withText(fragment, (p, n) => text(name, ['number', 'number'], [p, n]));
  // A grid's bytes (width, height, then the cells) as {width, height, cells}.
  const grid = (bytes) => ({width: bytes[0], height: bytes[1], cells: bytes.subarray(2)});
  const withGrid = (g, fn) => withBytes(g.cells, (p) => fn(p, g.width, g.height));
  const twoNumbers = ['number', 'number'];

  return Object.freeze({
    on(name, fn) {
      if (!listeners.has(name))
        listeners.set(name, []);
      listeners.get(name).push(fn);
    },

    // Start-up. Each returns null, or why the page cannot go on.
    init: () => text('web_init'),
    loadTexture: (slot, bytes) => {
      const load = (p, n) => text('web_load_texture', ['number', ...twoNumbers], [slot, p, n]);
      return bytes ? withBytes(bytes, load) : load(0, 0);
    },
    // The shipped texture of a slot drawn from the program's art, as the
    // bytes of the file `mazetool textures` writes for it.
    textureArt: (slot) => {
      const pointer = call('web_texture_art', 'number', ['number'], [slot]);
      return wasm.HEAPU8.slice(pointer, pointer + call('web_texture_art_size', 'number'));
    },
    rendererReady: () => text('web_renderer_ready'),
    // The program's line when maze1.dat cannot be fetched.
    missingMazeMessage: () => text('web_missing_maze_message'),

    // The walk.
    readMaze: (bytes) => withBytes(bytes, (p, n) => call('web_read_maze', null, twoNumbers, [p, n])),
    // Reads a "maze=", "daily=" or "seed=" fragment's maze; null, or why it is refused.
    readLink: (fragment) => readFragment('web_read_link', fragment),
    // Reads the random maze of the page's settings, given as a "seed=" fragment;
    // null, or why it is refused, in the settings' words.
    readRandomSettings: (fragment) => readFragment('web_read_random_settings', fragment),
    run: () => call('web_run'),
    restart: () => call('web_restart'),
    // A key as the desktop's keyboard callback takes it; q, Q and Escape pause or resume.
    key: (code) => call('web_key', null, ['number'], [code]),
    pause: () => call('web_pause'),
    resume: () => call('web_resume'),
    setShowExits: (on) => call('web_set_show_exits', null, ['number'], [on ? 1 : 0]),
    setInstantMotion: (on) => call('web_set_instant_motion', null, ['number'], [on ? 1 : 0]),
    showWay: () => call('web_show_way'),
    stopWay: () => call('web_stop_way'),
    // {keys, shortest, ms, wayShown} of a walk that found its exit.
    results: () => json('web_results'),
    resize: (width, height) => call('web_resize', null, twoNumbers, [width, height]),
    contextLost: () => call('web_context_lost'),
    contextRestored: (width, height) => text('web_context_restored', twoNumbers, [width, height]),
    // {running, paused, frames, motionFrames, movement, column, row, heading, fieldOfView, aspect, glTableSlots}
    state: () => json('web_state'),
    mazeBytes: () => bytesOf('web_maze_bytes'),

    // The game around it.
    textureColours: () => json('web_texture_colours'),
    cellKinds: () => json('web_cell_kinds'),
    map: () => json('web_map'),
    findings: () => json('web_findings'),
    // {fragment} of a maze file's bytes, or {error} why they get none.
    linkOf: (bytes) => withBytes(bytes, (p, n) => json('web_link_of_bytes', twoNumbers, [p, n])),
    // The check of a maze file's bytes, with the cell each finding points at.
    checkBytes: (bytes) => withBytes(bytes, (p, n) => json('web_check_bytes', twoNumbers, [p, n])),

    // The editor's grids: {width, height, cells}.
    gridOfWalk: () => grid(bytesOf('web_grid_of_walk')),
    newGrid: (width, height) => grid(bytesOf('web_grid_new', twoNumbers, [width, height])),
    resizeGrid: (g, width, height) => grid(withGrid(g, (p, w, h) =>
      bytesOf('web_grid_resize', ['number', 'number', 'number', 'number', 'number'], [p, w, h, width, height]))),
    // {grid} of a generated maze at width by height from a seed and an exit
    // count (text, as the user gave them), or {error} why none is made.
    generateGrid: (width, height, seed, exits) => {
      const answer = grid(bytesOf('web_grid_generate', ['number', 'number', 'string', 'string'],
                                  [width, height, seed, exits]));
      return answer.width ? {grid: answer} : {error: new TextDecoder().decode(answer.cells)};
    },
    gridFile: (g) => withGrid(g, (p, w, h) => bytesOf('web_grid_file', ['number', 'number', 'number'], [p, w, h])),
  });
}
