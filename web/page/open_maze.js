// Opening mazes: a maze file chosen or dropped, the maze a link in the
// address carries, a new random maze; the address kept on the maze being
// walked, and its link copied.
import {isMazeFragment, isRandomFragment, randomFragment, randomSeed, randomSettings, shareLink,
        showInAddress} from './links.js';

const kMaxMazeBytes = 64 * 1024;  // far above the 32 lines of 32 bytes a maze file holds
const byId = (id) => document.getElementById(id);

// Installs the maze's opening controls (the file input, drops, the random
// maze's settings, "Copy link", the address). Services:
//   program(): the program once the page plays (null before);
//   run({focus}): starts the walk on the maze just read;
//   notice(text): says something under the view.
// Returns {readAddressMaze(program, shipped), openMazeBytes(bytes, label), link()}.
export function installMazeOpening({program, run, notice}) {
  let shippedMaze = null;  // maze1.dat's bytes, played when a link is refused
  // The link of the maze being walked: {fragment} (without "#"), or {error}
  // saying why it has none.
  let walkLink = {fragment: ''};

  // Opens maze file bytes (a file, a dropped file, an edited maze) with the
  // program's loader and walks them; the address carries the maze's link, or
  // none when the file is too large for one, which the notice says. The
  // view takes the keyboard unless `focus` is false.
  function openMazeBytes(bytes, label, {focus = true} = {}) {
    program().readMaze(bytes);
    walkLink = program().linkOf(bytes);
    showInAddress(walkLink.fragment || '');
    notice(walkLink.error ? `Walking ${label}. ${walkLink.error}` : `Walking ${label}.`);
    run({focus});
  }

  // Reads the maze a "#maze=" or "#seed=" fragment carries, and puts a random
  // maze's settings in the controls. Returns null, or why the fragment is
  // refused (nothing is read then).
  function readFragment(p, fragment) {
    const refused = p.readLink(fragment);
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

  // Reads the maze the address asks for: a link's maze, or maze1.dat
  // (`shipped`, kept for later links) for none or for a link that is refused
  // (the notice says why). False when there is no maze to read: maze1.dat
  // could not be fetched.
  function readAddressMaze(p, shipped = shippedMaze) {
    shippedMaze = shipped;
    const fragment = location.hash.slice(1);
    const refused = isMazeFragment(fragment) || isRandomFragment(fragment) ? readFragment(p, fragment) : '';
    if (refused === null) {
      notice('');
      return true;
    }
    notice(refused ? `${refused} Walking maze1.dat instead.` : '');
    if (!shippedMaze)
      return false;
    p.readMaze(shippedMaze);
    walkLink = p.linkOf(shippedMaze);
    showInAddress('');
    return true;
  }

  // A new random maze with the settings' sizes and a new seed; a setting the
  // program refuses is said, and the walk goes on.
  function openRandomMaze() {
    const fragment = randomFragment({seed: randomSeed(), width: byId('random-width').value.trim(),
                                     height: byId('random-height').value.trim(),
                                     exits: byId('random-exits').value.trim()});
    const refused = readFragment(program(), fragment);
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

  // A maze file chosen by the user: read by the same loader, or refused with a
  // message while the current maze keeps running.
  async function openMazeFile(file, isFolder) {
    if (!program())
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
    const refuse = () => notice(program().missingMazeMessage(file.name));
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
  window.addEventListener('hashchange', () => {
    if (program() && readAddressMaze(program()))
      run();
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    byId('drop-zone').classList.add('dropping');
  });
  document.addEventListener('dragleave', () => byId('drop-zone').classList.remove('dropping'));
  document.addEventListener('drop', onDrop);

  return {readAddressMaze, openMazeBytes, link: () => ({...walkLink})};
}
