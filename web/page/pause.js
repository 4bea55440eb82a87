// Pausing the walk: q, Q and Escape pause it (the program's quit keys; on a
// page there is nothing to close) and so does leaving the page's tab. The
// "Paused" message offers "Resume", which goes on from the same cell,
// heading and figures, and "Start again".
import {hideOverlay, showOverlay} from './overlay.js';

// Installs the "Resume" button and the tab's watch. program() is null until
// the page plays. Returns {listen(program)}.
export function installPause({program, resumeButton}) {
  resumeButton.addEventListener('click', () => {
    if (program())
      program().resume();
  });
  document.addEventListener('visibilitychange', () => {
    if (document.hidden && program())
      program().pause();
  });
  return {
    listen(p) {
      p.on('paused', () => showOverlay('Paused', {button: 'Start again', resume: true}));
      p.on('resumed', hideOverlay);
    },
  };
}
