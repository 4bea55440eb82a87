// The player's settings, remembered in the browser's storage (store.js) under
// "setting." names. Storage can be missing, full or refused (private windows,
// blocked cookies): then a setting lasts as long as the page, and nothing
// here ever throws.
import {readStored, writeStored} from './store.js';

const kPrefix = 'setting.';

// The stored value of `name`, or `fallback` when there is none or it cannot
// be read.
export function loadSetting(name, fallback) {
  return readStored(kPrefix + name, fallback);
}

// Remembers `value` (anything JSON holds) for `name`; false when it could not be stored.
export function saveSetting(name, value) {
  return writeStored(kPrefix + name, value);
}

// A button with aria-pressed that turns the setting `name` on and off (`on`
// when it was never set), remembered; `apply(on)` is called with its value
// now and after each press. Returns () => whether it is on.
export function settingButton(button, name, on, apply) {
  let value = loadSetting(name, on) === true;
  const show = () => button.setAttribute('aria-pressed', String(value));
  button.addEventListener('click', () => {
    value = !value;
    saveSetting(name, value);
    show();
    apply(value);
  });
  show();
  apply(value);
  return () => value;
}
