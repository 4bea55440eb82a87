// The levels shipped with the page (levels/01.dat on, in rising difficulty):
// the "Levels" list, each level marked once finished, the mark kept in the
// browser; "#level=N" links; "Next level" in a level's results.
import {readStored, writeStored} from './store.js';

export const kLevelCount = 24;  // levels/01.dat to levels/24.dat

// The file of level `n`, relative to the page.
export const levelFile = (n) => `levels/${String(n).padStart(2, '0')}.dat`;
export const levelFragment = (n) => `level=${n}`;

// The level a "level=N" fragment (without "#") names: {level}, or {error}
// saying why it names none.
export function levelOfFragment(fragment) {
  const fields = [...new URLSearchParams(fragment)];
  const value = fields.length === 1 && fields[0][0] === 'level' ? fields[0][1] : null;
  const n = value !== null && /^[0-9]{1,3}$/.test(value) ? Number(value) : 0;
  if (n >= 1 && n <= kLevelCount)
    return {level: n};
  const shown = value === null ? fragment : value;
  return {error: `The link's level must be a whole number from 1 to ${kLevelCount}, ` +
                 `not "${shown.slice(0, 12)}${shown.length > 12 ? '…' : ''}".`};
}

// The levels finished, as a set of numbers.
function finishedLevels() {
  const stored = readStored('levels', []);
  return new Set(Array.isArray(stored) ? stored.filter((n) => Number.isInteger(n) && n >= 1 && n <= kLevelCount) : []);
}

// Installs the "Levels" button (`button`, which shows and hides `panel`, the
// list) and "Next level" in the results (`next`). Services: open(fragment)
// opens a level's link; focusView() gives the keyboard to the walk.
// Returns {opened(level), finished()}: a maze was opened (its level number,
// null for a maze that is none), and its walk found the exit.
export function installLevels({button, panel, next, open, focusView}) {
  let walking = null;  // the level being walked
  const list = document.createElement('ol');
  list.className = 'level-list';
  const entries = [];
  for (let n = 1; n <= kLevelCount; ++n) {
    const entry = document.createElement('button');
    entry.type = 'button';
    entry.className = 'button';
    entry.addEventListener('click', () => {
      show(false);
      open(levelFragment(n));
      focusView();
    });
    const item = document.createElement('li');
    item.append(entry);
    list.append(item);
    entries.push(entry);
  }
  panel.append(list);

  // Each entry's name: "Level N", and ", done" once finished (shown as a tick).
  function mark() {
    const done = finishedLevels();
    entries.forEach((entry, i) => {
      const finished = done.has(i + 1);
      entry.replaceChildren(`Level ${i + 1}`);
      entry.setAttribute('aria-label', finished ? `Level ${i + 1}, done` : `Level ${i + 1}`);
      if (finished) {
        const tick = document.createElement('span');
        tick.className = 'tick';
        tick.textContent = ' \u2713';
        entry.append(tick);
      }
      entry.classList.toggle('done', finished);
      if (i + 1 === walking)
        entry.setAttribute('aria-current', 'true');
      else
        entry.removeAttribute('aria-current');
    });
  }

  function show(shown) {
    panel.hidden = !shown;
    button.setAttribute('aria-expanded', String(shown));
    if (shown)
      mark();
  }

  button.addEventListener('click', () => show(panel.hidden));
  next.addEventListener('click', () => {
    if (walking !== null && walking < kLevelCount)
      open(levelFragment(walking + 1));
  });
  mark();

  return {
    opened(level) {
      walking = level;
      mark();
    },
    finished() {
      next.hidden = walking === null || walking >= kLevelCount;
      if (walking === null)
        return;
      const done = finishedLevels();
      if (!done.has(walking)) {
        done.add(walking);
        writeStored('levels', [...done].sort((a, b) => a - b));
      }
      mark();
    },
  };
}
