// The message over the view and the error dialog: an exit found with the
// walk's figures and the buttons that go on from it, the walk paused, a page
// that cannot start; a loader's message in a dialog titled "Error".
const byId = (id) => document.getElementById(id);

// "1:05.3" from milliseconds.
export function formatTime(ms) {
  const tenths = Math.round(ms / 100);
  const minutes = Math.floor(tenths / 600), seconds = (tenths % 600) / 10;
  return `${minutes}:${seconds < 10 ? '0' : ''}${seconds.toFixed(1)}`;
}

// Shows `text` over the view. `button` names the button that starts the
// maze again (none without it, and it takes the focus); `results`
// ({keys, shortest, ms, wayShown}) adds the walk's figures and the buttons
// that go on from a found exit; `resume` puts "Resume" first, with the focus.
// The parts other modules add to the results (class "with-results") are
// hidden: they show their own.
export function showOverlay(text, {button = null, results = null, resume = false} = {}) {
  byId('message-text').textContent = text;
  for (const part of byId('message').querySelectorAll('.with-results'))
    part.hidden = true;
  const again = byId('again');
  again.hidden = !button;
  again.textContent = button || '';
  byId('results').hidden = !results;
  byId('result-note').hidden = !(results && results.wayShown);
  byId('again-random').hidden = byId('again-link').hidden = !results;
  if (results) {
    byId('result-keys').textContent = String(results.keys);
    byId('result-time').textContent = formatTime(results.ms);
    byId('result-shortest').textContent = results.shortest < 0 ? 'none' : `${results.shortest} key presses`;
    byId('result-note').textContent = 'The way was shown on this walk.';
  }
  byId('resume').hidden = !resume;
  byId('message').hidden = false;
  if (resume)
    byId('resume').focus();
  else if (button)
    again.focus();
}

// Hides the message and gives the keyboard back to the view (unless
// `focus` is false: the maze editor keeps it while the view follows it).
export function hideOverlay({focus = true} = {}) {
  byId('message').hidden = true;
  if (focus)
    byId('maze').focus();
}

// The loader's message in the dialog titled "Error" (and on the console).
export function showError(text) {
  console.error(text);
  byId('error-text').textContent = text;
  byId('error').showModal();
}
