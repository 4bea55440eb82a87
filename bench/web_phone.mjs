// The page on a phone's network, beside the fill floor served the same way:
// part of the web bench (web_bench.mjs), also run on its own:
//
//   node bench/web_phone.mjs SITE [--rounds N]
//
// Headless Chromium with normal frame pacing, a phone-sized context (390x844,
// touch, scale 2), the processor slowed 4 times and "slow 4G" (150 ms
// latency, 1.6 Mbit/s down, 0.75 up) emulated through the DevTools protocol,
// files served gzip-compressed as static hosts serve them. Each round, in
// turn: the fill floor in a fresh context; the maze page in a fresh context
// (its first view, its full-detail view, the bytes on the wire), then in the
// same context, once its service worker controls it, the page again (the
// second visit: its first view and the requests the server saw before it),
// and the frames the page draws in 5 s of standing still after its first
// second.
//
// "First view" is the first frame that draws (a draw call after a clear),
// finished by the GPU (a fence after it), from navigation; "full detail" the
// first such frame after every texture is up at full resolution (level 0,
// 256 pixels a side or more: for the maze its seven and the exit floor made
// from the floor's, for the fill floor one).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';

import {launchOptions} from '../tests/web/chromium.mjs';
import {serve} from '../tests/web/static_server.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const kSlow4G = {offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8};
const kCpuSlowdown = 4;
const kPhone = {viewport: {width: 390, height: 844}, deviceScaleFactor: 2, isMobile: true, hasTouch: true};
const kStillSeconds = 5;
const kMazeTextures = 8;

// Added before the page's own scripts; `textures` is how many full-size
// textures make the full detail.
function probe(textures) {
  const p = window.__phone = {frames: 0, viewMs: null, detailMs: null};
  const full = new Set();  // the textures given a full-size level 0
  let bound = null;
  const proto = WebGL2RenderingContext.prototype;
  let drawnThisFrame = false, detailFrame = false;
  const fence = (gl, key) => {
    const sync = gl.fenceSync(gl.SYNC_GPU_COMMANDS_COMPLETE, 0);
    gl.flush();
    const poll = () => {
      if (gl.clientWaitSync(sync, 0, 0) === gl.TIMEOUT_EXPIRED)
        return setTimeout(poll, 0);
      gl.deleteSync(sync);
      p[key] = performance.timeOrigin + performance.now();
    };
    setTimeout(poll, 0);
  };
  const clear = proto.clear;
  proto.clear = function (mask) {
    ++p.frames;
    drawnThisFrame = false;
    detailFrame = full.size >= textures;
    return clear.call(this, mask);
  };
  const drawn = (gl) => {
    if (drawnThisFrame)
      return;
    drawnThisFrame = true;
    const view = p.viewMs === null && p.viewPending === undefined;
    const detail = detailFrame && p.detailMs === null && p.detailPending === undefined;
    if (view)
      p.viewPending = true;
    if (detail)
      p.detailPending = true;
    if (view || detail) {
      queueMicrotask(() => {  // once the frame's callback has issued all of it
        if (view)
          fence(gl, 'viewMs');
        if (detail)
          fence(gl, 'detailMs');
      });
    }
  };
  for (const name of ['drawArrays', 'drawElements', 'drawArraysInstanced', 'drawElementsInstanced']) {
    const draw = proto[name];
    proto[name] = function (...args) {
      drawn(this);
      return draw.apply(this, args);
    };
  }
  const bind = proto.bindTexture;
  proto.bindTexture = function (target, texture) {
    if (target === this.TEXTURE_2D)
      bound = texture;
    return bind.call(this, target, texture);
  };
  const upload = proto.texImage2D;
  proto.texImage2D = function (target, level, format, width, ...rest) {
    if (target === this.TEXTURE_2D && level === 0 && typeof width === 'number') {
      if (width >= 256)
        full.add(bound);
      else
        full.delete(bound);  // a small one in its place
    }
    return upload.call(this, target, level, format, width, ...rest);
  };
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

// A page in `context` under the phone's network and processor, with the
// probe; `bytes.n` counts what arrives over the wire.
async function phonePage(context, textures) {
  const page = await context.newPage();
  await page.addInitScript(probe, textures);
  const cdp = await context.newCDPSession(page);
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', kSlow4G);
  await cdp.send('Emulation.setCPUThrottlingRate', {rate: kCpuSlowdown});
  const bytes = {n: 0};
  cdp.on('Network.loadingFinished', (e) => { bytes.n += e.encodedDataLength; });
  return {page, bytes};
}

// Navigates and waits for the first view and the full detail; times from the
// navigation's start, in ms, and its start as the wall clock has it.
async function timedVisit(page, url) {
  await page.goto(url, {waitUntil: 'commit', timeout: 120000});
  await page.waitForFunction(() => window.__phone.viewMs !== null && window.__phone.detailMs !== null, null,
                             {polling: 50, timeout: 120000});
  return page.evaluate(() => ({start: performance.timeOrigin, viewMs: window.__phone.viewMs - performance.timeOrigin,
                               detailMs: window.__phone.detailMs - performance.timeOrigin}));
}

export async function phoneFigures(site, rounds) {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'maze-web-phone-'));
  fs.copyFileSync(path.join(here, 'web_fill_floor.html'), path.join(root, 'fill.html'));
  fs.copyFileSync(path.join(here, 'web_pacing.mjs'), path.join(root, 'pacing.mjs'));
  fs.cpSync(path.resolve(site), path.join(root, 'site'), {recursive: true, dereference: true});  // served from inside the folder
  const requests = [];  // [wall-clock ms, path] as the server saw them
  const server = await serve(root, {onRequest: (p) => requests.push([Date.now(), p])});
  const browser = await chromium.launch(launchOptions());
  const r = {floor: [], view: [], detail: [], bytes: [], again: [], againRequests: [], still: []};
  try {
    for (let round = 0; round < rounds + 1; ++round) {  // round 0 warms the browser up, unmeasured
      const fill = await browser.newContext(kPhone);
      const floor = await timedVisit((await phonePage(fill, 1)).page, `${server.url}fill.html`);
      await fill.close();

      const context = await browser.newContext(kPhone);
      const first = await phonePage(context, kMazeTextures);
      const cold = await timedVisit(first.page, `${server.url}site/`);
      const bytes = first.bytes.n;
      await first.page.waitForFunction(() => navigator.serviceWorker.controller !== null, null,
                                       {polling: 100, timeout: 120000});
      await first.page.close();
      const second = await phonePage(context, kMazeTextures);
      const before = requests.length;
      const warm = await timedVisit(second.page, `${server.url}site/`);
      const onTheWay = requests.slice(before).filter(([t]) => t <= warm.start + warm.viewMs).map(([, p]) => p);
      await sleep(Math.max(0, 1000 - (Date.now() - (warm.start + warm.viewMs))));
      const f0 = await second.page.evaluate(() => window.__phone.frames);
      await sleep(kStillSeconds * 1000);
      const still = (await second.page.evaluate(() => window.__phone.frames)) - f0;
      await context.close();
      if (round === 0)
        continue;
      r.floor.push(floor.viewMs);
      r.view.push(cold.viewMs);
      r.detail.push(cold.detailMs);
      r.bytes.push(bytes);
      r.again.push(warm.viewMs);
      r.againRequests.push(onTheWay);
      r.still.push(still);
    }
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(root, {recursive: true, force: true});
  }
  return r;
}

export function printPhoneFigures(r) {
  const ratio = (v) => median(v.map((ms, i) => ms / r.floor[i]));
  const ms = (v) => `${median(v).toFixed(0)} ms`;
  const mark = (ok) => (ok ? 'met' : 'NOT met');
  const requested = [...new Set(r.againRequests.flat())];
  console.log(`Phone: 390x844, scale 2, slow 4G (150 ms, 1.6 Mbit/s down, 0.75 up), processor x${kCpuSlowdown},`
              + ` gzip on (medians of ${r.floor.length} rounds; ratios: medians of each round's ratio to its fill floor)`);
  console.log(`  fill floor, first view            ${ms(r.floor)}`);
  console.log(`  maze page, first view             ${ms(r.view)}   ${ratio(r.view).toFixed(2)} x the floor`
              + ` (at most 2.4: ${mark(ratio(r.view) <= 2.4)})`);
  console.log(`  maze page, full detail            ${ms(r.detail)}   ${ratio(r.detail).toFixed(2)} x the floor`
              + ` (at most 3.2: ${mark(ratio(r.detail) <= 3.2)})`);
  console.log(`  maze page, second visit (cache)   ${ms(r.again)}   ${ratio(r.again).toFixed(2)} x the floor`
              + ` (at most 1.5: ${mark(ratio(r.again) <= 1.5)});`
              + ` requests before it: ${requested.length ? requested.join(' ') : 'none'}`);
  console.log(`  bytes on the wire, first visit to full detail: ${median(r.bytes).toFixed(0)}`);
  console.log(`  frames drawn in ${kStillSeconds} s of standing still: ${median(r.still).toFixed(0)}`
              + ` [${Math.min(...r.still)} .. ${Math.max(...r.still)}]`);
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [site, flag, value] = process.argv.slice(2);
  const rounds = flag === '--rounds' ? Number(value) : 5;
  if (!site || !(rounds >= 1)) {
    console.error('usage: web_phone.mjs SITE [--rounds N]');
    process.exit(2);
  }
  phoneFigures(site, rounds).then((r) => printPhoneFigures(r), (e) => {
    console.error(`web_phone: ${e.message}`);
    process.exit(2);
  });
}
