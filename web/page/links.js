// Links that carry the maze being walked, in the page's address fragment:
// "#seed=N&width=W&height=H&exits=K" for a random maze (the program makes it
// again from those), "#daily=YYYY-MM-DD" for a day's maze ("#daily" alone:
// today's, by the UTC date), "#level=N" for a shipped level, "#maze=" and the
// file's bytes in base64url for any other. The program reads and checks the
// mazes the links carry; this module only builds, recognises and shares them.

const kRandomDefaults = Object.freeze({width: 32, height: 32, exits: 1});

export const isRandomFragment = (hash) => /(^#?|&)seed=/.test(hash);
export const isMazeFragment = (hash) => /^#?maze=/.test(hash);
export const isDailyFragment = (hash) => /^#?daily(=|$)/.test(hash);
export const isLevelFragment = (hash) => /^#?level=/.test(hash);

// Today's date in UTC, "YYYY-MM-DD": the day whose maze "#daily" opens.
export function utcToday() {
  return new Date().toISOString().slice(0, 10);
}

// The fragment, without "#", of a random maze.
export function randomFragment({seed, width, height, exits}) {
  return `seed=${seed}&width=${width}&height=${height}&exits=${exits}`;
}

// The sizes a random maze's fragment asks for, with the defaults for those it
// leaves out, as text (the program checks them).
export function randomSettings(hash) {
  const fields = new URLSearchParams(hash.replace(/^#/, ''));
  const value = (name) => fields.get(name) || String(kRandomDefaults[name]);
  return {width: value('width'), height: value('height'), exits: value('exits')};
}

// A new random seed, as a decimal 64-bit number.
export function randomSeed() {
  const words = crypto.getRandomValues(new Uint32Array(2));
  return ((BigInt(words[0]) << 32n) | BigInt(words[1])).toString();
}

// The page's whole address with `fragment` (no "#"; "" for none).
function pageLink(fragment) {
  return location.origin + location.pathname + location.search + (fragment ? `#${fragment}` : '');
}

// Puts `fragment` in the address without a new history entry or a
// hashchange, so that a reload opens the same maze. An address that already
// says it is left alone: even a replaceState to the same address is a
// navigation to the browser, whose loading state starts and stops again.
export function showInAddress(fragment) {
  const link = pageLink(fragment);
  if (link !== location.href)
    history.replaceState(history.state, '', link);
}

// Copies `text` to the clipboard. Resolves to false where the browser does
// not let the page write it.
async function copyText(text) {
  try {
    await navigator.clipboard.writeText(text);
    return true;
  } catch (e) {
    return false;
  }
}

// Copies the page's link to a maze, given as the program's {fragment} or
// {error} (why it has none); where the browser refuses the clipboard, the
// link is shown in `field`, selected, to copy by hand. Resolves to what to
// tell the user of `what` ("this maze", "the edited maze").
export async function shareLink(link, field, what) {
  field.hidden = true;
  if (link.error)
    return link.error;
  const text = pageLink(link.fragment);
  if (await copyText(text))
    return `The link to ${what} is copied.`;
  field.value = text;
  field.hidden = false;
  field.select();
  return `Copy the link to ${what} from the field below.`;
}
