// The page as an app: the textures it draws, its manifest and link-preview
// tags, and its service worker (a visit, then the page with the network gone;
// a new build taking over). Each service-worker test serves a copy of the
// whole built site from a server of its own, which it closes to go offline.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {expect, kIdle, kTextureFiles, shippedFiles, site, test} from './fixtures.mjs';
import {serve} from './static_server.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// The built site copied into `folder` (files, not links: a test may rebuild it).
function copySite(folder) {
  fs.cpSync(site, folder, {recursive: true});
  return folder;
}

// What the page's worker knows of itself: its version and the files it keeps.
function workerOf(folder) {
  const text = fs.readFileSync(path.join(folder, 'sw.js'), 'utf8');
  return {version: /const kVersion = '(\w+)';/.exec(text)[1],
          files: JSON.parse(/const kBuildFiles = (\[.*\]);/.exec(text)[1])};
}

// Waits until a service worker controls the page, then returns the cache names.
async function controlled(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, {polling: 50});
  return page.evaluate(() => caches.keys());
}

// Waits until the page has drawn (two frames, or one and nothing more to draw).
async function played(page) {
  await page.waitForFunction(() => {
    const s = window.mazePage && window.mazePage.state();
    return s && (s.frames > 1 || (s.frames === 1 && s.still));
  }, null, {polling: 20});
}

test('the textures the page draws are the desktop\'s texture files, byte for byte', async ({page, walk}) => {
  walk.layOut('drawn', {drawn: true});
  await walk.open('drawn');
  // A second instance of the program, beside the page's, hands over each drawn file.
  const drawn = await page.evaluate(async (count) => {
    const {default: create} = await import('./maze.js');
    const program = await create({page: {}});
    const files = [];
    for (let slot = 0; slot < count; ++slot) {
      const at = program.ccall('web_texture_art', 'number', ['number'], [slot]);
      const size = program.ccall('web_texture_art_size', 'number');
      let text = '';
      for (const byte of program.HEAPU8.subarray(at, at + size))
        text += String.fromCharCode(byte);
      files.push(btoa(text));
    }
    return files;
  }, kTextureFiles.length);
  const desktop = shippedFiles();
  for (const [slot, name] of kTextureFiles.entries())
    expect(Buffer.from(drawn[slot], 'base64').equals(desktop[name]), name).toBe(true);
});

test('the first view wears the small textures, and the full drawings replace them all', async ({page, walk}) => {
  // Every level-0 texture upload's width, and a mark at each frame's first draw.
  await page.addInitScript(() => {
    const log = window.uploadLog = [];
    const proto = WebGL2RenderingContext.prototype;
    const upload = proto.texImage2D;
    proto.texImage2D = function (target, level, format, width, ...rest) {
      if (level === 0)
        log.push(width);
      return upload.call(this, target, level, format, width, ...rest);
    };
    const clear = proto.clear;
    let drawn = true;
    proto.clear = function (...a) {
      drawn = false;
      return clear.apply(this, a);
    };
    const draw = proto.drawElementsInstanced;
    proto.drawElementsInstanced = function (...a) {
      if (!drawn)
        log.push('frame');
      drawn = true;
      return draw.apply(this, a);
    };
  });
  const files = {'maze1.dat': shippedFiles()['maze1.dat']};
  walk.layOut('drawn', {drawn: true, files});
  walk.layOut('small', {drawn: true, files: {...files, 'small_textures.bin': fs.readFileSync(path.join(site, 'small_textures.bin'))}});
  const kUploads = kTextureFiles.length + 1;  // the exit floor comes from the floor's

  await walk.open('small');
  await walk.until((n) => window.uploadLog.filter((w) => w === 256).length >= n, kUploads);
  await walk.framesPass();
  const log = await page.evaluate(() => window.uploadLog);
  const firstFrame = log.indexOf('frame');
  expect(log.slice(0, firstFrame)).toEqual(Array(kUploads).fill(32));
  expect(log.slice(firstFrame).filter((w) => w !== 'frame')).toEqual(Array(kUploads).fill(256));
  const small = await walk.shot();
  expect(walk.console).toEqual([['log', 'load succesful']]);

  await walk.open('drawn');
  await walk.framesPass();
  expect((await page.evaluate(() => window.uploadLog)).filter((w) => w !== 'frame' && w !== 256)).toEqual([]);
  expect(small.equals(await walk.shot())).toBe(true);
});

test('the manifest names the app, its start and icons that exist; the link preview has its picture', async ({page}) => {
  const server = await serve(site);
  try {
    await page.goto(server.url);
    await played(page);
    const head = await page.evaluate(() => {
      const meta = (key) => (document.querySelector(`meta[property="${key}"], meta[name="${key}"]`) || {}).content;
      return {manifest: document.querySelector('link[rel="manifest"]').href,
              ogTitle: meta('og:title'), ogDescription: meta('og:description'), ogImage: meta('og:image'),
              width: meta('og:image:width'), height: meta('og:image:height'), card: meta('twitter:card'),
              twitterImage: meta('twitter:image'), theme: meta('theme-color')};
    });
    await checkAppFiles(page, head);
  } finally {
    await server.close();
  }
});

async function checkAppFiles(page, head) {
  expect(head.ogTitle).toBe('Maze');
  expect(head.ogDescription.length).toBeGreaterThan(20);
  expect(head.card).toBe('summary_large_image');
  expect(head.twitterImage).toBe(head.ogImage);
  expect(head.theme).toMatch(/^#[0-9a-f]{6}$/);

  const manifest = await page.evaluate((url) => fetch(url).then((r) => r.json()), head.manifest);
  expect(manifest).toMatchObject({name: 'Maze', short_name: 'Maze', display: 'standalone', start_url: './'});
  expect(manifest.background_color).toMatch(/^#[0-9a-f]{6}$/);
  expect(manifest.theme_color).toBe(head.theme);
  // Every picture is served, a PNG of the size it claims, decoded by the browser.
  const sizeOf = (file) => page.evaluate(async (url) => {
    const response = await fetch(url);
    if (!response.ok || response.headers.get('Content-Type') !== 'image/png')
      return `${url}: ${response.status} ${response.headers.get('Content-Type')}`;
    const image = await createImageBitmap(await response.blob());
    return `${image.width}x${image.height}`;
  }, new URL(file, head.manifest).href);
  const sizes = [];
  for (const icon of manifest.icons) {
    expect(icon.type).toBe('image/png');
    expect(await sizeOf(icon.src), icon.src).toBe(icon.sizes);
    sizes.push(`${icon.sizes} ${icon.purpose}`);
  }
  expect(sizes).toEqual(expect.arrayContaining(['192x192 any', '512x512 any', '512x512 maskable']));
  expect(await sizeOf(head.ogImage)).toBe(`${head.width}x${head.height}`);
}

test('after one visit the page plays offline, and a link opens', async ({browser, walk}) => {
  const folder = copySite(path.join(walk.root, 'offline'));
  const server = await serve(folder);
  const context = await browser.newContext();
  const page = await context.newPage();
  try {
    await page.goto(server.url);
    await played(page);
    await page.waitForFunction(async () => (await navigator.serviceWorker.ready).active !== null);
    // The second visit is the worker's.
    await page.reload();
    const caches = await controlled(page);
    expect(caches).toEqual([`maze-${workerOf(folder).version}`]);
    await played(page);
    // The textures the first visit drew are kept with the build, for the next visits to read.
    const kept = await page.evaluate(async (name) => (await (await caches.open(name)).keys())
      .map((r) => new URL(r.url).pathname.split('/').slice(-2).join('/')), caches[0]);
    expect(kept).toEqual(expect.arrayContaining(kTextureFiles.map((f) => `drawn-textures/${f}`)));

    await server.close();
    await context.setOffline(true);
    await page.reload();
    await played(page);
    // It walks: a turn's key turns the walker.
    const {heading} = await page.evaluate(() => window.mazePage.state());
    await page.locator('#maze').focus();
    await page.keyboard.press('d');
    await page.waitForFunction(([h, idle]) => {
      const s = window.mazePage.state();
      return s.heading !== h && s.movement === idle;
    }, [heading, kIdle], {polling: 20});
    // A link's maze, in a new tab: read from the link alone.
    const maze = 'rrrrr\nr*  x\nrrrrr\n';
    const linked = await context.newPage();
    await linked.goto(`${server.url}#maze=${Buffer.from(maze).toString('base64url')}`);
    await played(linked);
    expect(await linked.evaluate(() => window.mazePage.mazeText())).toBe(maze);
    expect(await linked.evaluate(() => window.mazePage.state().column)).toBe(1);
    // A level's link: its file came with the build.
    const level = await context.newPage();
    await level.goto(`${server.url}#level=3`);
    await played(level);
    expect(await level.evaluate(() => window.mazePage.mazeText()))
        .toBe(fs.readFileSync(path.join(folder, 'levels', '03.dat'), 'latin1'));
  } finally {
    await context.close();
    await server.close().catch(() => {});
  }
});

test('a new build replaces the old one\'s cache, with a notice, and opens on the next visit', async ({browser, walk}) => {
  const folder = copySite(path.join(walk.root, 'update'));
  const server = await serve(folder);
  const context = await browser.newContext();
  const page = await context.newPage();
  try {
    const old = workerOf(folder);
    await page.goto(server.url);
    await played(page);
    await page.reload();
    expect(await controlled(page)).toEqual([`maze-${old.version}`]);
    await played(page);

    // A new build: another stylesheet, and the build's last step run again.
    fs.appendFileSync(path.join(folder, 'page.css'), '\n/* the new build */\n');
    execFileSync('node', [path.join(root, 'web/tools/finish_site.mjs'), path.join(root, 'web/page/sw.js'), folder,
                          ...old.files]);
    const fresh = workerOf(folder);
    expect(fresh.version).not.toBe(old.version);

    // The next visit is still the old build's; its worker fetches the new one, which takes over.
    await page.reload();
    await expect(page.locator('#notice')).toHaveText('This page was updated: the new version opens on your next visit.');
    await page.waitForFunction((name) => caches.keys().then((k) => k.length === 1 && k[0] === name),
                               `maze-${fresh.version}`, {polling: 50});
    await page.reload();
    await played(page);
    const css = await page.evaluate(() => fetch('page.css').then((r) => r.text()));
    expect(css).toContain('/* the new build */');
    await server.close();
    await context.setOffline(true);
    await page.reload();
    await played(page);
    expect(await page.evaluate(() => fetch('page.css').then((r) => r.text()))).toContain('/* the new build */');
  } finally {
    await context.close();
    await server.close().catch(() => {});
  }
});
