// The page as an installed app: once `started` (a promise) has settled, so
// that the worker's downloads do not compete with the page's own, registers
// the service worker (sw.js) that keeps the page playable offline, and asks
// it to fetch the site's own files anew for the next visit. When a new
// build's worker takes over from an old one, `notice` says so.
const kIdleWaitMs = 3000;  // how long the refresh waits for an idle moment at most

export function installOffline(notice, started) {
  if (!('serviceWorker' in navigator) || !isSecureContext)
    return;
  const worker = navigator.serviceWorker;
  const hadWorker = Boolean(worker.controller);
  // Said once the page has started, after what its start says.
  const said = () => notice('This page was updated: the new version opens on your next visit.');
  worker.addEventListener('controllerchange', () => {
    if (hadWorker)
      started.then(said, said);
  });
  const later = window.requestIdleCallback || ((fn) => setTimeout(fn, 0));
  const register = () => later(() => {
    worker.register('sw.js').catch(() => {});  // no worker: the page works online as before
    if (worker.controller)
      worker.controller.postMessage('refresh');
  }, {timeout: kIdleWaitMs});
  started.then(register, register);
}
