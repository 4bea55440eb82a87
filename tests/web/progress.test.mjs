// What a finished walk counts for, on both screens: the levels and their
// marks, personal bests, the daily maze and its streak, challenge links; all
// kept in the browser's storage, and the game going on when it refuses.
import fs from 'node:fs';
import path from 'node:path';

import {expect, mazetool, site, test, virtualFrames} from './fixtures.mjs';

const kCannotSave = 'This browser does not keep what the page saves: your progress and settings last until the page is closed.';
const b64 = (bytes) => Buffer.from(bytes, 'latin1').toString('base64url');
const levelText = (n) => fs.readFileSync(path.join(site, 'levels', `${String(n).padStart(2, '0')}.dat`), 'latin1');
const overlayShown = () => !document.getElementById('message').hidden;
// The walk runs; false too while the page has yet to start its program (after a reload).
const walkRuns = () => Boolean(window.mazePage && window.mazePage.state() && window.mazePage.state().running);

async function openAt(walk, name, fragment) {
  await walk.open(name, fragment);
  await walk.until(walkRuns);
}

// Walks `keys` by hand to the exit; the results' texts by id.
async function finish(walk, keys) {
  await walk.type(keys);
  await walk.until(overlayShown);
  return walk.page.evaluate(() => Object.fromEntries(
    ['result-keys', 'result-time', 'result-best', 'result-record', 'result-challenge'].map((id) => {
      const e = document.getElementById(id);
      return [id, e.closest('[hidden]') ? null : e.textContent];
    })));
}

async function playAgain(walk) {
  await walk.page.getByRole('button', {name: 'Play again'}).click();
  await walk.until(walkRuns);
}

// "1:05.3" as milliseconds.
const msOf = (time) => {
  const [minutes, seconds] = time.split(':');
  return Math.round((Number(minutes) * 60 + Number(seconds)) * 1000);
};

test('levels: the list, #level=N, Next level, and the done marks kept over a reload', async ({page, walk}) => {
  walk.layOut('levels');
  await walk.open('levels');
  await page.getByRole('button', {name: 'Levels', exact: true}).click();
  const list = page.getByRole('region', {name: 'Levels'});
  const shipped = fs.readdirSync(path.join(site, 'levels')).filter((f) => /^[0-9]{2}\.dat$/.test(f)).length;
  await expect(list.getByRole('button')).toHaveText(Array.from({length: shipped}, (_, i) => `Level ${i + 1}`));

  await list.getByRole('button', {name: 'Level 1', exact: true}).click();
  await expect(page).toHaveURL(/#level=1$/);
  await walk.until((text) => window.mazePage.mazeText() === text, levelText(1));
  await finish(walk, mazetool('solve', walk.file('01.dat', levelText(1))).trim());
  await page.getByRole('button', {name: 'Levels', exact: true}).click();
  await expect(list.getByRole('button', {name: 'Level 1, done', exact: true})).toBeVisible();
  await expect(list.getByRole('button', {name: 'Level 2', exact: true})).toBeVisible();

  await page.getByRole('button', {name: 'Next level'}).click();
  await expect(page).toHaveURL(/#level=2$/);
  await walk.until((text) => window.mazePage.mazeText() === text, levelText(2));
  await page.reload();
  await walk.until(walkRuns);
  expect(await walk.mazeText()).toBe(levelText(2));
  await page.getByRole('button', {name: 'Levels', exact: true}).click();
  await expect(list.getByRole('button').first()).toHaveAccessibleName('Level 1, done');
  await expect(list.getByRole('button').nth(1)).toHaveAccessibleName('Level 2');

  for (const [fragment, shown] of [['#level=25', '25'], ['#level=x', 'x'], ['#level=1&level=2', 'level=1&leve…']]) {
    await openAt(walk, 'levels', fragment);
    await expect(page.locator('#notice')).toHaveText(
      `The link's level must be a whole number from 1 to ${shipped}, not "${shown}". Walking maze1.dat instead.`);
  }
});

// A storage that throws on every use, or refuses every write (a full quota).
for (const [refusal, breakStorage] of [
  ['throws', () => Object.defineProperty(window, 'localStorage', {get() {
    throw new DOMException('The storage is off.', 'SecurityError');
  }})],
  ['is full', () => {
    Storage.prototype.setItem = () => {
      throw new DOMException('The quota is used up.', 'QuotaExceededError');
    };
  }],
]) {
  test(`a storage that ${refusal} costs the progress, not the game, and the page says so once`, async ({page, walk}) => {
    await page.addInitScript(breakStorage);
    await page.addInitScript(() => {
      window.notices = [];
      document.addEventListener('DOMContentLoaded', () => new MutationObserver(() => {
        window.notices.push(document.getElementById('notice').textContent);
      }).observe(document.getElementById('notice'), {childList: true, characterData: true, subtree: true}));
    });
    walk.layOut('refused');
    await openAt(walk, 'refused', '#level=1');
    const keys = mazetool('solve', walk.file('01.dat', levelText(1))).trim();
    const first = await finish(walk, keys);
    expect(first['result-record']).toBe('A new best: your first finish of this maze.');
    await playAgain(walk);
    expect((await finish(walk, keys))['result-best']).toMatch(new RegExp(`^${keys.length} key presses in `));
    expect(await page.evaluate(() => window.notices)).toEqual([kCannotSave]);
    // Kept while the page is open.
    await page.getByRole('button', {name: 'Levels', exact: true}).click();
    await expect(page.getByRole('button', {name: 'Level 1, done', exact: true})).toBeVisible();
  });
}

test('personal bests: the better figures kept, none from the way shown, shared by link and file', async ({page, walk}) => {
  walk.layOut('bests');
  const fragment = '#seed=5&width=7&height=7&exits=1';
  await openAt(walk, 'bests', fragment);
  const generated = mazetool('generate', '--seed', '5', '--width', '7', '--height', '7');
  const solution = mazetool('solve', walk.file('way.dat', generated)).trim();

  await page.getByRole('button', {name: 'Show the way'}).click();
  await walk.until(overlayShown);
  await expect(page.locator('#result-note')).toBeVisible();
  await expect(page.locator('#result-best-row')).toBeHidden();
  await expect(page.locator('#result-record')).toBeHidden();

  await playAgain(walk);
  const slow = await finish(walk, ['a', 'd', ...solution]);
  expect(slow['result-record']).toBe('A new best: your first finish of this maze.');
  expect(slow['result-best']).toBe(`${solution.length + 2} key presses in ${slow['result-time']}`);
  await expect(page.locator('#result-best-row')).toBeVisible();

  await playAgain(walk);
  const fast = await finish(walk, solution);
  const bestMs = Math.min(msOf(slow['result-time']), msOf(fast['result-time']));
  expect(fast['result-record']).toMatch(/^A new best: fewer key presses/);
  const [, bestKeys, bestTime] = /^([0-9]+) key presses in (.*)$/.exec(fast['result-best']);
  expect(Number(bestKeys)).toBe(solution.length);
  expect(msOf(bestTime)).toBe(bestMs);

  // The same bytes from a file: the same best; a worse walk sets none.
  await page.setInputFiles('#maze-file', walk.file('same.dat', generated));
  await walk.until(walkRuns);
  const worse = await finish(walk, ['a', 'd', 'a', 'd', ...solution]);
  expect(worse['result-record']).toBeNull();
  expect(worse['result-best']).toBe(fast['result-best']);
  expect(msOf(worse['result-time'])).toBeGreaterThanOrEqual(bestMs - 50);
});

test('the daily maze: the same in every browser as mazetool makes it; its link names the day; the streak',
     async ({page, walk, browser}) => {
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  walk.layOut('daily');
  const expected = mazetool('generate', '--daily', '2026-12-09');
  for (let i = 0; i < 2; ++i) {
    const context = await browser.newContext();
    const fresh = await context.newPage();
    await fresh.goto(`${walk.url}daily/#daily=2026-12-09`);
    await fresh.waitForFunction(walkRuns);
    expect(await fresh.evaluate(() => window.mazePage.mazeText()), `context ${i}`).toBe(expected);
    await context.close();
  }

  // On 2026-12-09, with the two days before finished.
  await page.clock.setFixedTime(new Date('2026-12-09T23:00:00Z'));
  await virtualFrames(page);
  await walk.open('daily');
  await page.evaluate(() => localStorage.setItem('maze.daily', JSON.stringify(['2026-12-07', '2026-12-08'])));
  await page.reload();
  await walk.until(walkRuns);
  const streak = page.locator('#streak');
  await expect(streak).toHaveText('Daily streak: 2 days in a row; finish today\'s maze to keep it.');

  await page.getByRole('button', {name: 'Today\'s maze'}).click();
  await expect(page).toHaveURL(/#daily$/);
  await walk.until((text) => window.mazePage.mazeText() === text, expected);
  await page.getByRole('button', {name: 'Copy link', exact: true}).click();
  await expect(page.locator('#notice')).toHaveText('The link to this maze is copied.');
  expect(await page.evaluate(() => navigator.clipboard.readText())).toBe(`${walk.url}daily/#daily=2026-12-09`);

  // Finished with the way shown, on a clock that runs 12 motion frames a
  // display frame: it counts for the streak, not for a best.
  await page.evaluate(() => window.virtualFrames.take());
  await page.getByRole('button', {name: 'Show the way'}).click();
  await page.evaluate(async () => {
    for (let i = 0; i < 1000 && document.getElementById('message').hidden; ++i)
      await window.virtualFrames.run(1, 5);
  });
  await walk.until(overlayShown);
  await expect(page.locator('#result-note')).toBeVisible();
  await expect(page.locator('#result-best-row')).toBeHidden();
  await expect(streak).toHaveText('Daily streak: 3 days in a row.');
  expect(await page.evaluate(() => JSON.parse(localStorage.getItem('maze.daily'))))
    .toEqual(['2026-12-07', '2026-12-08', '2026-12-09']);
});

test('challenge links: the figures to beat, the verdict, bad values ignored, after every kind of link',
     async ({page, walk}) => {
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  const room = 'ggggggg\nc*    x\nbbbbbbb\n';
  walk.layOut('challenge', {maze: room});
  const banner = page.locator('#to-beat');
  const seed = 'seed=5&width=7&height=7&exits=1';
  const generated = mazetool('generate', '--seed', '5', '--width', '7', '--height', '7');
  const solution = mazetool('solve', walk.file('way.dat', generated)).trim();

  await openAt(walk, 'challenge', `#${seed}&keys=1000&time=3600000`);
  await expect(banner).toHaveText('To beat: 1000 key presses in 60:00.0');
  await walk.type(solution[0]);
  await expect(banner).toBeHidden();
  const won = await finish(walk, solution.slice(1));
  expect(won['result-challenge']).toBe(`Key presses: beaten (${solution.length} against 1000). ` +
                                       `Time: beaten (${won['result-time']} against 60:00.0).`);
  await page.getByRole('button', {name: 'Challenge a friend'}).click();
  await expect(page.locator('#notice')).toHaveText('The link to this challenge is copied.');
  const link = await page.evaluate(() => navigator.clipboard.readText());
  const [, ms] = new RegExp(`^${walk.url}challenge/#${seed}&keys=${solution.length}&time=([0-9]+)$`).exec(link);
  expect(Math.abs(Number(ms) - msOf(won['result-time']))).toBeLessThanOrEqual(50);

  // The friend's side: the figures before the first step, again after Play again.
  await page.goto(link);
  await walk.until(walkRuns);
  await expect(banner).toHaveText(`To beat: ${solution.length} key presses in ${won['result-time']}`);
  const lost = await finish(walk, ['a', 'd', ...solution]);
  expect(lost['result-challenge']).toMatch(
    new RegExp(`^Key presses: not beaten \\(${solution.length + 2} against ${solution.length}\\)\\. Time: `));
  await playAgain(walk);
  await expect(banner).toBeVisible();

  // Bad values are ignored, each with a word; the good one stays.
  for (const [tail, toBeat, notice] of [
    ['&keys=4.5&time=-3', null, 'The challenge\'s key presses must be a whole number from 1 to 1000000, not "4.5": ' +
      'ignored. The challenge\'s time must be a whole number of milliseconds from 1 to 86400000, not "-3": ignored.'],
    ['&keys=0&time=1500', 'To beat: 0:01.5', 'The challenge\'s key presses must be a whole number from 1 to ' +
      '1000000, not "0": ignored.'],
    ['&time=99999999999&keys=7', 'To beat: 7 key presses', 'The challenge\'s time must be a whole number of ' +
      'milliseconds from 1 to 86400000, not "99999999999": ignored.'],
  ]) {
    await openAt(walk, 'challenge', `#${seed}${tail}`);
    expect(await walk.mazeText(), tail).toBe(generated);
    await expect(page.locator('#notice')).toHaveText(notice);
    if (toBeat)
      await expect(banner).toHaveText(toBeat);
    else
      await expect(banner).toBeHidden();
  }

  // After each kind of maze link, the maze is the link's and the figures show.
  for (const [fragment, text] of [
    [`maze=${b64(room)}`, room],
    ['daily=2026-12-09', mazetool('generate', '--daily', '2026-12-09')],
    ['level=2', levelText(2)],
    [seed, generated],
  ]) {
    await openAt(walk, 'challenge', `#${fragment}&keys=3&time=900`);
    await walk.until((t) => window.mazePage.mazeText() === t, text);
    await expect(page.locator('#notice'), fragment).toHaveText('');
    await expect(banner, fragment).toHaveText('To beat: 3 key presses in 0:00.9');
  }
});
