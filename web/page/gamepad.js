// Gamepads with the browser's standard mapping: the d-pad and the left stick
// step and turn as w, s, a and d do (held, they repeat as a held key does),
// Start pauses and A (the bottom face button) shows or hides the map. Every
// press takes the keyboard's path. The Gamepad API tells of pads coming and
// going but not of their buttons, so they are read once an animation frame,
// only while a pad is connected.
import {kRepeatDelayMs, kRepeatEveryMs} from './controls.js';

// The standard mapping's buttons.
const kButtonA = 0, kButtonStart = 9, kDpad = {12: 'w', 13: 's', 14: 'a', 15: 'd'};
// How far the stick must lean (of 1) before it counts: a resting stick is rarely at 0.
export const kDeadZone = 0.5;

// The direction key a pad asks for ('w', 's', 'a', 'd'), or null: the d-pad
// first, else the left stick along its stronger axis beyond the dead zone.
export function padDirection(pad) {
  for (const [index, key] of Object.entries(kDpad))
    if (pad.buttons[index] && pad.buttons[index].pressed)
      return key;
  const [x = 0, y = 0] = pad.axes;
  if (Math.max(Math.abs(x), Math.abs(y)) < kDeadZone)
    return null;
  return Math.abs(y) >= Math.abs(x) ? (y < 0 ? 'w' : 's') : (x < 0 ? 'a' : 'd');
}

// Installs the pads' watch. press(code) takes a key code as the keyboard's
// path does; toggleMap() shows or hides the map; notice(text) says a pad came.
export function installGamepad({press, toggleMap, notice}) {
  let polling = false;
  let held = null;       // the direction held: {key, next} (when it repeats next, ms)
  let buttons = {};      // Start and A as last read, for their presses' edges

  const connectedPads = () => {
    const pads = navigator.getGamepads ? [...navigator.getGamepads()] : [];
    return pads.filter((pad) => pad && pad.connected !== false);
  };

  function poll(now) {
    const pads = connectedPads();
    if (pads.length === 0) {
      polling = false;
      held = null;
      buttons = {};
      return;
    }
    const standard = pads.filter((pad) => pad.mapping === 'standard');
    const key = standard.map(padDirection).find((k) => k) || null;
    if (!key) {
      held = null;
    } else if (!held || held.key !== key) {
      held = {key, next: now + kRepeatDelayMs};
      press(key.charCodeAt(0));
    } else if (now >= held.next) {
      held.next = now + kRepeatEveryMs;
      press(key.charCodeAt(0));
    }
    const down = (index) => standard.some((pad) => pad.buttons[index] && pad.buttons[index].pressed);
    const pressed = {start: down(kButtonStart), a: down(kButtonA)};
    if (pressed.start && !buttons.start)
      press(27);  // Escape: pause, or resume
    if (pressed.a && !buttons.a)
      toggleMap();
    buttons = pressed;
    requestAnimationFrame(poll);
  }

  function watch() {
    if (!polling && connectedPads().length > 0) {
      polling = true;
      requestAnimationFrame(poll);
    }
  }

  window.addEventListener('gamepadconnected', (event) => {
    const pad = event.gamepad;
    notice(pad && pad.mapping !== 'standard'
      ? 'A gamepad is connected, but the browser does not know its buttons: use the keys or the pad.'
      : 'Gamepad connected: the d-pad or left stick walks, Start pauses, A shows the map.');
    watch();
  });
  watch();  // a pad the browser already knows
}
