// The page's service worker: after one visit the page plays with the network
// off. The build writes its version (a hash of the site's files as built) and
// the list of those files into the copy it puts in the site, so a new build is
// a new worker: it fetches the new files into a cache of its own, takes over
// and deletes the old cache; the page says so, and the new build opens on the
// next visit.
//
// The build's files come from the cache alone. The site's own files (its
// maze1.dat, textures.json and the texture files that names) come from the
// cache too, so no request stands before the first view, and are fetched
// anew once the page has started (it posts "refresh"): a site that replaces
// its maze is walked in the new one from the next visit on.
const kVersion = 'BUILD_VERSION';
const kBuildFiles = BUILD_FILES;
const kSiteFiles = ['maze1.dat', 'textures.json'];
const kCache = `maze-${kVersion}`;
const kIndex = new URL('index.html', self.registration.scope).href;
const kDrawn = new URL('drawn-textures/', self.registration.scope).href;  // textures the page drew

const fresh = (url) => new Request(url, {cache: 'no-cache'});
const isBuildFile = (url) => kBuildFiles.some((f) => new URL(f, self.registration.scope).href === url);

// The site's files that can be fetched go in too; one that is missing
// (a site without textures.json) leaves the page to do without.
async function fillCache() {
  const cache = await caches.open(kCache);
  await cache.addAll(kBuildFiles.map(fresh));
  await Promise.all(kSiteFiles.map(async (f) => {
    const response = await fetch(fresh(f)).catch(() => null);
    if (response && response.ok)
      await cache.put(f, response);
  }));
}

self.addEventListener('install', (event) => {
  event.waitUntil(fillCache().then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith('maze-') && name !== kCache)
        await caches.delete(name);
    await self.clients.claim();
  })());
});

// A fetched answer, kept for offline use when the site's file was found.
async function fetchAndKeep(request) {
  const response = await fetch(request);
  if (response.ok && !isBuildFile(request.url))
    await (await caches.open(kCache)).put(request.url, response.clone());
  return response;
}

async function answer(request) {
  const cache = await caches.open(kCache);
  // Any address of the page (its fragment never reaches here) is index.html.
  const url = request.mode === 'navigate' ? kIndex : request.url;
  const cached = await cache.match(url, {ignoreSearch: true});
  return cached || fetchAndKeep(request);
}

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || !url.href.startsWith(self.registration.scope))
    return;
  if (event.request.mode === 'navigate' && url.pathname !== new URL(self.registration.scope).pathname
      && url.href !== kIndex)
    return;  // another page under this folder
  event.respondWith(answer(event.request));
});

// The site's files kept in the cache, fetched anew; one the site no longer
// has is dropped.
async function refreshSiteFiles() {
  const cache = await caches.open(kCache);
  for (const request of await cache.keys()) {
    if (isBuildFile(request.url) || request.url.startsWith(kDrawn))
      continue;
    const response = await fetch(fresh(request.url)).catch(() => null);
    if (response && response.ok)
      await cache.put(request.url, response);
    else if (response && response.status === 404)
      await cache.delete(request.url);
  }
}

// Keeps the textures a page of this build drew ({prefix, files: [{name,
// bytes}]}), so that the next visit reads them instead of drawing them.
async function keepDrawn({prefix, files}) {
  const cache = await caches.open(kCache);
  for (const {name, bytes} of files)
    await cache.put(new URL(prefix + name, self.registration.scope).href,
                    new Response(bytes, {headers: {'Content-Type': 'image/bmp'}}));
}

self.addEventListener('message', (event) => {
  if (event.data === 'refresh')
    event.waitUntil(refreshSiteFiles());
  else if (event.data && event.data.keep)
    event.waitUntil(keepDrawn(event.data.keep));
});
