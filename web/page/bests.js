// Personal bests: for each maze, the fewest key presses and the best time of
// the walks that found its exit without the way shown. A maze is known by a
// hash of its file's bytes, so its best follows it whether it came from a
// file, a link, a level or the editor.
import {formatTime} from './overlay.js';
import {readStored, writeStored} from './store.js';

// FNV-1a, 64 bits, of the bytes, as 16 hexadecimal digits.
export function mazeHash(bytes) {
  const kPrime = 0x100000001b3n, kMask = (1n << 64n) - 1n;
  let hash = 0xcbf29ce484222325n;
  for (const byte of bytes)
    hash = ((hash ^ BigInt(byte)) * kPrime) & kMask;
  return hash.toString(16).padStart(16, '0');
}

const isCount = (n) => Number.isInteger(n) && n > 0;

// The best stored for a maze's hash: {keys, ms}, or null.
function storedBest(hash) {
  const best = readStored(`best.${hash}`);
  return best && isCount(best.keys) && isCount(best.ms) ? best : null;
}

// The best after a walk with `results` ({keys, ms, wayShown}) on a maze whose
// best was `best` (null for none): {best, keys, time}, keys and time saying
// which of its figures this walk set.
export function afterWalk(best, results) {
  const ms = Math.max(1, Math.round(results.ms));
  if (results.wayShown || !isCount(results.keys))
    return {best, keys: false, time: false};
  const keys = !best || results.keys < best.keys, time = !best || ms < best.ms;
  return {best: {keys: keys ? results.keys : best.keys, ms: time ? ms : best.ms}, keys, time};
}

function recordText(first, keys, time) {
  if (first)
    return 'A new best: your first finish of this maze.';
  if (keys && time)
    return 'A new best: fewer key presses and a better time.';
  return keys ? 'A new best: fewer key presses.' : 'A new best time.';
}

// Installs the results' "Your best" row (`row`, its figures in `value`) and
// the line that says when a walk set a new best (`record`).
// Returns {finished(bytes, results)}: a walk on the maze of these bytes
// found its exit.
export function installBests({row, value, record}) {
  return {
    finished(bytes, results) {
      const hash = mazeHash(bytes);
      const before = storedBest(hash);
      const {best, keys, time} = afterWalk(before, results);
      if (keys || time)
        writeStored(`best.${hash}`, best);
      row.hidden = !best;
      if (best)
        value.textContent = `${best.keys} key press${best.keys === 1 ? '' : 'es'} in ${formatTime(best.ms)}`;
      record.hidden = !(keys || time);
      record.textContent = keys || time ? recordText(!before, keys, time) : '';
    },
  };
}
