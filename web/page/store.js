// What the page keeps in the browser between visits (localStorage: one per
// site), as JSON values under names starting "maze.". Browsers may refuse it
// (private modes, a full quota, storage turned off): then nothing here throws,
// values written are kept for as long as the page stays open, and whoever
// asked through whenRefused(fn) hears once that nothing can be saved.

const kPrefix = 'maze.';
export const kCannotSave = 'This browser does not keep what the page saves: your progress and settings last until the page is closed.';

const session = new Map();  // values written while the storage refuses, by name
let refusedListener = null;
let refusalTold = false;

function refused() {
  if (refusalTold)
    return;
  refusalTold = true;
  if (refusedListener)
    refusedListener(kCannotSave);
}

// fn(text) is called once, the first time the storage refuses a write.
export function whenRefused(fn) {
  refusedListener = fn;
}

// The value stored under `name`, or `fallback` when there is none, it is no
// JSON, or the storage cannot be read.
export function readStored(name, fallback = null) {
  if (session.has(name))
    return session.get(name);
  try {
    const text = window.localStorage.getItem(kPrefix + name);
    return text === null ? fallback : JSON.parse(text);
  } catch (e) {
    return fallback;
  }
}

// Stores `value` (anything JSON can hold) under `name`. False when the
// storage refused it: the value then lasts until the page is closed.
export function writeStored(name, value) {
  try {
    window.localStorage.setItem(kPrefix + name, JSON.stringify(value));
    session.delete(name);
    return true;
  } catch (e) {
    session.set(name, value);
    refused();
    return false;
  }
}
