// Opening mazes: a maze file chosen or dropped, the maze a link in the
// address carries (a challenge's figures after it taken off first), a level,
// a new random maze; the address kept on the maze being walked, and its link
// copied.
import {splitChallenge} from './challenge.js';
import {levelFile, levelFragment, levelOfFragment} from './levels.js';
import {isDailyFragment, isLevelFragment, isMazeFragment, isRandomFragment, randomFragment, randomSeed,
        randomSettings, shareLink, showInAddress, utcToday} from './links.js';
import {setMazeName} from './title.js';

const kMaxMazeBytes = 64 * 1024;  // far above the 32 lines of 32 bytes a maze file holds
const byId = (id) => document.getElementById(id);

// What a message quotes of a fragment: all of a short one, the start of a long one.
function excerpt(text) {
  const kMost = 40;
  const characters = Array.from(text.slice(0, 2 * kMost + 2));
  return characters.length <= kMost ? text : `${characters.slice(0, kMost).join('')}...`;
}

// Installs the maze's opening controls (the file input, drops, the random
// maze's settings, "Copy link", the address). Services:
//   program(): the program once the page plays (null before);
//   run({focus}): starts the walk on the maze just read;
//   notice(text, topic): says something under the view, about `topic`;
//   opened({level, daily, challenge}): a maze was read: the level's number,
//     the daily maze's date, the challenge's {keys, ms} (each null for none).
// Returns {readAddressMaze(program, shipped), followAddress(program),
// openMazeBytes(bytes, label, {name, note, focus, quiet}), openLink(fragment), link()}.
export function installMazeOpening({program, run, notice, opened}) {
  let shippedMaze = null;  // maze1.dat's bytes, played when a link is refused
  // The link of the maze being walked: {fragment} (without "#"), or {error}
  // saying why it has none.
  let walkLink = {fragment: ''};
  let openings = 0;  // address readings begun: a level's fetch may be overtaken by a later one
  const kNothing = Object.freeze({level: null, daily: null, challenge: null});
  let addressRead = null;  // location.hash once the maze it asks for was read

  // Opens maze file bytes (a file, a dropped file, an edited maze) with the
  // program's loader and walks them; the address carries the maze's link, or
  // none when the file is too large for one, which the notice says, then
  // `note`. `name` goes in the page's title (a file's name; none for an
  // edited maze). The view takes the keyboard unless `focus` is false; a
  // `quiet` opening (the editor's view of its grid) says nothing.
  function openMazeBytes(bytes, label, {name = null, note = '', focus = true, quiet = false} = {}) {
    ++openings;
    program().readMaze(bytes);
    setMazeName(name);
    walkLink = program().linkOf(bytes);
    showInAddress(walkLink.fragment || '');
    if (!quiet)
      notice([`Walking ${label}.`, walkLink.error, note].filter(Boolean).join(' '));
    opened(kNothing);
    run({focus});
  }

  // Reads the maze a "#maze=", "#seed=" or "#daily=" fragment carries, and
  // puts a random maze's settings in the controls. Returns null, or why the
  // fragment is refused (nothing is read then); `settings` words the refusal
  // of a value as the settings' fields name it.
  function readFragment(p, fragment, settings = false) {
    const refused = settings ? p.readRandomSettings(fragment) : p.readLink(fragment);
    if (refused)
      return refused;
    if (isRandomFragment(fragment)) {
      const settings = randomSettings(fragment);
      for (const name of ['width', 'height', 'exits'])
        byId(`random-${name}`).value = settings[name];
    }
    walkLink = {fragment};
    setMazeName(null);
    return null;
  }

  // Level n's file, or null when it cannot be fetched.
  async function fetchLevel(n) {
    try {
      const response = await fetch(levelFile(n), {cache: 'no-cache'});
      return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
    } catch (e) {
      return null;
    }
  }

  // Reads the maze a fragment (without "#" or a challenge) names: what it
  // opened ({level, daily}), or {refused: why} ("" for no fragment; a
  // fragment that names no maze is refused with `unknown`), or null once a
  // later reading has begun.
  async function readMazeOf(p, fragment, opening) {
    if (isLevelFragment(fragment)) {
      const {level, error} = levelOfFragment(fragment);
      if (error)
        return {refused: error};
      const bytes = await fetchLevel(level);
      if (opening !== openings)
        return null;
      if (!bytes)
        return {refused: `Level ${level} cannot be fetched.`};
      p.readMaze(bytes);
      walkLink = {fragment: levelFragment(level)};
      return {level, daily: null};
    }
    if (isDailyFragment(fragment)) {
      // "#daily" alone is today's; its link names the day.
      const dated = /^daily$/.test(fragment) ? `daily=${utcToday()}` : fragment;
      const refused = readFragment(p, dated);
      return refused ? {refused} : {level: null, daily: new URLSearchParams(dated).get('daily')};
    }
    if (isMazeFragment(fragment) || isRandomFragment(fragment)) {
      const refused = readFragment(p, fragment);
      return refused ? {refused} : {level: null, daily: null};
    }
    return fragment ? {refused: `The link is not understood: "#${excerpt(fragment)}".`, unknown: true} : {refused: ''};
  }

  // Reads the maze the address asks for: a link's maze, or maze1.dat
  // (`shipped`, kept for later links) for none or for a link that is refused
  // (the notice says why). Resolves to false when there is no maze to read
  // (maze1.dat could not be fetched), to null when a later reading has
  // overtaken this one (which then reads its own), to true once read. A
  // fragment that names no maze is said in one line and left in the address,
  // for the user to see what was not understood.
  async function readAddressMaze(p, shipped = shippedMaze) {
    shippedMaze = shipped;
    const opening = ++openings;
    const hash = location.hash;
    const {fragment, challenge, notice: ignored} = splitChallenge(hash.slice(1));
    const read = await readMazeOf(p, fragment, opening);
    if (!read)
      return null;
    addressRead = hash;
    if (read.refused === undefined) {
      notice(ignored);
      opened({...read, challenge});
      return true;
    }
    notice(read.refused ? `${read.refused} Walking maze1.dat instead.` : '');
    if (!shippedMaze)
      return false;
    p.readMaze(shippedMaze);
    setMazeName(null);
    walkLink = p.linkOf(shippedMaze);
    if (!read.unknown)
      showInAddress('');
    addressRead = location.hash;
    opened(kNothing);
    return true;
  }

  // Once the page plays: a link that came while it loaded is read now, so
  // that the maze walked is the one the address names.
  async function followAddress(p) {
    if (location.hash !== addressRead && await readAddressMaze(p))
      run();
  }

  // Opens the maze of a link's fragment (without "#"), put in the address.
  async function openLink(fragment) {
    if (!program())
      return;
    showInAddress(fragment);
    if (await readAddressMaze(program()))
      run();
  }

  // A new random maze with the settings' sizes and a new seed; a setting the
  // program refuses is said, and the walk goes on.
  function openRandomMaze() {
    const fragment = randomFragment({seed: randomSeed(), width: byId('random-width').value.trim(),
                                     height: byId('random-height').value.trim(),
                                     exits: byId('random-exits').value.trim()});
    const refused = readFragment(program(), fragment, true);
    notice(refused || '');
    if (refused)
      return;
    ++openings;
    showInAddress(fragment);
    opened(kNothing);
    run();
  }

  // Copies the link of the maze being walked, or says why it has none; where
  // the browser refuses the clipboard, the link is shown to copy by hand. The
  // notice says what the link is about; it ends when the address changes.
  async function copyLink() {
    notice(await shareLink(walkLink, byId('link-text'), 'this maze'), 'link');
  }

  // A maze file chosen by the user: read by the same loader, or refused with a
  // message while the current maze keeps running. `note` follows what is said.
  async function openMazeFile(file, isFolder, note = '') {
    if (!program())
      return;
    const say = (text) => notice(note ? `${text} ${note}` : text);
    if (isFolder)
      return say(`"${file.name}" is a folder, not a maze file.`);
    if (file.size > kMaxMazeBytes)
      return say(`"${file.name}" is too large for a maze file (${file.size} bytes; at most 64 KiB).`);
    // A FIFO or a device chosen as a file has no size (and may never end):
    // refused without reading, as an empty file is.
    const empty = () => say(`"${file.name}" is empty, or not a file the page can read: there is no maze to walk.`);
    if (file.size === 0)
      return empty();
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (e) {
      return say(`"${file.name}" cannot be read.`);
    }
    if (bytes.length === 0)
      return empty();
    openMazeBytes(bytes, `"${file.name}"`, {name: file.name, note});
  }

  // A drop opens its first file; the notice says when there were more.
  function onDrop(event) {
    event.preventDefault();
    byId('drop-zone').classList.remove('dropping');
    const item = event.dataTransfer.items && event.dataTransfer.items[0];
    const entry = item && item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
    const {files} = event.dataTransfer;
    const note = files.length > 1 ? `Only the first of the ${files.length} files dropped is opened.` : '';
    if (files[0])
      openMazeFile(files[0], entry ? entry.isDirectory : false, note);
  }

  const view = byId('maze');
  byId('maze-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (file)
      openMazeFile(file, false);
    view.focus();
  });
  byId('random-settings').addEventListener('submit', (event) => {
    event.preventDefault();
    if (program())
      openRandomMaze();
  });
  byId('again-random').addEventListener('click', () => {
    openRandomMaze();
    view.focus();
  });
  byId('copy-link').addEventListener('click', copyLink);
  byId('again-link').addEventListener('click', copyLink);
  window.addEventListener('hashchange', async () => {
    if (program() && await readAddressMaze(program()))
      run();
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    byId('drop-zone').classList.add('dropping');
  });
  document.addEventListener('dragleave', () => byId('drop-zone').classList.remove('dropping'));
  document.addEventListener('drop', onDrop);

  return {readAddressMaze, followAddress, openMazeBytes, openLink, link: () => ({...walkLink})};
}
