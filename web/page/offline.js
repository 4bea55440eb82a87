// The page as an installed app: once `started` (a promise) has settled, so
// that the worker's downloads do not compete with the page's own, registers
// the service worker (sw.js) that keeps the page playable offline, and asks
// it to fetch the site's own files anew for the next visit, and to keep the
// textures drawn on this visit. When a new build's worker takes over from an
// old one, `notice` says so.
import {takeDrawnTextures} from './textures.js';

const kStartedWaitMs = 2000;  // from the page's start to the worker's registration
const kIdleWaitMs = 3000;     // how long that then waits for an idle moment at most

export function installOffline(notice, started) {
  if (!('serviceWorker' in navigator) || !isSecureContext)
    return;
  const worker = navigator.serviceWorker;
  const hadWorker = Boolean(worker.controller);
  // Said once the page has started, after what its start says.
  const said = () => notice('This page was updated: the new version opens on your next visit.');
  let updated = false;
  // The drawn textures go to the worker of this page's build only: the one
  // that served it, or the first one, which takes over at once.
  const keepDrawn = () => takeDrawnTextures().then((drawn) => {
    if (worker.controller && !updated && drawn.files.length)
      worker.controller.postMessage({keep: drawn}, drawn.files.map((f) => f.bytes.buffer));
  });
  worker.addEventListener('controllerchange', () => {
    updated = hadWorker;
    if (updated)
      started.then(said, said);
    else
      started.then(keepDrawn, keepDrawn);
  });
  const later = window.requestIdleCallback || ((fn) => setTimeout(fn, 0));
  const register = () => later(() => {
    worker.register('sw.js').catch(() => {});  // no worker: the page works online as before
    if (worker.controller) {
      worker.controller.postMessage('refresh');
      keepDrawn();
    }
  }, {timeout: kIdleWaitMs});
  // Well after the first frame, at an idle moment: nothing here is urgent.
  const afterStart = () => setTimeout(register, kStartedWaitMs);
  started.then(afterStart, afterStart);
}
