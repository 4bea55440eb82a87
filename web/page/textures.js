// Where each texture comes from. The shipped ones are drawn by the program
// from its own art, so none of their bytes travel; a site that dresses its
// mazes in textures of its own puts their files beside the page and names
// them in textures.json: {"files": ["metal004.bmp", "SteelBoxFan.bmp"]}.
// A named file is fetched and read by the loader as the desktop reads it
// (one that cannot be fetched or read gets the loader's message).
//
// Drawing the art takes a phone a second or more, so the drawn files are
// handed to the service worker (offline.js), which keeps them with the build
// they belong to: later visits read them from its cache instead.
const kOwnTextures = 'textures.json';
const kDrawnPrefix = 'drawn-textures/';  // where the worker keeps the drawn files

const drawn = [];  // {name, bytes} of each texture drawn on this visit

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

// For each texture file name (slot order), a promise of its source: {bytes}
// with the named file's bytes (null when it cannot be fetched), {kept} with
// the drawing an earlier visit kept, or {name} to draw it now.
export function textureSources(names, fetchBytes) {
  const own = ownTextureFiles();
  return names.map(async (name) => {
    if ((await own).has(name))
      return {bytes: await fetchBytes(name)};
    const kept = await keptDrawing(name);
    return kept ? {kept} : {name};
  });
}

// Loads a slot from its source through the program (program.js). Returns
// null, or the loader's message.
export function loadTexture(program, slot, source) {
  if (source.name === undefined)
    return program.loadTexture(slot, source.kept || source.bytes);
  const bytes = program.textureArt(slot);
  drawn.push({name: source.name, bytes});
  return program.loadTexture(slot, bytes);
}

// The textures drawn on this visit, for the worker to keep (each handed once),
// and where it keeps them.
export function takeDrawnTextures() {
  return {prefix: kDrawnPrefix, files: drawn.splice(0)};
}
