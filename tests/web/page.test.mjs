import {execFileSync} from 'node:child_process';
// The page on a desktop screen, played through real key events and read
// back through its pixels, title, messages and console. Each test lays out a
// folder beside the built page's own files (its maze, its textures, or a file
// missing or broken).
import path from 'node:path';
import fs from 'node:fs';

import {countProgramCalls, desktopPictures, expect, kCongratulations, kIdle, kPlain, kRoom, mazetool, meanDifference,
        near, plainBmp, plainTextures, shippedFiles, test, virtualFrames} from './fixtures.mjs';

const kFrameRate = /^ Current Frames Per Second: [0-9]+$/;

test('the frame rate in the desktop\'s words, once a second, beside a quiet title', async ({page, walk}) => {
  // Every text the frame-rate element ever shows, in order, and every title.
  await page.addInitScript(() => {
    window.rates = [];
    window.titles = new Set();
    new MutationObserver(() => {
      const t = document.querySelector('title');
      if (t)
        window.titles.add(t.textContent);
      const rate = document.getElementById('frame-rate');
      const last = window.rates[window.rates.length - 1];
      if (rate && rate.textContent && (!last || rate.textContent !== last[0]))
        window.rates.push([rate.textContent, performance.now()]);
    }).observe(document, {subtree: true, childList: true, characterData: true});
  });
  walk.layOut('titles');
  await walk.open('titles');
  await walk.keepTurning();  // the page draws while something moves
  const seen = await (await page.waitForFunction(() => window.rates.length >= 3 && window.rates,
                                                 null, {timeout: 20_000})).jsonValue();
  for (const [text] of seen)
    expect(text).toMatch(kFrameRate);
  // As on the desktop, whose clock reads past a second at start: the first frame already shows a count of 1.
  expect(seen[0][0]).toBe(' Current Frames Per Second: 1');
  // Rewritten once more than a second has passed since the last time (10 ms of slack for the observer).
  for (let i = 1; i < seen.length; ++i)
    expect(seen[i][1] - seen[i - 1][1]).toBeGreaterThan(990);
  expect(await page.evaluate(() => [...window.titles])).toEqual(['Maze']);
});

test('frames leave no GL object behind', async ({page, walk}) => {
  // The WebGL sync objects alive at any time, counted by the browser's own calls.
  await page.addInitScript(() => {
    const proto = WebGL2RenderingContext.prototype;
    const fence = proto.fenceSync, remove = proto.deleteSync;
    window.liveSyncs = 0;
    proto.fenceSync = function (...a) {
      ++window.liveSyncs;
      return fence.apply(this, a);
    };
    proto.deleteSync = function (sync) {
      if (sync)
        --window.liveSyncs;
      return remove.call(this, sync);
    };
  });
  walk.layOut('slots');
  await walk.open('slots');
  await walk.keepTurning();  // frames go on being drawn
  await walk.framesPass(5);
  // Every GL object the page holds has a slot in emscripten's tables, which
  // never give one back: a frame that made one (a fence, say) would grow them
  // for as long as the page runs.
  const before = (await walk.state()).glTableSlots;
  await walk.framesPass(100);
  expect((await walk.state()).glTableSlots).toBe(before);
  expect(await page.evaluate(() => window.liveSyncs)).toBeLessThanOrEqual(1);
});

test('walls ahead after turns, steps blocked, dropped keys, arrow keys', async ({page, walk}) => {
  await virtualFrames(page);
  walk.layOut('walk');
  await walk.open('walk');
  expect(near(await walk.centre(), kPlain.r)).toBe(true);
  // Three quarter turns left, one at a time: the wall ahead changes colour each time.
  for (const [wall, heading] of [['g', 0], ['c', 3], ['b', 2]]) {
    await walk.type('a');
    const s = await walk.state();
    expect([s.heading, s.column, s.row]).toEqual([heading, 1, 1]);
    expect(near(await walk.centre(), kPlain[wall]), wall).toBe(true);
  }
  await walk.type('d');
  expect(near(await walk.centre(), kPlain.c)).toBe(true);
  await walk.type('aa');  // facing the r wall again
  expect((await walk.state()).heading).toBe(1);

  // Keys are case-sensitive: W does nothing.
  await page.keyboard.press('Shift+W');
  await walk.framesPass();
  expect(await walk.state()).toMatchObject({column: 1, movement: kIdle});

  // A key pressed while a step plays is dropped, not queued (the page's
  // clock stands still between the two).
  await page.evaluate(() => window.virtualFrames.take());
  await page.keyboard.press('w');
  await page.keyboard.press('d');
  await page.evaluate(() => window.virtualFrames.release());
  await walk.idle();
  await walk.framesPass();
  expect(await walk.state()).toMatchObject({column: 2, row: 1, heading: 1, movement: kIdle});

  // One more step reaches the last open cell; the wall then blocks.
  await walk.type('w');
  expect((await walk.state()).column).toBe(3);
  const before = await walk.shot();
  await walk.type('w');
  await walk.framesPass();
  expect(await walk.state()).toMatchObject({column: 3, row: 1});
  expect((await walk.shot()).equals(before)).toBe(true);

  // v and V cycle the field of view through 50, 150 and back to 100.
  const fields = [];
  for (const k of ['v', 'Shift+V', 'v']) {
    await page.keyboard.press(k);
    fields.push((await walk.state()).fieldOfView);
  }
  expect(fields).toEqual([50, 150, 100]);

  // The arrow keys are w s a d on the page.
  for (const [key, expected] of [['ArrowDown', {column: 2, heading: 1}], ['ArrowUp', {column: 3, heading: 1}],
                                 ['ArrowLeft', {column: 3, heading: 0}], ['ArrowRight', {column: 3, heading: 1}]]) {
    await walk.type([key]);
    expect(await walk.state(), key).toMatchObject(expected);
  }
});

test('an exit from a random maze link, then play again', async ({page, walk}) => {
  walk.layOut('random');
  await walk.open('random', '#seed=77&width=11&height=9&exits=2');
  const generated = mazetool('generate', '--seed', '77', '--width', '11', '--height', '9', '--exits', '2');
  expect(await walk.mazeText()).toBe(generated);

  const keys = mazetool('solve', walk.file('random.dat', generated)).trim();
  await walk.type(keys);
  await walk.until(() => !document.getElementById('message').hidden);
  expect(await walk.message()).toBe(kCongratulations);
  expect(walk.console).toContainEqual(['log', kCongratulations]);
  expect((await walk.state()).running).toBe(false);
  // The loop has stopped: no frame is drawn any more.
  const {frames} = await walk.state();
  await page.waitForTimeout(300);
  expect((await walk.state()).frames).toBe(frames);

  await page.getByRole('button', {name: 'Play again'}).click();
  await walk.until(() => window.mazePage.state().running);
  expect(await walk.state()).toMatchObject({heading: 1, movement: kIdle});
  await expect(page.locator('#message')).toBeHidden();
});

test('a bad random maze link plays maze1.dat with a message', async ({page, walk}) => {
  walk.layOut('badlink');
  await walk.open('badlink', '#seed=5&width=4');
  expect(await walk.mazeText()).toBe(kRoom);
  await expect(page.locator('#notice')).toContainText('width');
});

test('the random button writes a link to its maze', async ({page, walk}) => {
  walk.layOut('button');
  await walk.open('button');
  await page.getByRole('button', {name: 'Random maze'}).click();
  await expect(page).toHaveURL(/#seed=[0-9]+&width=32&height=32&exits=1$/);
  await walk.until(() => window.mazePage.mazeText().length === 33 * 32);
  const seed = new URL(page.url()).hash.match(/seed=([0-9]+)/)[1];
  expect(await walk.mazeText()).toBe(mazetool('generate', '--seed', seed));
});


test('a missing maze shows the line and draws nothing', async ({page, walk}) => {
  walk.layOut('nomaze', {maze: null});
  await walk.open('nomaze');
  expect(await walk.message()).toBe('maze1.dat can not be opened. Exiting program.');
  expect(walk.console).toContainEqual(['log', 'maze1.dat can not be opened. Exiting program.']);
  expect((await walk.state()).frames).toBe(0);
  await expect(page.locator('#error')).not.toHaveAttribute('open');
});

test('a missing, broken or empty texture shows the loader\'s message in an error dialog', async ({page, walk}) => {
  const broken = plainBmp([1, 2, 3]);
  broken.writeUInt32LE(108, 14);  // a newer header the loader does not read
  const cases = [
    ['notexture', {drop: ['SteelBoxFan.bmp']}, 'Failed to open DIB file SteelBoxFan.bmp.\n'],
    ['badtexture', {files: {...plainTextures(), 'pipeslights.bmp': broken}}, 'Unknown DIB file format.'],
    // Empty: as the desktop's file reader sees it, not a bitmap too short to decode.
    ['emptytexture', {files: {...plainTextures(), 'metal004.bmp': Buffer.alloc(0)}},
     'Failed to open DIB file metal004.bmp.\n'],
  ];
  for (const [name, layout, text] of cases) {
    walk.layOut(name, layout);
    await walk.open(name);
    await expect(page.locator('#error'), name).toHaveAttribute('open');
    await expect(page.locator('#error-title')).toHaveText('Error');
    expect(await page.locator('#error-text').textContent()).toBe(text);
    expect(walk.console, name).toContainEqual(['error', text]);
    expect((await walk.state()).frames).toBe(0);
  }
  // The dialog is a real one: its button closes it.
  await page.getByRole('button', {name: 'OK'}).click();
  await expect(page.locator('#error')).not.toHaveAttribute('open');
});

// Drops a file or folder on the page as the browser does for a real drag.
async function drop(page, file) {
  const cdp = await page.context().newCDPSession(page);
  for (const type of ['dragEnter', 'dragOver', 'drop'])
    await cdp.send('Input.dispatchDragEvent', {type, x: 100, y: 100,
                                               data: {items: [], files: [file], dragOperationsMask: 1}});
  await cdp.detach();
}

test('a maze opened through the file input or dropped', async ({page, walk}) => {
  walk.layOut('picker');
  await walk.open('picker');
  const mine = walk.file('mine.dat', 'yyyyy\ny*  m\r\nyyyyy\n');  // CR LF read as the loader reads it
  const room = walk.file('room.dat', kRoom);
  const tooBig = walk.file('big.dat', ' '.repeat(64 * 1024 + 1));

  await page.setInputFiles('#maze-file', mine);
  await walk.until(() => window.mazePage.mazeText().startsWith('yyyyy'));
  await walk.framesPass(3);
  expect(near(await walk.centre(), kPlain.m)).toBe(true);
  await walk.type('a');
  expect(near(await walk.centre(), kPlain.y)).toBe(true);

  // Too large: refused with a message, the current walk goes on (facing y).
  await page.setInputFiles('#maze-file', tooBig);
  await expect(page.locator('#notice')).toContainText('too large');
  expect(await walk.state()).toMatchObject({running: true, heading: 0});
  expect((await walk.mazeText()).startsWith('yyyyy')).toBe(true);

  // An empty file, a FIFO and a link to /dev/zero are refused with the
  // page's own line (not the desktop's "Exiting program."); the walk goes on.
  const fifo = path.join(walk.root, 'fifo.dat'), zero = path.join(walk.root, 'zero.dat');
  execFileSync('mkfifo', [fifo]);
  fs.symlinkSync('/dev/zero', zero);
  for (const odd of [walk.file('empty.dat', ''), fifo, zero]) {
    await page.setInputFiles('#maze-file', odd);
    await expect(page.locator('#notice'))
      .toHaveText(`"${path.basename(odd)}" is empty, or not a file the page can read: there is no maze to walk.`);
    expect(await walk.state()).toMatchObject({running: true, heading: 0});
    expect((await walk.mazeText()).startsWith('yyyyy')).toBe(true);
  }

  // Dropped on the page: a folder is refused, a file starts a new walk.
  const folder = path.join(walk.root, 'a-folder');
  fs.mkdirSync(folder);
  await drop(page, folder);
  await expect(page.locator('#notice')).toContainText('folder');
  expect((await walk.mazeText()).startsWith('yyyyy')).toBe(true);
  await drop(page, room);
  await walk.until(() => window.mazePage.mazeText().startsWith('ggggg'));
  expect((await walk.state()).heading).toBe(1);
});

test('starting again or opening a maze mid-step is a fresh start', async ({page, walk}) => {
  await virtualFrames(page);
  const files = shippedFiles();
  walk.layOut('fresh', {files});
  // What a fresh page shows at its start, and after a step and a turn.
  await walk.open('fresh');
  await walk.framesPass(2);
  const fresh = [await walk.shot()];
  await walk.type('wa');
  await walk.framesPass(2);
  fresh.push(await walk.shot());

  const expectFresh = async (how) => {
    await walk.framesPass(2);
    expect(await walk.state(), how).toMatchObject({column: 1, row: 1, heading: 1, movement: kIdle});
    expect((await walk.shot()).equals(fresh[0]), `${how}: the start`).toBe(true);
    await walk.type('wa');
    await walk.framesPass(2);
    expect((await walk.shot()).equals(fresh[1]), `${how}: after a step and a turn`).toBe(true);
  };
  // A step five of its eleven motion frames in, the page's clock standing
  // still until `then` has acted.
  const midStep = async (then) => {
    await page.evaluate(() => window.virtualFrames.take());
    await page.keyboard.press('w');
    await page.evaluate(() => window.virtualFrames.run(5, 60));
    await then();
    await page.evaluate(() => window.virtualFrames.release());
  };

  // w, then q (a pause) while the step plays, then "Start again".
  await walk.open('fresh');
  await midStep(() => page.keyboard.press('q'));
  await walk.until(() => !document.getElementById('message').hidden);
  expect(await walk.state(), 'paused mid-step').toMatchObject({paused: true, column: 1, movement: 0});
  await page.getByRole('button', {name: 'Start again'}).click();
  await walk.until(() => window.mazePage.state().running);
  await expectFresh('started again mid-step');

  // The same maze opened through the file input while a step plays.
  await walk.open('fresh');
  await midStep(async () => {
    await page.setInputFiles('#maze-file', walk.file('fresh.dat', files['maze1.dat']));
    await expect(page.locator('#notice')).toContainText('fresh.dat');
  });
  await expectFresh('opened mid-step');
});

test('the page\'s pictures match the desktop\'s', async ({walk}) => {
  // The shipped maze; the desktop reads the textures mazetool writes, the page
  // draws its own; poses along a walk, with all three fields of view.
  const folder = walk.layOut('compare', {files: shippedFiles(), drawn: true});
  const poses = ['-', 'w', 'w', 'd', 'v', 'v', 'a', 'v', 's'];
  const out = path.join(walk.root, 'desktop');
  desktopPictures('--show-exits', folder, out, ...poses);  // the page marks exits unless told not to

  await walk.open('compare');
  const means = [];
  let previous = null;
  for (const [i, keys] of poses.entries()) {
    await walk.type(keys.replace('-', ''));
    await walk.framesPass(2);
    const web = await walk.rgb(await walk.shot());
    const ppm = fs.readFileSync(`${out}.${i}.ppm`);
    const desktop = ppm.subarray(ppm.length - 500 * 500 * 3);
    expect(ppm.subarray(0, 15).toString('latin1')).toBe('P6\n500 500\n255\n');
    expect(web.length).toBe(desktop.length);
    const mean = meanDifference(web, desktop);
    means.push(Number(mean.toFixed(3)));
    if (previous) {
      // Much nearer its own pose than the one before: a page that did not follow the keys would fail here.
      const other = meanDifference(web, previous);
      expect(other, `pose ${i}: ${mean} from its own, ${other} from the last`).toBeGreaterThan(3 * mean);
    }
    previous = desktop;
  }
  console.log('mean difference per channel at each pose:', means.join(' '));
  // Two renderers (Mesa llvmpipe, SwiftShader) round and pick mipmap levels a little differently.
  expect(Math.max(...means)).toBeLessThanOrEqual(2.0);
});

test('a browser without WebGL 2 gets a message', async ({page, walk}) => {
  await page.addInitScript(() => {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
      return kind === 'webgl2' ? null : getContext.call(this, kind, ...rest);
    };
  });
  walk.layOut('nowebgl');
  await walk.open('nowebgl');
  expect(await walk.message()).toBe('This browser cannot draw the maze: WebGL 2 is not available.');
});

test('a program that does not load is reported', async ({page, walk}) => {
  walk.layOut('noprogram');
  for (const file of ['maze.wasm', 'maze.js']) {
    await page.unrouteAll();
    await page.route(`**/${file}`, (route) => route.fulfill({status: 404, body: ''}));
    await page.goto(`${walk.url}noprogram/`);
    await walk.until(() => !document.getElementById('message').hidden);
    expect(await walk.message(), file).toBe('The maze cannot start: its program (maze.js, maze.wasm) did not load.');
  }
});

test('a lost WebGL context shows a message and the walk goes on once it is restored', async ({page, walk}) => {
  walk.layOut('lost');
  await walk.open('lost');
  await walk.type('a');  // facing g
  expect(near(await walk.centre(), kPlain.g)).toBe(true);
  await page.evaluate(() => {
    window.loseContext = document.getElementById('maze').getContext('webgl2').getExtension('WEBGL_lose_context');
    window.loseContext.loseContext();
  });
  await expect(page.locator('#lost')).toBeVisible();
  await expect(page.locator('#lost')).toContainText('The view was lost');
  const {frames} = await walk.state();
  await page.waitForTimeout(300);
  expect((await walk.state()).frames).toBe(frames);

  await page.evaluate(() => window.loseContext.restoreContext());
  await expect(page.locator('#lost')).toBeHidden();
  await walk.framesPass(3);
  // The same picture, so the textures went up again; and the walk takes keys.
  expect(near(await walk.centre(), kPlain.g)).toBe(true);
  await walk.type('d');
  expect(near(await walk.centre(), kPlain.r)).toBe(true);
});

test('a step takes 11/60 s and a turn 10/60 s whatever the display\'s rate', async ({page, walk}) => {
  await virtualFrames(page);
  walk.layOut('clock');
  await walk.open('clock');
  await page.evaluate(() => window.virtualFrames.take());
  // A step east, a turn to face north, at 30 Hz and then at 120 Hz.
  const motions = [['w', 11, {column: 2, heading: 1}], ['a', 10, {column: 2, heading: 0}],
                   ['d', 10, {column: 2, heading: 1}], ['s', 11, {column: 1, heading: 1}]];
  for (const hz of [30, 120]) {
    for (const [key, motionFrames, after] of motions) {
      const what = `${key} at ${hz} Hz`;
      await page.evaluate((rate) => window.virtualFrames.run(3, rate), hz);
      await page.keyboard.press(key);
      // Frame by frame until the walker stands still: the motion frames each
      // display frame played, and the time the motion took.
      const {played, ms} = await page.evaluate(async ([rate, idle]) => {
        const start = performance.now();
        let last = window.mazePage.state().motionFrames;
        const each = [];
        while (window.mazePage.state().movement !== idle && each.length < 100) {
          await window.virtualFrames.run(1, rate);
          const now = window.mazePage.state().motionFrames;
          each.push(now - last);
          last = now;
        }
        return {played: each, ms: performance.now() - start};
      }, [hz, kIdle]);
      expect(await walk.state(), what).toMatchObject({...after, movement: kIdle});
      // The clock's time to within one display frame, never the display's count of frames.
      expect(Math.abs(ms - motionFrames * 1000 / 60), `${what}: ${ms} ms`).toBeLessThanOrEqual(1000 / hz + 0.01);
      // 60 motion frames a second: none skipped, none doubled.
      const allowed = [Math.floor(60 / hz), Math.ceil(60 / hz)];
      expect(played.every((n) => allowed.includes(n)), `${what}: ${played}`).toBe(true);
    }
  }
});

test('standing still draws nothing after the first second, a key draws at once, the rate counts frames drawn',
     async ({page, walk}) => {
  await virtualFrames(page);
  await page.addInitScript(() => {
    // A GPU that always keeps up: every frame that has something to draw draws.
    WebGL2RenderingContext.prototype.clientWaitSync = function () {
      return this.ALREADY_SIGNALED;
    };
    // Every frame-rate text shown.
    window.titles = [];
    new MutationObserver(() => {
      const rate = document.getElementById('frame-rate');
      if (rate && rate.textContent)
        window.titles.push(rate.textContent);
    }).observe(document, {subtree: true, childList: true, characterData: true});
  });
  walk.layOut('still');
  await walk.open('still');
  // The virtual frames take over at the next animation frame the page asks
  // for; a key that does nothing asks for one if it has stopped asking.
  const taking = page.evaluate(() => window.virtualFrames.take());
  await page.keyboard.press('Shift+W');
  await taking;
  const run = (count) => page.evaluate((n) => window.virtualFrames.run(n, 60), count);
  await run(70);  // past the walk's first second
  const still = await walk.state();
  await run(180);
  const after = await walk.state();
  expect(after, 'three seconds of standing still').toMatchObject({frames: still.frames, still: true});

  // A turn draws at once, its first motion frame played.
  await page.keyboard.press('a');
  await run(1);
  expect(await walk.state()).toMatchObject({frames: after.frames + 1, motionFrames: after.motionFrames + 1});
  expect((await walk.state()).movement).not.toBe(kIdle);

  // Turns half a second apart, each 10 frames of motion: the frame rate is
  // that of the frames drawn while turning (60 a second), not thinned by the
  // still spells in between (to 20).
  await run(30);
  await page.evaluate(() => window.titles.splice(0));
  for (let turn = 0; turn < 14; ++turn) {
    await page.keyboard.press('a');
    await run(30);
  }
  const titles = await page.evaluate(() => window.titles);
  expect(titles.length).toBeGreaterThan(0);
  for (const title of titles)
    expect(Math.abs(Number(/[0-9]+$/.exec(title)[0]) - 60), title).toBeLessThanOrEqual(2);
  await page.evaluate(() => window.virtualFrames.release());
});

test('the map is drawn when the walk changes it, not on a timer, however often it is toggled', async ({page, walk}) => {
  await virtualFrames(page);
  await countProgramCalls(page);
  walk.layOut('maptoggles');
  await walk.open('maptoggles');
  await page.evaluate(() => window.virtualFrames.take());
  const counts = () => page.evaluate(() => [window.programCalls, window.mapDraws]);
  const idleFrames = async () => {
    const before = await counts();
    await page.evaluate(() => window.virtualFrames.run(120, 60));  // two seconds
    expect(await counts(), 'calls into the program and map drawings while nothing changes').toEqual(before);
  };

  for (let i = 0; i < 50; ++i)
    await page.keyboard.press('m');
  await expect(page.locator('#map-panel')).toBeHidden();
  await idleFrames();
  await page.keyboard.press('m');
  await expect(page.locator('#map')).toBeVisible();
  await page.evaluate(() => window.virtualFrames.run(2, 60));
  const shown = await counts();
  await idleFrames();

  // A step: the map follows it, at most once a frame.
  await page.keyboard.press('w');
  await page.evaluate(() => window.virtualFrames.run(20, 60));
  const [, draws] = await counts();
  expect(draws - shown[1]).toBeGreaterThanOrEqual(1);
  expect(draws - shown[1]).toBeLessThanOrEqual(20);
  await expect(page.locator('#map')).toHaveAttribute('aria-label', /you are on column 2, row 1, facing east/);
  await idleFrames();
});
