// Where each texture comes from. The shipped ones are drawn by the program
// from its own art, so none of their bytes travel; a site that dresses its
// mazes in textures of its own puts their files beside the page and names
// them in textures.json: {"files": ["metal004.bmp", "SteelBoxFan.bmp"]}.
// A named file is fetched and read by the loader as the desktop reads it
// (one that cannot be fetched or read gets the loader's message).
const kOwnTextures = 'textures.json';

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

// For each texture file name (slot order), a promise of its source: {art:
// true} to draw the shipped texture, or {bytes} with the named file's bytes
// (null when it cannot be fetched). `fetchBytes(name)` fetches a file.
export function textureSources(names, fetchBytes) {
  const own = ownTextureFiles();
  return names.map(async (name) => ((await own).has(name) ? {bytes: await fetchBytes(name)} : {art: true}));
}
