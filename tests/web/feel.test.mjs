// How the walk feels on the page: exits marked, a pause instead of a lost
// walk, sound, a gamepad, instant motion, the title and the frame rate, and
// the settings that turn them on and off, remembered (or not, when the
// browser's storage refuses).
import fs from 'node:fs';
import path from 'node:path';

import {desktopPictures, expect, kIdle, kRoom, meanDifference, plainTextures, test, virtualFrames} from './fixtures.mjs';

// kRoom with an exit on its third cell, two cells ahead of the start.
const kExitRoom = 'ggggg\nc* xr\nbbbbb\n';

// The share of pixels of two same-sized RGB pictures that differ by more than 40 in a channel.
function changedShare(a, b) {
  let changed = 0;
  for (let i = 0; i < a.length; i += 3)
    changed += [0, 1, 2].some((c) => Math.abs(a[i + c] - b[i + c]) > 40) ? 1 : 0;
  return changed / (a.length / 3);
}

const pressed = (page, name) => page.getByRole('button', {name, exact: true}).getAttribute('aria-pressed');

test('the exit\'s floor stands out unless the setting turns it off, as the desktop\'s --show-exits draws it',
     async ({page, walk}, testInfo) => {
  walk.layOut('open');
  const exitFolder = walk.layOut('exit', {maze: kExitRoom});
  await walk.open('open');
  const open = await walk.rgb(await walk.shot());
  await walk.open('exit');
  expect(await pressed(page, 'Mark exits')).toBe('true');
  const marked = await walk.rgb(await walk.shot());
  // The exit's floor, two cells ahead: a strip of about 2% of the view.
  expect(changedShare(marked, open), 'the share of the view the exit changes').toBeGreaterThan(0.01);

  // Turned off: open floor; remembered on the next visit. (A phone's page
  // scrolls to the button, and back to the view for its picture.)
  await page.getByRole('button', {name: 'Mark exits'}).click();
  await page.locator('#maze').scrollIntoViewIfNeeded();
  await walk.framesPass(2);
  expect(changedShare(await walk.rgb(await walk.shot()), open)).toBeLessThan(0.002);
  await walk.open('exit');
  expect(await pressed(page, 'Mark exits')).toBe('false');
  expect(changedShare(await walk.rgb(await walk.shot()), open)).toBeLessThan(0.002);

  if (testInfo.project.name !== 'desktop')
    return;  // the desktop draws 500 by 500, the view's size on a desktop screen only
  await page.getByRole('button', {name: 'Mark exits'}).click();
  await walk.framesPass(2);
  const out = path.join(walk.root, 'desktop');
  desktopPictures('--show-exits', exitFolder, `${out}.marked`, '-');
  desktopPictures(exitFolder, `${out}.plain`, '-');
  const ppm = (name) => {
    const bytes = fs.readFileSync(`${out}.${name}.0.ppm`);
    return bytes.subarray(bytes.length - 500 * 500 * 3);
  };
  const page500 = await walk.rgb(await walk.shot());
  const mean = meanDifference(page500, ppm('marked'));
  expect(mean).toBeLessThanOrEqual(2.0);
  expect(meanDifference(page500, ppm('plain'))).toBeGreaterThan(3 * mean);
});

test('q, Q and Escape pause; Resume goes on from the same cell, Start again restarts; leaving the tab pauses',
     async ({page, walk}) => {
  walk.layOut('pause');
  await walk.open('pause');
  const resume = page.getByRole('button', {name: 'Resume'});
  for (const key of ['q', 'Shift+Q', 'Escape']) {
    await walk.type('w');
    const before = await walk.state();
    await page.keyboard.press(key);
    await walk.until(() => !document.getElementById('message').hidden);
    expect(await walk.message(), key).toBe('Paused');
    await expect(resume).toBeFocused();
    expect(await walk.state(), key).toMatchObject({running: false, paused: true});
    await resume.click();
    await expect(page.locator('#message')).toBeHidden();
    expect(await walk.state(), key).toMatchObject({running: true, paused: false, column: before.column,
                                                   heading: before.heading, fieldOfView: before.fieldOfView});
    await walk.type('s');
  }
  // The same key resumes; the walk takes keys again.
  await page.keyboard.press('Escape');
  await expect(resume).toBeVisible();
  await page.keyboard.press('Escape');
  await expect(page.locator('#message')).toBeHidden();
  await walk.type('w');
  expect((await walk.state()).column).toBe(2);

  // The tab hidden: paused.
  await page.evaluate(() => {
    Object.defineProperty(document, 'hidden', {configurable: true, get: () => true});
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await expect(resume).toBeVisible();
  expect((await walk.state()).paused).toBe(true);

  await page.getByRole('button', {name: 'Start again'}).click();
  await walk.until(() => window.mazePage.state().running);
  expect(await walk.state()).toMatchObject({column: 1, row: 1, heading: 1, paused: false, movement: kIdle});
});

test('the results\' time leaves a pause out', async ({page, walk}) => {
  await virtualFrames(page);
  walk.layOut('pausetime', {maze: kExitRoom});
  await walk.open('pausetime');
  await page.evaluate(() => window.virtualFrames.take());
  await page.keyboard.press('w');
  await page.evaluate(() => window.virtualFrames.run(5, 60));
  await page.keyboard.press('q');  // mid-step
  await page.evaluate(() => window.virtualFrames.run(600, 60));  // ten seconds paused
  expect(await walk.state()).toMatchObject({column: 1, movement: 0, paused: true});
  await page.keyboard.press('q');
  await page.evaluate(() => window.virtualFrames.run(20, 60));  // the step goes on where it stopped
  expect(await walk.state()).toMatchObject({column: 2, movement: kIdle});
  await page.keyboard.press('w');
  await page.evaluate(() => window.virtualFrames.run(20, 60));
  await walk.until(() => !document.getElementById('results').hidden);
  // Two steps of 11/60 s and the 20 frames between them: about half a second.
  await expect(page.locator('#result-time')).toHaveText(/^0:00\.[3-7]$/);
});

// Counts in window.audioSources every Web Audio source started.
function countSources(page) {
  return page.addInitScript(() => {
    window.audioSources = 0;
    // A buffer source has a start of its own.
    for (const proto of [AudioScheduledSourceNode.prototype, AudioBufferSourceNode.prototype]) {
      const start = Object.getOwnPropertyDescriptor(proto, 'start').value;
      proto.start = function (...a) {
        ++window.audioSources;
        return start.apply(this, a);
      };
    }
  });
}

test('sounds for steps, bumps and turns, none with Sound off (remembered) or while the way is shown at once',
     async ({page, walk}) => {
  await countSources(page);
  walk.layOut('sound', {maze: 'ggggggg\nc*    x\nbbbbbbb\n'});
  await walk.open('sound');
  const sources = () => page.evaluate(() => window.audioSources);
  expect(await pressed(page, 'Sound')).toBe('true');
  expect(await sources(), 'nothing before the first key').toBe(0);
  // Each of a step, a turn and a bump sounds.
  for (const keys of ['w', 'a', 'w', 'd']) {
    const before = await sources();
    await walk.type(keys);
    await walk.until((n) => window.audioSources > n, before);
  }
  expect(await walk.state()).toMatchObject({column: 2, heading: 1});

  await page.getByRole('button', {name: 'Sound'}).click();
  expect(await pressed(page, 'Sound')).toBe('false');
  const off = await sources();
  await walk.type('wsad');
  await walk.framesPass(5);
  expect(await sources()).toBe(off);
  // Remembered: a new visit starts silent.
  await walk.open('sound');
  expect(await pressed(page, 'Sound')).toBe('false');
  await walk.type('wa');
  await walk.framesPass(5);
  expect(await sources()).toBe(0);

  // On again; the way shown at once (instant motion) is silent to its exit.
  await page.getByRole('button', {name: 'Sound'}).click();
  await page.getByLabel('Motion').selectOption('instant');
  await walk.type('d');
  await walk.until(() => window.audioSources > 0);
  const quiet = await sources();
  await page.getByRole('button', {name: 'Show the way'}).click();
  await walk.until(() => !document.getElementById('message').hidden);
  await page.waitForTimeout(100);
  expect(await sources()).toBe(quiet);
});

test('a gamepad steps and turns, repeats held directions, pauses and shows the map; read only while connected',
     async ({page, walk}) => {
  await page.addInitScript(() => {
    window.pad = null;
    window.padReads = 0;
    navigator.getGamepads = () => {
      ++window.padReads;
      return [window.pad, null, null, null];
    };
  });
  walk.layOut('gamepad');
  await walk.open('gamepad');
  await walk.framesPass(5);
  const reads = () => page.evaluate(() => window.padReads);
  expect(await reads(), 'no pad, no reading').toBeLessThanOrEqual(1);

  await page.evaluate(() => {
    window.pad = {id: 'Test pad', index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
    const event = new Event('gamepadconnected');
    Object.defineProperty(event, 'gamepad', {value: window.pad});
    window.dispatchEvent(event);
  });
  await expect(page.locator('#notice')).toContainText('Gamepad connected');
  const set = (what) => page.evaluate(({buttons = {}, axes = null}) => {
    for (const [i, down] of Object.entries(buttons))
      window.pad.buttons[i] = {pressed: down, value: down ? 1 : 0};
    if (axes)
      window.pad.axes = axes;
  }, what);
  // Once the page has read the pad twice more.
  const polled = async () => walk.until((n) => window.padReads > n + 1, await reads());
  const release = async () => {
    await set({buttons: {0: false, 9: false, 12: false, 13: false, 14: false, 15: false}, axes: [0, 0, 0, 0]});
    await polled();
    await walk.idle();
  };

  // The d-pad turns; the stick steps, and held it repeats to the wall (column 3).
  await set({buttons: {14: true}});
  await walk.until(() => window.mazePage.state().heading === 0);
  await release();
  await set({buttons: {15: true}});
  await walk.until(() => window.mazePage.state().heading === 1);
  await release();
  await set({axes: [0.2, -0.9, 0, 0]});
  await walk.until(() => window.mazePage.state().column === 3);
  await release();
  expect(await walk.state()).toMatchObject({column: 3, heading: 1});
  // Within the dead zone: nothing; beyond it, back.
  await set({axes: [0, 0.3, 0, 0]});
  await walk.framesPass(20);
  expect((await walk.state()).column).toBe(3);
  await set({axes: [0, 0.8, 0, 0]});
  await walk.until(() => window.mazePage.state().column === 2);
  await release();

  // A shows and hides the map; Start pauses and resumes.
  for (const shown of [true, false]) {
    await set({buttons: {0: true}});
    await expect(page.locator('#map-panel')).toBeVisible({visible: shown});
    await release();
  }
  await set({buttons: {9: true}});
  await expect(page.getByRole('button', {name: 'Resume'})).toBeVisible();
  await set({buttons: {9: false}});
  await polled();
  await set({buttons: {9: true}});
  await expect(page.locator('#message')).toBeHidden();
  await release();

  // Gone: read no more.
  await page.evaluate(() => {
    window.pad = null;
  });
  await walk.framesPass(5);
  const last = await reads();
  await walk.framesPass(30);
  expect(await reads()).toBe(last);
});

test('reduced motion: a step or turn ends within two drawn frames; the Motion setting wins, remembered',
     async ({page, walk}) => {
  await virtualFrames(page);
  await page.emulateMedia({reducedMotion: 'reduce'});
  walk.layOut('motion');
  await walk.open('motion');
  const motion = page.getByLabel('Motion');
  // Frames drawn until the walker is idle after `key`, at 60 Hz.
  const framesFor = async (key) => {
    await page.locator('#maze').focus();  // the key is the walk's, not the Motion select's
    // The virtual frames take over at the next animation frame the page asks
    // for; a key that does nothing makes a page resting while still ask.
    const taking = page.evaluate(() => window.virtualFrames.take());
    await page.keyboard.press('Shift+W');
    await taking;
    await page.keyboard.press(key);
    const frames = await page.evaluate(async (idle) => {
      let n = 0;
      while (window.mazePage.state().movement !== idle && n < 100) {
        await window.virtualFrames.run(1, 60);
        ++n;
      }
      return n;
    }, kIdle);
    await page.evaluate(() => window.virtualFrames.release());
    return frames;
  };
  await expect(motion).toHaveValue('instant');
  expect(await framesFor('w')).toBeLessThanOrEqual(2);
  expect(await framesFor('a')).toBeLessThanOrEqual(2);
  expect(await walk.state()).toMatchObject({column: 2, heading: 0});

  await motion.selectOption('smooth');
  expect(await framesFor('d')).toBeGreaterThanOrEqual(10);
  await walk.open('motion');
  await expect(motion).toHaveValue('smooth');
  expect(await framesFor('w')).toBeGreaterThanOrEqual(11);

  // Without the system's wish, "Instant" alone.
  await motion.selectOption('instant');
  await page.emulateMedia({reducedMotion: 'no-preference'});
  expect(await framesFor('s')).toBeLessThanOrEqual(2);
});

test('the title names the maze; the frame rate shows when asked, remembered', async ({page, walk}) => {
  walk.layOut('named');
  await walk.open('named');
  await expect(page).toHaveTitle('Maze');
  await page.setInputFiles('#maze-file', walk.file('my.dat', kRoom));
  await expect(page).toHaveTitle('Maze \u2014 my.dat');
  await page.getByRole('button', {name: 'Random maze'}).click();
  await expect(page).toHaveTitle('Maze');

  const rate = page.locator('#frame-rate');
  await expect(rate).toBeHidden();
  await page.getByRole('button', {name: 'Frame rate'}).click();
  await expect(rate).toBeVisible();
  await expect(rate).toHaveText(/^ Current Frames Per Second: [0-9]+$/);
  await walk.open('named');
  await expect(rate).toBeVisible();
  expect(await pressed(page, 'Frame rate')).toBe('true');
});

test('settings work without the browser\'s storage', async ({page, walk}) => {
  await page.addInitScript(() => {
    Object.defineProperty(window, 'localStorage', {get() {
      throw new DOMException('denied', 'SecurityError');
    }});
  });
  walk.layOut('nostorage');
  await walk.open('nostorage');
  for (const name of ['Sound', 'Mark exits', 'Frame rate']) {
    const before = await pressed(page, name);
    await page.getByRole('button', {name}).click();
    expect(await pressed(page, name), name).toBe(before === 'true' ? 'false' : 'true');
  }
  await page.getByLabel('Motion').selectOption('instant');
  await walk.type('w');
  expect((await walk.state()).column).toBe(2);
  expect(walk.console.filter(([type]) => type === 'exception' || type === 'error')).toEqual([]);
});
