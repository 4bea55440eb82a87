// Every way to walk the page offers: the program's keys, the arrow keys,
// the pad's buttons (held down they repeat, as a held key does) and swipes
// on the view. All of them end as one key code handed to `press`, the same
// path the keyboard takes, so a press during a step or turn is dropped.

// The arrow keys do on the page what w s a d do.
const kArrows = {ArrowUp: 'w', ArrowDown: 's', ArrowLeft: 'a', ArrowRight: 'd'};
// A held button repeats as a key does under X's defaults: after 660 ms, 25 times a second.
export const kRepeatDelayMs = 660;
export const kRepeatEveryMs = 40;
// A swipe is a drag of at least this many CSS pixels, mostly along one axis.
const kSwipePx = 30;

// The code the desktop's keyboard callback gets for a key event (the typed
// character, 27 for Escape), or -1 for none.
function keyCode(event) {
  const key = kArrows[event.key] || event.key;
  if (key === 'Escape')
    return 27;
  return key.length === 1 && key.charCodeAt(0) < 256 ? key.charCodeAt(0) : -1;
}

function installKeys(press) {
  document.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey || event.defaultPrevented)
      return;
    const target = event.target;
    // Typing into a control, or pressing one with Enter or Space, is that
    // control's; so is every key in a part of the page that has keys of its
    // own (data-own-keys: the maze editor).
    if (target.closest && target.closest('dialog, input, select, textarea, [data-own-keys]'))
      return;
    if (target.closest && target.closest('button, label') && (event.key === ' ' || event.key === 'Enter'))
      return;
    const code = keyCode(event);
    if (code < 0)
      return;
    event.preventDefault();
    press(code);
  });
}

function installPad(pad, press) {
  for (const button of pad.querySelectorAll('button[data-key]')) {
    const code = button.dataset.key.charCodeAt(0);
    let delay = 0, repeat = 0;
    const stop = () => {
      clearTimeout(delay);
      clearInterval(repeat);
      delay = repeat = 0;
    };
    button.addEventListener('pointerdown', (event) => {
      if (event.button !== 0)
        return;
      event.preventDefault();  // no focus move, text selection or emulated mouse events
      button.setPointerCapture(event.pointerId);
      stop();
      press(code);
      delay = setTimeout(() => {
        repeat = setInterval(() => press(code), kRepeatEveryMs);
      }, kRepeatDelayMs);
    });
    for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
      button.addEventListener(end, stop);
    // Enter or Space on a focused button: one press (a pointer's click was handled on pointerdown).
    button.addEventListener('click', (event) => {
      if (event.detail === 0)
        press(code);
    });
    button.addEventListener('contextmenu', (event) => event.preventDefault());
  }
}

function installSwipes(view, press) {
  let start = null;
  view.addEventListener('pointerdown', (event) => {
    start = {id: event.pointerId, x: event.clientX, y: event.clientY};
    view.focus();
  });
  view.addEventListener('pointerup', (event) => {
    if (!start || start.id !== event.pointerId)
      return;
    const dx = event.clientX - start.x, dy = event.clientY - start.y;
    start = null;
    if (Math.max(Math.abs(dx), Math.abs(dy)) < kSwipePx)
      return;
    const key = Math.abs(dy) > Math.abs(dx) ? (dy < 0 ? 'w' : 's') : (dx < 0 ? 'a' : 'd');
    press(key.charCodeAt(0));
  });
  view.addEventListener('pointercancel', () => {
    start = null;
  });
}

// Installs them all; `press(code)` takes a key code as the program's keyboard callback does.
export function installControls({view, pad, press}) {
  installKeys(press);
  installPad(pad, press);
  installSwipes(view, press);
}
