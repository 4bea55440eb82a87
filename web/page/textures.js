// Where each texture comes from. The shipped ones are drawn by the program
// from its own art, so none of their bytes travel; a site that dresses its
// mazes in textures of its own puts their files beside the page and names
// them in textures.json: {"files": ["metal004.bmp", "SteelBoxFan.bmp"]}.
// A named file is fetched and read by the loader as the desktop reads it
// (one that cannot be fetched or read gets the loader's message).
//
// Drawing the art takes a phone's processor a good part of a second, so the
// first view is dressed in small versions of the shipped textures that the
// build writes (small_textures.bin), and the full ones are drawn after it,
// one at a time, each replacing its small one. The drawn files are then
// handed to the service worker (offline.js), which keeps them with the build
// they belong to: later visits read them from its cache instead.
const kOwnTextures = 'textures.json';
const kSmallTextures = 'small_textures.bin';  // seven bitmap files back to back, in slot order
const kDrawnPrefix = 'drawn-textures/';  // where the worker keeps the drawn files

const drawn = [];  // {name, bytes} of each texture drawn on this visit
const later = [];  // {slot, name} of the textures shown small, to draw
let settleDrawn;
const allDrawn = new Promise((resolve) => {
  settleDrawn = resolve;
});

// The files textures.json names, as a Set; empty when there is none. A list
// that cannot be read is said on the console and the shipped art is drawn.
async function ownTextureFiles() {
  let response;
  try {
    response = await fetch(kOwnTextures, {cache: 'no-cache'});
  } catch (e) {
    return new Set();
  }
  if (!response.ok)
    return new Set();
  try {
    const list = await response.json();
    if (!list || !Array.isArray(list.files) || !list.files.every((f) => typeof f === 'string'))
      throw new Error('expected {"files": ["NAME.bmp", ...]}');
    return new Set(list.files);
  } catch (e) {
    console.error(`${kOwnTextures} cannot be read (${e.message}); the shipped textures are drawn.`);
    return new Set();
  }
}

// The texture drawn on an earlier visit, as the worker keeps it, or null.
async function keptDrawing(name) {
  try {
    const response = 'caches' in window ? await caches.match(kDrawnPrefix + name) : null;
    return response ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (e) {
    return null;  // storage refused: drawn again
  }
}

// The bitmap files small_textures.bin holds, or null when it cannot be
// fetched or is not a list of bitmap files.
function splitSmall(bytes) {
  const files = [];
  for (let at = 0; bytes && at < bytes.length;) {
    const size = bytes.length - at >= 6 ? new DataView(bytes.buffer, bytes.byteOffset + at + 2, 4).getUint32(0, true) : 0;
    if (bytes[at] !== 0x42 || bytes[at + 1] !== 0x4d || size < 14 || size > bytes.length - at)
      return null;
    files.push(bytes.subarray(at, at + size));
    at += size;
  }
  return files.length ? files : null;
}

// For each texture file name (slot order), a promise of its source: {bytes}
// with the named file's bytes (null when it cannot be fetched), {kept} with
// the drawing an earlier visit kept, or {name, small} to draw it, with its
// small version for the first view (null when there is none).
export function textureSources(names, fetchBytes) {
  const own = ownTextureFiles();
  const sources = names.map(async (name) => {
    if ((await own).has(name))
      return {bytes: await fetchBytes(name)};
    const kept = await keptDrawing(name);
    return kept ? {kept} : {name};
  });
  // Fetched only when a texture is to be drawn: not on a visit that reads them all.
  const small = Promise.all(sources).then((all) => (all.some((s) => s.name !== undefined)
    ? fetchBytes(kSmallTextures).then(splitSmall) : null));
  return sources.map(async (source, slot) => {
    const s = await source;
    return s.name === undefined ? s : {name: s.name, small: ((await small) || [])[slot] || null};
  });
}

// Loads a slot from its source through the program (program.js): a texture
// to draw is shown small first when it can be, and drawn by drawLater().
// Returns null, or the loader's message.
export function loadTexture(program, slot, source) {
  if (source.name === undefined)
    return program.loadTexture(slot, source.kept || source.bytes);
  if (source.small && !program.loadTexture(slot, source.small)) {
    later.push({slot, name: source.name});
    return null;
  }
  return drawTexture(program, slot, source.name);
}

function drawTexture(program, slot, name) {
  const bytes = program.textureArt(slot);
  drawn.push({name, bytes});
  return program.loadTexture(slot, bytes);
}

// Draws the textures shown small, one a task so that the page answers in
// between, each replacing its small one. Resolves to null once all are in,
// or to the first loader's message.
export async function drawLater(program) {
  let message = null;
  for (const {slot, name} of later.splice(0)) {
    await new Promise((resolve) => setTimeout(resolve, 0));
    message = drawTexture(program, slot, name);
    if (message)
      break;
  }
  settleDrawn();
  return message;
}

// Resolves once every texture to draw is drawn, with the drawn files, for
// the worker to keep (each handed once), and where it keeps them.
export async function takeDrawnTextures() {
  await allDrawn;
  return {prefix: kDrawnPrefix, files: drawn.splice(0)};
}
