// The daily maze: "Today's maze", and the streak, the days in a row on which
// that day's maze was finished (by the UTC date, as the maze is chosen),
// kept in the browser.
import {utcToday} from './links.js';
import {readStored, writeStored} from './store.js';

const kKeptDays = 400;  // a streak longer than this counts from the days kept
const kDayMs = 24 * 60 * 60 * 1000;

const dayBefore = (date) => new Date(Date.parse(`${date}T00:00:00Z`) - kDayMs).toISOString().slice(0, 10);

// The streak on `today` given the days (a set of "YYYY-MM-DD") on which that
// day's maze was finished: {days, today: whether today is one of them}. A
// streak not yet carried on to today still counts until today ends.
export function streakOn(today, finished) {
  let day = finished.has(today) ? today : dayBefore(today);
  let days = 0;
  for (; finished.has(day); day = dayBefore(day))
    ++days;
  return {days, today: finished.has(today)};
}

export function streakText({days, today}) {
  if (days === 0)
    return 'Finish today\'s maze to start a streak.';
  const run = days === 1 ? '1 day' : `${days} days in a row`;
  return today ? `Daily streak: ${run}.` : `Daily streak: ${run}; finish today's maze to keep it.`;
}

function finishedDays() {
  const stored = readStored('daily', []);
  return new Set(Array.isArray(stored) ? stored.filter((d) => typeof d === 'string') : []);
}

// Installs "Today's maze" (`button`) and the streak's line (`line`).
// Services: open(fragment) opens a link's maze; focusView().
// Returns {opened(date), finished()}: a maze was opened (the day of a daily
// maze, null for any other), and its walk found the exit.
export function installDaily({button, line, open, focusView}) {
  let walking = null;
  const show = () => {
    line.textContent = streakText(streakOn(utcToday(), finishedDays()));
  };
  button.addEventListener('click', () => {
    open('daily');
    focusView();
  });
  show();
  return {
    opened(date) {
      walking = date;
      show();
    },
    finished() {
      // Only today's maze, finished today, carries the streak on.
      const today = utcToday();
      if (walking !== today)
        return;
      const days = finishedDays();
      if (!days.has(today)) {
        days.add(today);
        writeStored('daily', [...days].sort().slice(-kKeptDays));
      }
      show();
    },
  };
}
