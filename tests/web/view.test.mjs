// The view on every screen (both projects): it fits, its drawing buffer
// follows its displayed size, the projection follows the buffer, and the
// walking buttons are there.
import {expect, test} from './fixtures.mjs';

const kMaxPixelRatio = 2;  // web/page/view.js

async function view(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('maze');
    const box = canvas.getBoundingClientRect();
    return {cssWidth: box.width, cssHeight: box.height, width: canvas.width, height: canvas.height,
            ratio: window.devicePixelRatio, scrollWidth: document.documentElement.scrollWidth,
            innerWidth: window.innerWidth};
  });
}

function expectBufferFollows(v) {
  const r = Math.min(v.ratio, kMaxPixelRatio);
  expect(v.width).toBe(Math.round(v.cssWidth * r));
  expect(v.height).toBe(Math.round(v.cssHeight * r));
}

test('the view fits the screen, square, its buffer its displayed size times the pixel ratio', async ({page, walk}) => {
  walk.layOut('fit');
  await walk.open('fit');
  for (const width of [null, 360]) {
    if (width)
      await page.setViewportSize({width, height: 780});
    await walk.framesPass(2);
    const v = await view(page);
    expect(v.scrollWidth, 'no horizontal scroll').toBeLessThanOrEqual(v.innerWidth);
    expect(v.cssWidth).toBeLessThanOrEqual(Math.min(500, v.innerWidth));
    expect(v.cssWidth).toBe(v.cssHeight);
    expectBufferFollows(v);
    expect((await walk.state()).aspect).toBe(1);
  }
  for (const name of ['Step forward', 'Step back', 'Turn left', 'Turn right', 'Field of view', 'Fullscreen'])
    await expect(page.getByRole('button', {name, exact: true})).toBeVisible();
});

test('fullscreen shows the view with the screen\'s aspect', async ({page, walk}) => {
  walk.layOut('full');
  await walk.open('full');
  await page.getByRole('button', {name: 'Fullscreen', exact: true}).click();
  await walk.until(() => document.fullscreenElement !== null);
  await walk.until(() => Math.abs(window.mazePage.state().aspect - innerWidth / innerHeight) < 1e-3);
  await walk.framesPass(2);
  const v = await view(page);
  expect(Math.round(v.cssWidth)).toBe(v.innerWidth);
  expectBufferFollows(v);
  expect((await walk.state()).aspect).toBeCloseTo(v.width / v.height, 5);
  await page.evaluate(() => document.exitFullscreen());
  await walk.until(() => window.mazePage.state().aspect === 1);
  // Square again: the taller buffer fullscreen left does not stretch the view.
  const back = await view(page);
  expect(back.cssHeight).toBe(back.cssWidth);
  expectBufferFollows(back);
});
