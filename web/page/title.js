// What the page says of itself: its title, "Maze" with the name of the maze
// being walked where it has one, and the frame rate in the view's corner (in
// the desktop's words, shown when the player asks for it).
import {settingButton} from './settings.js';

const kTitle = 'Maze';

// The title for a maze named `name` ("Level 3", "today's maze", "my.dat"),
// or for a maze without a name (null or "").
export function setMazeName(name) {
  document.title = name ? `${kTitle} \u2014 ${name}` : kTitle;
}

// Keeps `element` on the program's frame-rate text, shown while `button`
// (the remembered "Frame rate" setting, off at first) is pressed.
// Returns {listen(program)}.
export function installFrameRate({element, button}) {
  settingButton(button, 'frameRate', false, (on) => {
    element.hidden = !on;
  });
  return {
    listen(p) {
      p.on('framerate', (text) => {
        element.textContent = text;
      });
    },
  };
}
