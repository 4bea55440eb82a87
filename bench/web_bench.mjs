// The web page's figures beside two reference WebGL pages, measured in one run.
//
//   node bench/web_bench.mjs SITE [--rounds N] [--first-rounds N] [--seconds S] [--warmup S] [--also NAME=SITE]...
//                            [--phone-rounds N]
//
// Then the page on a phone's network beside the fill floor (web_phone.mjs,
// --phone-rounds rounds, 5 unless given; 0 leaves it out).
// One headless Chromium (Debian's, WebGL 2 on SwiftShader) with the frame-rate
// limit and vertical sync off, driven through Playwright's library API,
// visits in turn: the minimal page (bench/web_minimal.html, clears only), the
// fill floor (bench/web_fill_floor.html, what any textured first-person view
// costs), the maze page on its shipped maze and on the 32 by 32 maze of
// `mazetool generate --width 32 --height 32 --seed 3` (the page's link
// #seed=3&width=32&height=32 builds the same maze), the site's program with
// no page around it (bench/web_core_only.html, on the shipped maze: what the
// program's own load takes), and the same three for each --also site
// (another build, measured in the same run). Frame rates are medians over
// --rounds visits of each page; first frames are medians over --first-rounds
// short visits that wait for the first frame only, in an order that turns
// each round, since one page's single visits differ by a factor of 1.5 and
// more on a shared 2-core machine. Every page is measured the same way, from
// outside: a script the bench adds before the page's own counts each frame's
// clear, and after the first frame's calls it sets a fence of its own, so
// "first frame finished" is the moment the GPU has finished that frame, not
// when it was issued. The maze pages draw only while something moves, so
// the walker turns throughout, on every page: the frame rates are those of
// a walk in motion.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';

import {launchOptions} from '../tests/web/chromium.mjs';
import {serve} from '../tests/web/static_server.mjs';
import {phoneFigures, printPhoneFigures} from './web_phone.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const kSizeBudget = 2 * 1000 * 1000;
const kLink32 = '#seed=3&width=32&height=32';

const kProbe = `(() => {
  const probe = window.__bench = {frames: 0, issuedMs: null, finishedMs: null};
  const proto = WebGL2RenderingContext.prototype;
  const clear = proto.clear;
  proto.clear = function (mask) {
    ++probe.frames;
    if (probe.issuedMs === null) {
      probe.issuedMs = -1;
      const gl = this;
      queueMicrotask(() => {  // once the frame's callback has issued all of it
        probe.issuedMs = performance.now();
        const fence = gl.fenceSync(gl.SYNC_GPU_COMMANDS_COMPLETE, 0);
        gl.flush();
        const poll = () => {
          if (gl.clientWaitSync(fence, 0, 0) === gl.TIMEOUT_EXPIRED)
            return setTimeout(poll, 0);
          gl.deleteSync(fence);
          probe.finishedMs = performance.now();
        };
        setTimeout(poll, 0);
      });
    }
    return clear.call(this, mask);
  };
  // The maze pages draw only while something moves: the walker is kept
  // turning (a key every 5 ms; one that comes while a turn plays is dropped).
  setInterval(() => document.dispatchEvent(new KeyboardEvent('keydown', {key: 'a'})), 5);
})();`;

function parseArgs(argv) {
  const o = {site: null, rounds: 5, firstRounds: 25, seconds: 3, warmup: 1, also: [], phoneRounds: 5};
  for (let i = 0; i < argv.length; ++i) {
    const a = argv[i];
    const value = () => {
      if (i + 1 >= argv.length)
        throw new Error(`${a} needs a value`);
      return argv[++i];
    };
    if (a === '--rounds') o.rounds = Number(value());
    else if (a === '--first-rounds') o.firstRounds = Number(value());
    else if (a === '--seconds') o.seconds = Number(value());
    else if (a === '--warmup') o.warmup = Number(value());
    else if (a === '--phone-rounds') o.phoneRounds = Number(value());
    else if (a === '--also') {
      const [name, dir] = value().split('=');
      o.also.push({name, dir});
    } else if (!o.site) o.site = a;
    else throw new Error(`unknown argument ${a}`);
  }
  if (!o.site || !(o.rounds >= 1) || !(o.firstRounds >= 1) || !(o.seconds > 0) || !(o.warmup >= 0)
      || !(o.phoneRounds >= 0))
    throw new Error('usage: web_bench.mjs SITE [--rounds N] [--first-rounds N] [--seconds S] [--warmup S]'
                    + ' [--also NAME=SITE]... [--phone-rounds N]');
  return o;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

// {fps, issuedMs, finishedMs} of one visit: the first frame from navigation
// start, frames over `seconds` after `warmup` (none for 0 seconds).
async function visit(page, url, warmup, seconds) {
  await page.goto('about:blank');  // the last page's frames and context are gone before the clock starts
  await page.goto(url);
  await page.waitForFunction(() => window.__bench.finishedMs !== null, null, {polling: 20, timeout: 60000});
  const first = await page.evaluate(() => [window.__bench.issuedMs, window.__bench.finishedMs]);
  if (seconds === 0)
    return {fps: null, issuedMs: first[0], finishedMs: first[1]};
  await sleep(warmup * 1000);
  const [f0, t0] = await page.evaluate(() => [window.__bench.frames, performance.now()]);
  await sleep(seconds * 1000);
  const [f1, t1] = await page.evaluate(() => [window.__bench.frames, performance.now()]);
  return {fps: (f1 - f0) * 1000 / (t1 - t0), issuedMs: first[0], finishedMs: first[1]};
}

function siteBytes(dir) {
  return fs.readdirSync(dir).map((f) => path.join(dir, f)).filter((f) => fs.statSync(f).isFile())
    .reduce((sum, f) => sum + fs.statSync(f).size, 0);
}

async function main() {
  const o = parseArgs(process.argv.slice(2));
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'maze-web-bench-'));
  const pages = [
    {name: 'minimal WebGL', url: 'minimal.html'},
    {name: 'fill floor', url: 'fill.html'},
  ];
  fs.copyFileSync(path.join(here, 'web_minimal.html'), path.join(root, 'minimal.html'));
  fs.copyFileSync(path.join(here, 'web_fill_floor.html'), path.join(root, 'fill.html'));
  fs.copyFileSync(path.join(here, 'web_pacing.mjs'), path.join(root, 'pacing.mjs'));
  const sites = [{name: 'maze', dir: o.site}, ...o.also];
  sites.forEach((s, i) => {
    fs.cpSync(path.resolve(s.dir), path.join(root, `site${i}`), {recursive: true, dereference: true});  // served from inside the folder
    pages.push({name: `${s.name} page`, url: `site${i}/`, site: s});
    pages.push({name: `${s.name} 32x32`, url: `site${i}/${kLink32}`, site: s});
    const core = fs.readFileSync(path.join(here, 'web_core_only.html'), 'utf8').replace('<base href="SITE/">', `<base href="site${i}/">`);
    fs.writeFileSync(path.join(root, `core${i}.html`), core);
    pages.push({name: `${s.name} core only`, url: `core${i}.html`, site: s});
  });

  const server = await serve(root);
  const browser = await chromium.launch(launchOptions(['--disable-frame-rate-limit', '--disable-gpu-vsync']));
  const results = new Map(pages.map((p) => [p.name, []]));  // the frame-rate visits
  const firsts = new Map(pages.map((p) => [p.name, []]));   // the first-frame visits
  let version = '';
  try {
    version = browser.version();
    const page = await browser.newPage({viewport: {width: 800, height: 800}});
    await page.addInitScript(kProbe);
    // One unmeasured visit each first: the GPU process and shader caches start cold.
    for (const p of pages)
      await visit(page, server.url + p.url, 0, 0.3);
    for (let round = 0; round < o.rounds; ++round)
      for (const p of pages)
        results.get(p.name).push(await visit(page, server.url + p.url, o.warmup, o.seconds));
    // Each round in another order, so that no page always follows the same one.
    for (let round = 0; round < o.firstRounds; ++round)
      for (let i = 0; i < pages.length; ++i) {
        const p = pages[(i + round) % pages.length];
        firsts.get(p.name).push(await visit(page, server.url + p.url, 0, 0));
      }
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(root, {recursive: true, force: true});
  }

  // Per-round ratios to the fill floor visited in the same round: frame rates
  // from the long visits, first frames from the short ones.
  const from = (key) => (key === 'fps' ? results : firsts);
  const ratios = (name, key) => from(key).get(name).map((r, i) => r[key] / from(key).get('fill floor')[i][key]);
  const range = (v, digits) => `[${Math.min(...v).toFixed(digits)} .. ${Math.max(...v).toFixed(digits)}]`;
  const pad = (s, n) => String(s).padEnd(n);
  const lpad = (s, n) => String(s).padStart(n);

  console.log(`Web page, 500x500 canvas, headless Chromium ${version} (WebGL 2 on SwiftShader), frame-rate limit and vsync off`);
  console.log(`  (frames over ${o.seconds} s after ${o.warmup} s of warm-up, median of ${o.rounds} alternating visits;`
              + ` first frames, median of ${o.firstRounds} more visits; range in brackets;`
              + ' ratios are medians of each round\'s ratio to that round\'s fill floor)');
  console.log(`  ${pad('', 16)}${lpad('frames/s', 9)} ${pad('', 16)}${lpad('/ floor', 8)} ${pad('', 16)}`
              + `${lpad('issued', 8)} ${lpad('finished', 9)} ${pad('', 16)}${lpad('/ floor', 8)}`);
  for (const p of pages) {
    const fps = results.get(p.name).map((x) => x.fps);
    const fin = firsts.get(p.name).map((x) => x.finishedMs), iss = firsts.get(p.name).map((x) => x.issuedMs);
    const fr = ratios(p.name, 'fps'), lr = ratios(p.name, 'finishedMs');
    console.log(`  ${pad(p.name, 16)}${lpad(median(fps).toFixed(1), 9)} ${pad(range(fps, 1), 16)}`
                + `${lpad(median(fr).toFixed(3), 8)} ${pad(range(fr, 3), 16)}`
                + `${lpad(median(iss).toFixed(0) + ' ms', 8)} ${lpad(median(fin).toFixed(0) + ' ms', 9)} `
                + `${pad(range(fin, 0), 16)}${lpad(median(lr).toFixed(3), 8)}`);
  }
  console.log('  (first frame: navigation start to its calls issued, and to the GPU having finished it)');
  for (const s of sites) {
    const byRound = (name) => firsts.get(name).map((r) => r.finishedMs);
    const page = byRound(`${s.name} page`), core = byRound(`${s.name} core only`), floor = byRound('fill floor');
    const own = median(page.map((ms, i) => ms - core[i])), load = median(core.map((ms, i) => ms - floor[i]));
    console.log(`  ${s.name}: the program's own load adds ${load.toFixed(0)} ms to the fill floor's first frame,`
                + ` the page around it ${own.toFixed(0)} ms more (medians of each round's differences)`);
  }
  console.log('Targets (reported, not enforced):');
  for (const s of sites) {
    const first = median(ratios(`${s.name} page`, 'finishedMs'));
    const fps = median(ratios(`${s.name} page`, 'fps'));
    const fps32 = median(ratios(`${s.name} 32x32`, 'fps'));
    const mark = (ok) => (ok ? 'met' : 'NOT met');
    // The first view's target is the phone's (web_phone.mjs): the time a player waits on a phone's
    // network, not this one, against a fill floor that loads nothing.
    console.log(`  ${s.name}: first frame finished ${first.toFixed(3)} x the fill floor's (no target here: see the phone's);`
                + ` frames/s ${fps.toFixed(3)} and ${fps32.toFixed(3)} (32x32) x the fill floor's`
                + ` (at least 0.95: ${mark(fps >= 0.95)}, ${mark(fps32 >= 0.95)})`);
  }
  if (o.phoneRounds > 0)
    printPhoneFigures(await phoneFigures(o.site, o.phoneRounds));
  let over = false;
  for (const s of sites) {
    const size = siteBytes(s.dir);
    over ||= size > kSizeBudget;
    console.log(`Page files: ${size} bytes in ${s.dir} (${size <= kSizeBudget ? 'within' : 'OVER'} the 2 MB budget)`);
  }
  return over ? 1 : 0;
}

main().then((code) => process.exit(code), (error) => {
  console.error(`web_bench: ${error.message}`);
  process.exit(2);
});
