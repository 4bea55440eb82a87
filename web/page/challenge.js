// Challenge links: any maze link with "&keys=N&time=MS" added, a walk's key
// presses and time in milliseconds for a friend to beat. The figures are the
// page's alone: they are taken off the fragment before the program reads it.
// Before the first step the walk shows what is to be beaten, and its results
// say whether it was.
import {formatTime} from './overlay.js';

const kFields = Object.freeze({
  keys: {max: 1000000, what: 'key presses', unit: ''},
  time: {max: 24 * 60 * 60 * 1000, what: 'time', unit: ' of milliseconds'},
});

// A fragment's name or value as URLSearchParams decodes it; null for a
// percent sign that starts no escape.
function decoded(text) {
  try {
    return decodeURIComponent(text.replace(/\+/g, ' '));
  } catch (e) {
    return null;
  }
}

// Takes the challenge off a fragment (without "#"). Returns {fragment: the
// rest, challenge: {keys, ms} (either may be null; null for none), notice:
// why a value given was ignored ("" for none)}. A value is kept when it is a
// whole number from 1 to its maximum.
export function splitChallenge(fragment) {
  const rest = [], values = {keys: null, time: null}, ignored = [];
  for (const part of fragment.split('&')) {
    const cut = part.indexOf('=');
    const name = decoded(cut < 0 ? part : part.slice(0, cut));
    const field = Object.hasOwn(kFields, name) ? kFields[name] : null;
    if (!field) {
      rest.push(part);
      continue;
    }
    const value = cut < 0 ? '' : decoded(part.slice(cut + 1));
    const number = value !== null && /^[0-9]{1,9}$/.test(value) ? Number(value) : 0;
    if (number >= 1 && number <= field.max) {
      values[name] = number;
    } else {
      values[name] = null;
      const shown = value === null ? part.slice(cut + 1) : value;
      ignored.push(`The challenge's ${field.what} must be a whole number${field.unit} from 1 to ${field.max}, ` +
                   `not "${shown.slice(0, 12)}${shown.length > 12 ? '…' : ''}": ignored.`);
    }
  }
  const challenge = values.keys === null && values.time === null ? null : {keys: values.keys, ms: values.time};
  return {fragment: rest.join('&'), challenge, notice: ignored.join(' ')};
}

const presses = (n) => `${n} key press${n === 1 ? '' : 'es'}`;

// "To beat: 42 key presses in 0:31.2" (or either figure alone).
export function toBeatText({keys, ms}) {
  const figures = [keys === null ? '' : presses(keys), ms === null ? '' : formatTime(ms)];
  return `To beat: ${figures.filter(Boolean).join(' in ')}`;
}

// The fragment that challenges a friend to beat `results` on the maze of
// `fragment`; figures out of range are left out.
export function challengeFragment(fragment, {keys, ms}) {
  let added = '';
  if (keys >= 1 && keys <= kFields.keys.max)
    added += `&keys=${keys}`;
  const time = Math.round(ms);
  if (time >= 1 && time <= kFields.time.max)
    added += `&time=${time}`;
  return fragment + added;
}

// How a walk's results ({keys, ms, wayShown}) fare against a challenge.
export function verdictText(challenge, results) {
  if (results.wayShown)
    return 'The way was shown on this walk, so it does not take up the challenge.';
  const verdict = (mine, theirs) => (mine < theirs ? 'beaten' : mine === theirs ? 'equalled' : 'not beaten');
  const lines = [];
  if (challenge.keys !== null)
    lines.push(`Key presses: ${verdict(results.keys, challenge.keys)} (${results.keys} against ${challenge.keys}).`);
  if (challenge.ms !== null) {
    const ms = Math.round(results.ms);
    lines.push(`Time: ${verdict(ms, challenge.ms)} (${formatTime(ms)} against ${formatTime(challenge.ms)}).`);
  }
  return lines.join(' ');
}

// Installs the challenge's parts of the page: `banner` (what is to be
// beaten, over the view until the first step), `verdict` (in the results)
// and `button` ("Challenge a friend", in the results). Services: link() (the
// walked maze's {fragment} or {error}), share(link) (copies a link and
// resolves to what to tell), notice(text).
// Returns {listen(program), opened(challenge), ready(), finished(results)}.
export function installChallenge({banner, verdict, button, link, share, notice}) {
  let challenge = null;  // of the maze being walked
  let last = null;       // the results of the walk that found the exit last

  button.addEventListener('click', async () => {
    const walked = link();
    if (!last)
      return;
    notice(await share(walked.error ? walked : {fragment: challengeFragment(walked.fragment, last)}));
  });

  return {
    listen(p) {
      p.on('motionstart', () => {
        banner.hidden = true;
      });
    },
    // A maze was opened with this challenge (null for none).
    opened(c) {
      challenge = c;
    },
    // The walk starts (again) from the start.
    ready() {
      banner.hidden = !challenge;
      if (challenge)
        banner.textContent = toBeatText(challenge);
    },
    finished(results) {
      last = results;
      banner.hidden = true;
      button.hidden = false;
      verdict.hidden = !challenge;
      if (challenge)
        verdict.textContent = verdictText(challenge, results);
    },
  };
}
