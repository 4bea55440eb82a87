// The page as a game, on both screens: links that carry a maze, the
// findings of a maze that cannot be won, the map of what was seen, the way
// shown, and the results of a walk.
import {expect, kCongratulations, kIdle, kRoom, mazetool, shippedFiles, test} from './fixtures.mjs';

const b64 = (bytes) => Buffer.from(bytes, 'latin1').toString('base64url');

// Opens the page at `fragment` and waits until the walk runs.
async function openAt(walk, name, fragment) {
  await walk.open(name, fragment);
  await walk.until(() => window.mazePage.state().running);
}

// The overlay's figures once an exit is found.
async function results(page) {
  await expect(page.locator('#results')).toBeVisible();
  const text = async (id) => page.locator(`#${id}`).textContent();
  return {keys: Number(await text('result-keys')), time: await text('result-time'),
          shortest: parseInt(await text('result-shortest'), 10)};
}

test('maze links carry the bytes, a reload keeps them, and Copy link copies them', async ({page, walk}) => {
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  const shipped = shippedFiles()['maze1.dat'].toString('latin1');
  walk.layOut('links', {files: shippedFiles()});
  await walk.open('links');
  // The shipped maze has a link, though the address shows none.
  expect(await walk.page.evaluate(() => location.hash)).toBe('');
  expect((await walk.page.evaluate(() => window.mazePage.link())).fragment).toBe(`maze=${b64(shipped)}`);

  const odd = 'rrrr\r\nr*\x00x\xff\nrr\trr';  // CR LF, a NUL, a byte over 0x7f, no last line end
  const mazes = [kRoom, odd, shipped, 'r'.repeat(31) + '\n' + `r*x${' '.repeat(4058)}rr\n`]  // 4096 bytes;
  for (const bytes of mazes) {
    const file = walk.file('mine.dat', Buffer.from(bytes, 'latin1'));
    await page.setInputFiles('#maze-file', file);
    const link = `maze=${b64(bytes)}`;
    await expect(page).toHaveURL(new RegExp(`#${link}$`));
    await page.reload();
    await walk.until(() => window.mazePage?.state()?.running);  // none until the program has started
    // The program's own link of the bytes it read back is the fragment:
    // base64url has one text per byte string, so the bytes are the file's.
    expect((await page.evaluate(() => window.mazePage.link())).fragment, bytes.slice(0, 9)).toBe(link);
    await page.getByRole('button', {name: 'Copy link', exact: true}).click();
    await expect(page.locator('#notice')).toHaveText('The link to this maze is copied.');
    expect(await page.evaluate(() => navigator.clipboard.readText())).toBe(page.url());
  }

  // Over 4 KiB: no link, and the page says so, on opening and on Copy link.
  await page.setInputFiles('#maze-file', walk.file('big.dat', kRoom + ' '.repeat(4097 - kRoom.length)));
  await expect(page.locator('#notice')).toContainText('too large for a link (4097 bytes; at most 4096)');
  expect(await page.evaluate(() => location.hash)).toBe('');
  await page.getByRole('button', {name: 'Copy link', exact: true}).click();
  await expect(page.locator('#notice')).toHaveText('This maze file is too large for a link (4097 bytes; at most 4096).');
});

test('a refused link plays maze1.dat with the reason, at the start and on a hashchange', async ({page, walk}) => {
  walk.layOut('refused');
  for (const [fragment, reason] of [
    ['#maze=cnJy*', 'The link\'s maze is not valid base64url: "cnJy*".'],
    ['#maze=Zh', 'The link\'s maze is not valid base64url: "Zh".'],  // unused bits set
    [`#maze=${'A'.repeat(5464)}`, 'The link\'s maze is too long (5464 characters; a maze link holds at most 4096 bytes).'],
  ]) {
    await openAt(walk, 'refused', fragment);
    await expect(page.locator('#notice')).toHaveText(`${reason} Walking maze1.dat instead.`);
    expect(await walk.mazeText()).toBe(kRoom);
    expect(await page.evaluate(() => location.hash)).toBe('');
  }
  // A new link in the address opens its maze; a refused one goes back to maze1.dat.
  await page.evaluate((f) => { location.hash = f; }, `maze=${b64('yyyyy\ny*  x\nyyyyy\n')}`);
  await walk.until(() => window.mazePage.mazeText().startsWith('yyyyy'));
  await page.evaluate(() => { location.hash = 'maze=%%%'; });
  await walk.until((room) => window.mazePage.mazeText() === room, kRoom);
  await expect(page.locator('#notice')).toContainText('not valid base64url');
});

test('random settings make the link\'s maze, and the link sets them', async ({page, walk}) => {
  walk.layOut('settings');
  await walk.open('settings');
  await page.getByLabel('Width').fill('9');
  await page.getByLabel('Height').fill('7');
  await page.getByLabel('Exits').fill('2');
  await page.getByRole('button', {name: 'Random maze', exact: true}).click();
  await expect(page).toHaveURL(/#seed=[0-9]+&width=9&height=7&exits=2$/);
  const seed = new URL(page.url()).hash.match(/seed=([0-9]+)/)[1];
  expect(await walk.mazeText()).toBe(mazetool('generate', '--seed', seed, '--width', '9', '--height', '7', '--exits', '2'));
  // A setting out of range is refused in the generator's words; the walk goes on.
  await page.getByLabel('Width').fill('40');
  await page.getByRole('button', {name: 'Random maze', exact: true}).click();
  await expect(page.locator('#notice')).toContainText('width must be');
  expect(page.url()).toContain(`seed=${seed}&`);
  await openAt(walk, 'settings', '#seed=4&width=12&height=6&exits=3');
  expect(await page.getByLabel('Width').inputValue()).toBe('12');
  expect(await page.getByLabel('Height').inputValue()).toBe('6');
  expect(await page.getByLabel('Exits').inputValue()).toBe('3');
});

test('an unplayable maze\'s findings stand out, in mazetool check\'s words', async ({page, walk}) => {
  const unplayable = 'rrrrrr\nr*rxrr\nrrrrrr\nrQ\n';  // the exit walled off, an invisible wall, a short row
  walk.layOut('findings', {maze: unplayable});
  await walk.open('findings');
  const lines = mazetool('check', walk.file('u.dat', unplayable), {allowFailure: true}).trim().split('\n');
  const box = page.getByRole('region', {name: 'Findings'});
  await expect(box).toHaveClass(/unplayable/);
  await expect(box.locator('.title')).toHaveText(lines.at(-1));
  await expect(box.locator('li')).toHaveText(lines.slice(0, -1));
  await expect(box.locator('li.blocking')).toHaveText(['no exit reachable from the start']);

  // A playable maze: one short line.
  const playable = 'ggggg\nc* xr\nbbbbb\n';
  await page.setInputFiles('#maze-file', walk.file('room.dat', playable));
  await expect(box).not.toHaveClass(/unplayable/);
  await expect(box).toHaveText(mazetool('check', walk.file('r.dat', playable)).trim().split('\n').at(-1));
});

test('the map shows the cells seen, the walker and exits once seen', async ({page, walk}) => {
  // A corridor east to an exit; the room above it, with another exit, is behind a wall.
  const maze = ['ggggggg', 'gx    g', 'gbbbbbg', 'g*   xg', 'ggggggg', ''].join('\n');
  walk.layOut('map', {maze});
  await walk.open('map');
  await expect(page.locator('#map-panel')).toBeHidden();
  await page.keyboard.press('m');
  await expect(page.locator('#map')).toBeVisible();
  await expect(page.getByRole('button', {name: 'Map'})).toHaveAttribute('aria-pressed', 'true');
  const map = await page.evaluate(() => window.mazePage.map());
  // Six rows: the loader counts the row after the last line end.
  expect(map).toMatchObject({width: 7, height: 6, column: 1, row: 3, heading: 1});
  expect(map.rows[1], 'the room behind the wall and its exit are not seen').toBe('.......');
  expect(map.rows[3], 'the wall behind the walker is not seen').toBe('.    xg');
  await expect(page.locator('#map')).toHaveAttribute('aria-label',
    /^Map: [0-9]+ of 42 cells seen, 1 exit among them; you are on column 1, row 3, facing east\.$/);

  // The canvas: nothing drawn where nothing was seen, the walker red on its cell.
  const pixel = (column, row) => page.evaluate(([c, r]) => {
    const canvas = document.getElementById('map');
    const side = canvas.width / 7;
    return [...canvas.getContext('2d').getImageData((c + 0.5) * side, (r + 0.5) * side, 1, 1).data];
  }, [column, row]);
  expect((await pixel(3, 1))[3], 'unseen').toBe(0);
  expect((await pixel(3, 3))[3], 'seen floor').toBe(255);
  const walker = await pixel(1, 3);
  expect(walker[0]).toBeGreaterThan(200);
  expect(walker[1]).toBeLessThan(100);

  // The map fits beside or under the view, with the pad in sight.
  const [view, panel, forward] = await Promise.all(
    ['#stage', '#map', '[aria-label="Step forward"]'].map((s) => page.locator(s).boundingBox()));
  const viewport = page.viewportSize();
  for (const box of [view, panel, forward])
    expect(box.x + box.width).toBeLessThanOrEqual(viewport.width);
  expect(forward.y + forward.height).toBeLessThanOrEqual(viewport.height);
  expect(panel.y >= view.y + view.height - 1 || panel.x >= view.x + view.width - 1).toBe(true);

  await page.getByRole('button', {name: 'Map'}).click();
  await expect(page.locator('#map-panel')).toBeHidden();
});

test('Show the way walks to the exit with the shortest count; a key stops it', async ({page, walk}) => {
  const fragment = '#seed=5&width=7&height=7&exits=1';
  walk.layOut('way');
  await openAt(walk, 'way', fragment);
  const generated = mazetool('generate', '--seed', '5', '--width', '7', '--height', '7');
  const solution = mazetool('solve', walk.file('way.dat', generated)).trim();
  expect(solution.length).toBeGreaterThan(4);

  // Stopped by a key: the walker stops where the way had brought it.
  await page.getByRole('button', {name: 'Show the way'}).click();
  await walk.until(() => window.mazePage.state().column !== 1 || window.mazePage.state().heading !== 1);
  await page.keyboard.press('Shift');
  await expect(page.getByRole('button', {name: 'Show the way'})).toHaveAttribute('aria-pressed', 'false');
  await walk.idle();
  const stopped = await walk.state();
  await walk.framesPass(30);
  expect(await walk.state()).toMatchObject({column: stopped.column, row: stopped.row, heading: stopped.heading,
                                            movement: kIdle, running: true});

  // From there, all the way to the exit.
  await page.getByRole('button', {name: 'Show the way'}).click();
  await walk.until(() => !document.getElementById('message').hidden);
  expect(await walk.message()).toBe(kCongratulations);
  const figures = await results(page);
  expect(figures.shortest).toBe(solution.length);
  expect(figures.keys).toBeGreaterThanOrEqual(solution.length);
  await expect(page.locator('#result-note')).toBeVisible();

  // Walked by hand with two extra turns: the keys count them, the shortest does not.
  await page.getByRole('button', {name: 'Play again'}).click();
  await walk.until(() => window.mazePage.state().running);
  await walk.type(['a', 'd', ...solution]);
  await walk.until(() => !document.getElementById('message').hidden);
  expect(await results(page)).toMatchObject({keys: solution.length + 2, shortest: solution.length});
  expect((await results(page)).time).toMatch(/^[0-9]+:[0-5][0-9]\.[0-9]$/);
  await expect(page.locator('#result-note')).toBeHidden();
  const overlay = page.locator('#message');
  for (const name of ['Play again', 'New random maze', 'Copy link'])
    await expect(overlay.getByRole('button', {name, exact: true})).toBeVisible();
  await overlay.getByRole('button', {name: 'New random maze', exact: true}).click();
  await walk.until(() => window.mazePage.state().running);
  await expect(page).toHaveURL(/#seed=[0-9]+&width=7&height=7&exits=1$/);
  expect(page.url()).not.toContain(fragment);
});

test('Show the way says so when no exit can be reached', async ({page, walk}) => {
  walk.layOut('noway', {maze: 'rrrrr\nr* rx\nrrrrr\n'});
  await walk.open('noway');
  await page.getByRole('button', {name: 'Show the way'}).click();
  await expect(page.locator('#notice')).toHaveText('No exit can be reached from here.');
  expect(await walk.state()).toMatchObject({column: 1, heading: 1, movement: kIdle});
});
