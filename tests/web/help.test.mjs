// What the page shows each player around the walk: help for the way they
// walk (keys where a pointer hovers, swipes where it is a finger, right
// under the view), findings only when there is something to say, and a
// layout that holds still when the map opens.
import {expect, test} from './fixtures.mjs';

const kPlayable = 'ggggg\nc* xr\nbbbbb\n';

test('touch users get the swipes under the view, keyboard users the keys', async ({page, walk}, testInfo) => {
  const touch = testInfo.project.name === 'phone';
  walk.layOut('help', {maze: kPlayable});
  await walk.open('help');
  expect(await page.evaluate(() => matchMedia('(pointer: coarse)').matches)).toBe(touch);
  const swipes = page.getByText('Swipe the view: up, down to step; left, right to turn.');
  const keys = page.getByRole('definition').filter({hasText: 'step forward'});
  const drop = page.getByText('or drop a maze file on the page');
  if (touch) {
    await expect(swipes).toBeVisible();
    await expect(keys).toBeHidden();
    await expect(drop).toBeHidden();
    // Right under the view, before the pad.
    const [view, hint, pad] = await Promise.all(['#stage', '#swipe-hint', '#pad'].map((s) => page.locator(s).boundingBox()));
    expect(hint.y).toBeGreaterThanOrEqual(view.y + view.height);
    expect(hint.y - (view.y + view.height)).toBeLessThan(40);
    expect(pad.y).toBeGreaterThan(hint.y);
  } else {
    await expect(swipes).toBeHidden();
    await expect(keys).toBeVisible();
    await expect(drop).toBeVisible();
  }

  // A playable maze with nothing to say has no findings shown; one that
  // cannot be won does.
  const findings = page.locator('#findings');
  await expect(findings).toBeHidden();
  await page.setInputFiles('#maze-file', walk.file('closed.dat', 'rrrrr\nr*rxr\nrrrrr\n'));
  await expect(findings).toBeVisible();
  await expect(findings).toHaveClass(/unplayable/);
  await page.setInputFiles('#maze-file', walk.file('open.dat', kPlayable));
  await expect(findings).toBeHidden();
});

test('the key legend holds still under the view when the map opens', async ({page, walk}, testInfo) => {
  test.skip(testInfo.project.name === 'phone', 'the legend is for keyboards');
  walk.layOut('still');
  await walk.open('still');
  const legend = page.getByRole('definition').filter({hasText: 'step forward'});
  const before = await legend.boundingBox();
  const view = await page.locator('#stage').boundingBox();
  expect(before.y).toBeGreaterThanOrEqual(view.y + view.height);
  expect(before.y - (view.y + view.height)).toBeLessThan(30);
  await page.keyboard.press('m');
  await expect(page.locator('#map')).toBeVisible();
  expect(await legend.boundingBox()).toEqual(before);
});
