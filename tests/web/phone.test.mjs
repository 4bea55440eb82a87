// The page on a phone: touch only, played through the named buttons and
// swipes, which take the keyboard's path.
import {expect, kIdle, kPlain, middle, near, test, touch, virtualFrames} from './fixtures.mjs';

test('the named buttons step and turn', async ({page, walk}) => {
  walk.layOut('buttons');
  await walk.open('buttons');
  const tap = async (name) => {
    await page.getByRole('button', {name, exact: true}).tap();
    await walk.idle();
  };
  for (const [name, wall, expected] of [
    ['Turn left', 'g', {column: 1, heading: 0}],
    ['Turn right', 'r', {column: 1, heading: 1}],
    ['Step forward', 'r', {column: 2, heading: 1}],
    ['Step back', 'r', {column: 1, heading: 1}],
  ]) {
    await tap(name);
    expect(await walk.state(), name).toMatchObject({...expected, movement: kIdle});
    expect(near(await walk.centre(), kPlain[wall]), name).toBe(true);
  }
  const wide = await walk.shot();
  await tap('Field of view');
  expect((await walk.state()).fieldOfView).toBe(50);
  await walk.framesPass(2);
  expect((await walk.shot()).equals(wide)).toBe(false);

  // Held down, a button repeats as a held key does: one touch walks step
  // after step to the last open cell (column 3), where the wall blocks.
  const forward = await middle(page, page.getByRole('button', {name: 'Step forward'}));
  await touch(page, [forward], () => walk.until(() => window.mazePage.state().column === 3));
  await walk.idle();
  await walk.framesPass(15);
  expect(await walk.state()).toMatchObject({column: 3, heading: 1, movement: kIdle});
});

test('swipes on the view step and turn', async ({page, walk}) => {
  walk.layOut('swipes');
  await walk.open('swipes');
  const c = await middle(page, page.locator('#maze'));
  const swipe = async (dx, dy) => {
    const points = [0, 0.25, 0.5, 0.75, 1].map((f) => ({x: c.x + dx * f, y: c.y + dy * f}));
    await touch(page, points);
    await walk.idle();
  };
  await swipe(0, -120);  // up: a step forward
  expect(await walk.state()).toMatchObject({column: 2, heading: 1});
  await swipe(0, 120);   // down: a step back
  expect(await walk.state()).toMatchObject({column: 1, heading: 1});
  await swipe(-120, 0);  // left: a turn left, facing the g wall
  expect(await walk.state()).toMatchObject({column: 1, heading: 0});
  expect(near(await walk.centre(), kPlain.g)).toBe(true);
  await swipe(120, 0);
  expect((await walk.state()).heading).toBe(1);
  await swipe(5, 5);     // a tap is no swipe
  await walk.framesPass(3);
  expect(await walk.state()).toMatchObject({column: 1, heading: 1});
});

test('a press during a motion is dropped, whatever it comes from', async ({page, walk}) => {
  await virtualFrames(page);
  walk.layOut('dropped');
  await walk.open('dropped');
  const forward = await middle(page, page.getByRole('button', {name: 'Step forward'}));
  const left = await middle(page, page.getByRole('button', {name: 'Turn left'}));
  // The turn's touch goes out while the step's 11 motion frames have yet to
  // play: the page's clock stands still until the frames below.
  await page.evaluate(() => window.virtualFrames.take());
  await touch(page, [forward]);
  await touch(page, [left]);
  await page.evaluate(() => window.virtualFrames.run(40, 60));
  expect(await walk.state()).toMatchObject({column: 2, heading: 1});
});
