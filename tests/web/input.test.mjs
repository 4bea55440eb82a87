// The page given what it does not expect: links of any length or shape, a
// link that comes while it loads, several files at once, a button clicked
// again and again, a new maze too small for an exit. Each time the page says what it
// makes of it in one line, and goes on playing.
import {countProgramCalls, expect, kCongratulations, kIdle, kRoom, mazetool, test, virtualFrames} from './fixtures.mjs';

const kMillion = 1_500_000;
const notice = (page) => page.locator('#notice');

// Opens the page at `fragment` and waits until the walk runs.
async function openAt(walk, name, fragment) {
  await walk.open(name, fragment);
  await walk.until(() => window.mazePage.state().running);
}

// The walk still answers keys: a step forward from the start and back.
async function stillPlays(walk) {
  const {column} = await walk.state();
  await walk.type(['w', 's']);
  expect(await walk.state()).toMatchObject({column, movement: kIdle, running: true});
  expect(walk.console.filter(([type]) => type === 'exception' || type === 'error')).toEqual([]);
}

test('links of 1.5 million characters are refused by their length, at the start and on a running page', async ({page, walk}) => {
  walk.layOut('long');
  const cases = [
    [`#maze=${'A'.repeat(kMillion)}`,
     `The link's maze is too long (${kMillion} characters; a maze link holds at most 4096 bytes).`],
    [`#seed=${'9'.repeat(kMillion)}`,
     `The link's random maze is too long to be one (${kMillion + 5} characters; at most 256).`],
  ];
  for (const [fragment, reason] of cases) {
    await openAt(walk, 'long', fragment);
    await expect(notice(page)).toHaveText(`${reason} Walking maze1.dat instead.`);
    expect(await walk.mazeText()).toBe(kRoom);
    await stillPlays(walk);
  }
  // On a running page, between two links it reads.
  const room = 'yyyyy\ny*  x\nyyyyy\n';
  for (const [fragment, reason] of cases) {
    await page.evaluate((f) => { location.hash = f; }, `maze=${Buffer.from(room).toString('base64url')}`);
    await walk.until((r) => window.mazePage.mazeText() === r, room);
    await page.evaluate((f) => { location.hash = f; }, fragment);
    await expect(notice(page)).toHaveText(`${reason} Walking maze1.dat instead.`);
    expect(await walk.mazeText()).toBe(kRoom);
    await stillPlays(walk);
  }
});

test('messages come back whole: a NUL in a link, an excerpt that ends inside a character', async ({page, walk}) => {
  walk.layOut('whole');
  const rule = 'a whole number from 5 to 32 (the border included)';
  for (const [fragment, message] of [
    ['#seed=1%00', 'The link\'s seed must be a whole number from 0 to 18446744073709551615, not "1\u0000".'],
    [`#seed=1&width=${'a'.repeat(39)}%C3%A9b`, `The link's width must be ${rule}, not "${'a'.repeat(39)}...".`],
    [`#seed=1&width=${'a'.repeat(38)}%C3%A9b`, `The link's width must be ${rule}, not "${'a'.repeat(38)}\u00e9...".`],
  ]) {
    await openAt(walk, 'whole', fragment);
    expect(await notice(page).textContent()).toBe(`${message} Walking maze1.dat instead.`);
  }
});

test('a fragment the page does not understand is said in one line and left in the address', async ({page, walk}) => {
  walk.layOut('unknown');
  const fragments = ['#MAZE=cnJy', '#maze%3DcnJy', '#%73eed=5', '#foo', `#x${'y'.repeat(60)}`];
  const shown = (f) => (f.length > 41 ? `${f.slice(0, 41)}...` : f);  // "#" and 40 characters
  for (const fragment of fragments) {
    await openAt(walk, 'unknown', fragment);
    await expect(notice(page)).toHaveText(`The link is not understood: "${shown(fragment)}". Walking maze1.dat instead.`);
    expect(await page.evaluate(() => location.hash)).toBe(fragment);
    expect(await walk.mazeText()).toBe(kRoom);
  }
  // On a running page too, after a maze of its own.
  await page.evaluate(() => { location.hash = 'seed=5&width=7&height=7'; });
  await walk.until((room) => window.mazePage.mazeText() !== room, kRoom);
  await page.evaluate(() => { location.hash = 'foo'; });
  await expect(notice(page)).toHaveText('The link is not understood: "#foo". Walking maze1.dat instead.');
  expect(await page.evaluate(() => location.hash)).toBe('#foo');
  expect(await walk.mazeText()).toBe(kRoom);
});

test('a link that comes while the page loads is the one walked once it has loaded', async ({page, walk}) => {
  walk.layOut('loading');
  // The last texture is held back until the link has come: the maze has
  // been read by then ("load succesful"), the page does not play yet.
  let release;
  const held = new Promise((resolve) => { release = resolve; });
  await page.route('**/SteelBoxFan.bmp', async (route) => {
    await held;
    await route.continue();
  });
  const read = page.waitForEvent('console', (m) => m.text() === 'load succesful');
  await page.goto(`${walk.url}loading/`);
  await read;
  await page.evaluate(() => { location.hash = 'seed=5&width=7&height=7&exits=1'; });
  expect(await page.evaluate(() => window.mazePage.state().running)).toBe(false);
  release();
  await walk.until(() => window.mazePage.state().running);
  expect(await walk.mazeText()).toBe(mazetool('generate', '--seed', '5', '--width', '7', '--height', '7'));
  expect(await page.evaluate(() => location.hash)).toBe('#seed=5&width=7&height=7&exits=1');
  await expect(page.getByLabel('Width')).toHaveValue('7');
});

test('of several files dropped the first is opened, and the notice says so', async ({page, walk}) => {
  walk.layOut('files');
  await walk.open('files');
  const first = 'yyyyy\ny*  x\nyyyyy\n';
  await page.evaluate((text) => {
    const dropped = new DataTransfer();
    dropped.items.add(new File([text], 'first.dat'));
    dropped.items.add(new File(['rrr\nr*x\nrrr\n'], 'second.dat'));
    dropped.items.add(new File([''], 'third.dat'));
    document.dispatchEvent(new DragEvent('drop', {dataTransfer: dropped, bubbles: true, cancelable: true}));
  }, first);
  await expect(notice(page)).toHaveText('Walking "first.dat". Only the first of the 3 files dropped is opened.');
  expect(await walk.mazeText()).toBe(first);
});

test('Show the way starts once however often it is clicked, and its notice ends at the exit', async ({page, walk}) => {
  await countProgramCalls(page);
  await virtualFrames(page);
  walk.layOut('once', {maze: 'rrrrrrr\nr*   xr\nrrrrrrr\n'});
  await walk.open('once');
  // Nine clicks during a turn, while the page's clock stands still.
  await page.evaluate(() => window.virtualFrames.take());
  await page.keyboard.press('a');
  // Clicked by the mouse where the button is: no wait for frames that stand still.
  const button = page.getByRole('button', {name: 'Show the way'});
  const box = await button.boundingBox();
  const click = () => page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  const calls = () => page.evaluate(() => window.programCalls);
  const before = await calls();
  await click();
  const asked = await calls();
  expect(asked).toBeGreaterThan(before);
  for (let i = 0; i < 8; ++i)
    await click();
  expect(await calls(), 'the clicks after the first call nothing').toBe(asked);
  await page.evaluate(() => window.virtualFrames.run(30, 60));
  await expect(notice(page)).toHaveText('Showing the way: 5 key presses to the exit. Any key stops it.');
  const showing = await calls();
  await click();
  expect(await calls()).toBe(showing);
  await page.evaluate(() => window.virtualFrames.release());
  await expect.poll(() => walk.message()).toBe(kCongratulations);
  await expect(notice(page)).toHaveText('');
  await expect(button).toHaveAttribute('aria-pressed', 'false');
});

test('the random settings\' messages name their fields; a copied link\'s notice ends with an edit', async ({page, walk}) => {
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  walk.layOut('settings');
  await walk.open('settings');
  const random = page.getByRole('form', {name: 'Random maze'});
  for (const [field, value, message] of [
    ['Width', '40', 'Width must be a whole number from 5 to 32 (the border included), not "40".'],
    ['Height', '4', 'Height must be a whole number from 5 to 32 (the border included), not "4".'],
    ['Exits', '999', 'Exits must be a whole number from 1 to 197 for a 32 by 32 maze, not "999".'],
  ]) {
    await random.getByLabel(field).fill(value);
    await random.getByRole('button', {name: 'Random maze'}).click();
    await expect(notice(page)).toHaveText(message);
    await random.getByLabel(field).fill(field === 'Exits' ? '1' : '32');
  }

  await page.getByRole('button', {name: 'Copy link', exact: true}).click();
  await expect(notice(page)).toHaveText('The link to this maze is copied.');
  await page.getByRole('button', {name: 'Edit maze'}).click();
  await page.getByRole('gridcell', {name: /^column 2, row 1: /}).click();
  await page.keyboard.press('g');
  await expect(page.getByRole('gridcell', {name: 'column 2, row 1: wall g'})).toBeVisible();
  await expect(notice(page)).toHaveText('');
});

test('New maze at any size has a start and an exit, or is refused', async ({page, walk}) => {
  walk.layOut('new');
  await walk.open('new');
  await page.getByRole('button', {name: 'Edit maze'}).click();
  const editor = page.locator('#editor');
  for (const [width, height] of [[1, 1], [2, 1], [1, 2], [2, 2], [3, 3], [32, 32]]) {
    await editor.getByLabel('Width').fill(String(width));
    await editor.getByLabel('Height').fill(String(height));
    await page.getByRole('button', {name: 'New maze'}).click();
    const findings = await editor.locator('.editor-findings').textContent();
    const status = await editor.locator('.editor-status').textContent();
    const refused = status === `A ${width} by ${height} maze has no room for both a start and an exit.`;
    expect(refused || !findings.includes('not playable'), `${width} by ${height}: ${status} ${findings}`).toBe(true);
    if (!refused)
      expect(await page.getByRole('gridcell', {name: /: exit$/}).count(), `${width} by ${height}`).toBeGreaterThan(0);
  }
});
