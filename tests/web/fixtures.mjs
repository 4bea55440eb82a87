// What the page's tests share: the built site (MAZE_WEB_SITE), mazetool and
// desktop_pictures from the native build, a server per worker for folders
// the tests lay out, and `walk`, a helper that opens one of them and reads
// the walk back through the page's test hook (window.mazePage), its pixels,
// its messages and its console.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {test as base, expect} from '@playwright/test';

import {serve} from './static_server.mjs';

export {expect};

const env = (name) => {
  const value = process.env[name];
  if (!value)
    throw new Error(`${name} is not set: see tests/web/playwright.config.mjs`);
  return path.resolve(value);
};
export const site = env('MAZE_WEB_SITE');
const kPageFiles = ['index.html', 'page.css', 'maze.js', 'maze.wasm', 'texture_files.js'];
for (const f of kPageFiles)
  if (!fs.existsSync(path.join(site, f)))
    throw new Error(`${site} has no built page (${f}); build it first (scripts/test does, with the web-test preset)`);

export const kTextureFiles = ['metal004.bmp', 'pipes6lights.bmp', 'pipeslights.bmp', 'pipeslightswires.bmp',
                              'StoneWallImproved.bmp', 'RustyBricksGrate.bmp', 'SteelBoxFan.bmp'];
// Plain test textures: the floor grey, each wall letter its own colour.
export const kPlain = {floor: [128, 128, 128], r: [255, 0, 0], g: [0, 255, 0], b: [0, 0, 255],
                       c: [0, 255, 255], m: [255, 0, 255], y: [255, 255, 0]};
export const kIdle = 4;
export const kCongratulations = 'You found the end.  Congratulations!!!!';
// Facing a wall of each colour in turn: start facing r, then three left turns.
export const kRoom = 'ggggg\nc*  r\nbbbbb\n';

// An uncompressed 24-bit bitmap of one colour.
export function plainBmp([r, g, b], side = 8) {
  const pixels = Buffer.alloc(side * side * 3);
  for (let i = 0; i < pixels.length; i += 3)
    pixels.set([b, g, r], i);
  const header = Buffer.alloc(54);
  header.write('BM', 0, 'latin1');
  header.writeUInt32LE(54 + pixels.length, 2);
  header.writeUInt32LE(54, 10);
  header.writeUInt32LE(40, 14);
  header.writeInt32LE(side, 18);
  header.writeInt32LE(side, 22);
  header.writeUInt16LE(1, 26);
  header.writeUInt16LE(24, 28);
  header.writeUInt32LE(pixels.length, 34);
  return Buffer.concat([header, pixels]);
}

export function plainTextures() {
  const colours = ['floor', 'r', 'g', 'b', 'c', 'm', 'y'].map((k) => kPlain[k]);
  return Object.fromEntries(kTextureFiles.map((f, i) => [f, plainBmp(colours[i])]));
}

// The shipped maze and the desktop's textures, as `mazetool textures` writes them.
let shipped = null;
export function shippedFiles() {
  if (!shipped) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'maze-textures-'));
    mazetool('textures', dir);
    shipped = Object.fromEntries(kTextureFiles.map((f) => [f, fs.readFileSync(path.join(dir, f))]));
    fs.rmSync(dir, {recursive: true, force: true});
    shipped['maze1.dat'] = fs.readFileSync(path.join(site, 'maze1.dat'));
  }
  return {...shipped};
}

// mazetool's standard output; a last argument {allowFailure: true} takes it
// from a run that exits with a failure too.
export function mazetool(...args) {
  const options = typeof args.at(-1) === 'object' ? args.pop() : {};
  try {
    return execFileSync(env('MAZE_MAZETOOL'), args, {encoding: 'utf8'});
  } catch (e) {
    if (options.allowFailure && typeof e.stdout === 'string')
      return e.stdout;
    throw e;
  }
}

export function desktopPictures(...args) {
  execFileSync(env('MAZE_DESKTOP_PICTURES'), args, {stdio: ['ignore', 'ignore', 'inherit']});
}

// One finger down at the first point, moved through the rest, lifted once
// `held` (if given) has resolved.
export async function touch(page, points, held = null) {
  const cdp = await page.context().newCDPSession(page);
  const [first, ...rest] = points;
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [first]});
  for (const p of rest)
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: [p]});
  if (held)
    await held();
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  await cdp.detach();
}

// The centre of what `locator` finds, in page coordinates.
export async function middle(page, locator) {
  const box = await locator.boundingBox();
  return {x: box.x + box.width / 2, y: box.y + box.height / 2};
}

export const near = (a, b, tolerance = 1) => a.every((x, i) => Math.abs(x - b[i]) <= tolerance);
export const meanDifference = (a, b) => {
  let sum = 0;
  for (let i = 0; i < a.length; ++i)
    sum += Math.abs(a[i] - b[i]);
  return sum / a.length;
};

// Replaces the page's animation frames and clock with virtual ones from
// the moment the page calls window.virtualFrames.take() (which resolves once
// the page waits for a virtual frame): from then on, each frame of
// virtualFrames.run(count, hz) moves performance.now() on by 1/hz s and runs
// the animation frame callbacks then due, whatever the real time, until
// virtualFrames.release().
export function virtualFrames(page) {
  return page.addInitScript(() => {
    const realFrame = window.requestAnimationFrame.bind(window);
    const realNow = performance.now.bind(performance);
    let clock = null;  // {now, callbacks}
    let id = 1 << 30;
    let waiting = null;  // take()'s
    window.requestAnimationFrame = (callback) => {
      if (!clock)
        return realFrame(callback);
      clock.callbacks.push(callback);
      if (waiting)
        waiting();
      waiting = null;
      return ++id;
    };
    performance.now = () => (clock ? clock.now : realNow());
    window.virtualFrames = {
      take() {
        clock = {now: realNow(), callbacks: []};
        return new Promise((resolve) => {
          waiting = resolve;
        });
      },
      // Back to the real clock and frames.
      release() {
        const due = clock.callbacks;
        clock = null;
        for (const callback of due)
          realFrame(callback);
      },
      async run(count, hz) {
        for (let i = 0; i < count; ++i) {
          clock.now += 1000 / hz;
          const due = clock.callbacks;
          clock.callbacks = [];
          for (const callback of due)
            callback(clock.now);
          await new Promise((resolve) => setTimeout(resolve, 0));  // the page's events get their turn
        }
      },
    };
  });
}

// Counts in window.programCalls every call the page makes into the program
// (maze.wasm's exports; the frame loop's own frames are not calls from the
// page) and in window.mapDraws every drawing of the map.
export function countProgramCalls(page) {
  return page.addInitScript(() => {
    window.programCalls = 0;
    window.mapDraws = 0;
    const instantiate = WebAssembly.instantiate;
    WebAssembly.instantiate = async function (...args) {
      const result = await instantiate.apply(this, args);
      const instance = result instanceof WebAssembly.Instance ? result : result.instance;
      const exports = {};
      for (const [name, value] of Object.entries(instance.exports))
        exports[name] = typeof value !== 'function' ? value : (...a) => {
          ++window.programCalls;
          return value(...a);
        };
      const counted = {exports};  // all the program's glue reads of an instance
      return result instanceof WebAssembly.Instance ? counted : {module: result.module, instance: counted};
    };
    const clear = CanvasRenderingContext2D.prototype.clearRect;
    CanvasRenderingContext2D.prototype.clearRect = function (...a) {
      if (this.canvas.id === 'map')
        ++window.mapDraws;
      return clear.apply(this, a);
    };
  });
}

class Walk {
  constructor(page, root, url) {
    this.page = page;
    this.root = root;
    this.url = url;
    this.console = [];
    // The folders laid out here have no service worker (app.test.mjs lays out
    // its own): the registration's 404 is theirs, not the page's.
    page.on('console', (m) => {
      if (!/^A bad HTTP response code \(404\) was received when fetching the script\.$/.test(m.text()))
        this.console.push([m.type(), m.text()]);
    });
    page.on('pageerror', (e) => this.console.push(['exception', e.message]));
  }

  // A folder served at URL/name/: the page, its levels, a maze1.dat and
  // seven textures (plain ones unless given); names in `drop` left out.
  // textures.json names all seven texture files, so the page reads them,
  // unless `drawn`: then the page draws the shipped ones. Returns the folder.
  layOut(name, {maze = kRoom, files = null, drop = [], drawn = false} = {}) {
    const folder = path.join(this.root, name);
    fs.mkdirSync(folder);
    for (const f of kPageFiles)
      fs.copyFileSync(path.join(site, f), path.join(folder, f));
    fs.cpSync(path.join(site, 'levels'), path.join(folder, 'levels'), {recursive: true});
    const all = {...(files || plainTextures())};
    if (maze !== null && !all['maze1.dat'])
      all['maze1.dat'] = maze;
    all['textures.json'] = JSON.stringify({files: drawn ? [] : kTextureFiles});
    for (const [f, data] of Object.entries(all))
      if (!drop.includes(f))
        fs.writeFileSync(path.join(folder, f), data);
    return folder;
  }

  // A file of the test's own beside the folders.
  file(name, data) {
    const file = path.join(this.root, name);
    fs.writeFileSync(file, data);
    return file;
  }

  // Opens the folder's page and waits until it has drawn (two frames, or one
  // and nothing more to draw), or stopped with a message.
  async open(name, fragment = '') {
    this.console.length = 0;
    await this.page.goto(`${this.url}${name}/${fragment}`);
    await this.page.waitForFunction(() => {
      const s = window.mazePage && window.mazePage.state();
      return (s && (s.frames > 1 || (s.frames === 1 && s.still))) || !document.getElementById('message').hidden
          || document.getElementById('error').open;
    });
  }

  state() {
    return this.page.evaluate(() => window.mazePage.state());
  }

  mazeText() {
    return this.page.evaluate(() => window.mazePage.mazeText());
  }

  until(predicate, arg) {
    return this.page.waitForFunction(predicate, arg, {polling: 20});
  }

  idle() {
    return this.until((idle) => {
      const s = window.mazePage.state();
      return s.movement === idle || !s.running;
    }, kIdle);
  }

  // Types keys one at a time, each after the previous motion has ended.
  async type(keys) {
    for (const k of keys) {
      await this.page.keyboard.press(k);
      await this.idle();
    }
  }

  // Lets `count` frames be drawn, or fewer once the page has nothing left to
  // draw: past its first second it draws only when something changes.
  async framesPass(count = 15) {
    const {frames} = await this.state();
    await this.until(([f, n]) => {
      const s = window.mazePage.state();
      return s.frames >= f + n || s.still;
    }, [frames, count]);
  }

  // Keeps the walker turning (a key every 10 ms, each one dropped while a
  // turn plays), so that the page draws on; resolves to a function that stops it.
  async keepTurning() {
    await this.page.evaluate(() => {
      window.turning = setInterval(() => document.dispatchEvent(new KeyboardEvent('keydown', {key: 'a'})), 10);
    });
    return () => this.page.evaluate(() => clearInterval(window.turning));
  }

  message() {
    return this.page.evaluate(() => (document.getElementById('message').hidden ? null
      : document.getElementById('message-text').textContent));
  }

  // The view as PNG bytes, in CSS pixels: its box, rounded to whole pixels.
  async shot() {
    const box = await this.page.locator('#maze').boundingBox();
    const x = Math.round(box.x), y = Math.round(box.y);
    return this.page.screenshot({clip: {x, y, width: Math.round(box.x + box.width) - x,
                                        height: Math.round(box.y + box.height) - y}, scale: 'css'});
  }

  // RGB bytes, top row first, of a PNG, decoded by the browser itself.
  async rgb(png) {
    const b64 = await this.page.evaluate(async (data) => {
      const blob = await (await fetch(`data:image/png;base64,${data}`)).blob();
      const image = await createImageBitmap(blob, {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
      const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
      context.drawImage(image, 0, 0);
      const rgba = context.getImageData(0, 0, image.width, image.height).data;
      let text = '';
      for (let i = 0; i < rgba.length; i += 4)
        text += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
      return btoa(text);
    }, png.toString('base64'));
    return Buffer.from(b64, 'base64');
  }

  // The colour at the middle of the view.
  async centre() {
    const box = await this.page.locator('#maze').boundingBox();
    const png = await this.page.screenshot({
      clip: {x: Math.floor(box.x + box.width / 2), y: Math.floor(box.y + box.height / 2), width: 1, height: 1},
      scale: 'css'});
    return [...(await this.rgb(png))];
  }
}

export const test = base.extend({
  server: [async ({}, use) => {
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'maze-web-test-'));
    const server = await serve(root);
    await use({root, url: server.url});
    await server.close();
    fs.rmSync(root, {recursive: true, force: true});
  }, {scope: 'worker'}],

  walk: async ({page, server}, use, testInfo) => {
    const root = path.join(server.root, `t${testInfo.testId}`);
    fs.mkdirSync(root);
    await use(new Walk(page, root, `${server.url}t${testInfo.testId}/`));
  },
});
