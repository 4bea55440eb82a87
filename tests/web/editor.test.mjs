// The maze editor, on the desktop and the phone: painting and walking what
// was painted, undo, the file and the link it writes, the keyboard alone,
// and a file full of traps shown as the program's loader reads it.
import fs from 'node:fs';

import {lineCells} from '../../web/page/shapes.js';

import {countProgramCalls, expect, kCongratulations, kPlain, kRoom, mazetool, middle, test, touch} from './fixtures.mjs';

// What the program makes of each byte, written out independently of the page.
const kindOf = (byte) => ({0x20: 'open', 0x2a: 'start', 0x78: 'exit'})[byte]
  || ('rgbcmy'.includes(String.fromCharCode(byte)) && byte ? `wall ${String.fromCharCode(byte)}` : 'invisible wall');

const cell = (page, column, row) => page.getByRole('gridcell', {name: new RegExp(`^column ${column}, row ${row}: `)});

// Every cell of the editor's grid: [column, row, byte, accessible name].
const cells = (page) => page.getByRole('grid', {name: 'Maze editor'}).locator('[role=gridcell]')
  .evaluateAll((all) => all.map((c) => [Number(c.dataset.column), Number(c.dataset.row), Number(c.dataset.byte),
                                        c.getAttribute('aria-label')]));

// The grid as rows of characters, to compare at a glance.
async function gridText(page) {
  const rows = [];
  for (const [column, row, byte] of await cells(page))
    rows[row] = (rows[row] || '') + (column >= 0 ? String.fromCharCode(byte) : '');
  return rows.join('\n');
}

async function openEditor(walk, maze = kRoom) {
  walk.layOut('m', {maze});
  await walk.open('m');
  await walk.page.getByRole('button', {name: 'Edit maze'}).click();
  await expect(walk.page.getByRole('grid', {name: 'Maze editor'})).toBeVisible();
}

async function newMaze(page, width, height) {
  await page.locator('#editor').getByLabel('Width').fill(String(width));
  await page.locator('#editor').getByLabel('Height').fill(String(height));
  await page.getByRole('button', {name: 'New maze'}).click();
}

const choose = (page, kind) => page.getByRole('radio', {name: kind, exact: true}).check();

test('paint a corridor with an exit and walk it to the exit', async ({walk, page}, testInfo) => {
  const phone = testInfo.project.name === 'phone';
  await openEditor(walk);
  // On a phone the editor takes the view's place; beside it on a wide screen.
  if (phone)
    await expect(page.locator('#stage')).toBeHidden();
  else
    expect((await page.locator('#editor').boundingBox()).x).toBeGreaterThan((await page.locator('#stage').boundingBox()).x + 400);

  await newMaze(page, 6, 4);
  expect(await gridText(page)).toBe('rrrrrr\nr*   r\nr   xr\nrrrrrr');
  await choose(page, 'wall g');
  if (phone) {
    for (const column of [1, 2, 3, 4])
      await cell(page, column, 2).tap();
  } else {  // one drag across the row
    const from = await cell(page, 1, 2).boundingBox(), to = await cell(page, 4, 2).boundingBox();
    await page.mouse.move(from.x + from.width / 2, from.y + from.height / 2);
    await page.mouse.down();
    await page.mouse.move(to.x + to.width / 2, to.y + to.height / 2, {steps: 8});
    await page.mouse.up();
  }
  await expect(page.locator('#editor .editor-findings')).toContainText('not playable');
  await choose(page, 'exit');
  await cell(page, 4, 1).click();
  await expect(cell(page, 4, 1)).toHaveAccessibleName('column 4, row 1: exit');
  await expect(page.locator('#editor .editor-findings')).toHaveText('0 findings: playable');
  expect(await gridText(page)).toBe('rrrrrr\nr*  xr\nrggggr\nrrrrrr');

  await page.getByRole('button', {name: 'Walk this maze'}).click();
  await expect(page.locator('#maze')).toBeVisible();
  const file = 'rrrrrr\nr*  xr\nrggggr\nrrrrrr\n';
  expect(await walk.mazeText()).toBe(file);
  expect(new URL(page.url()).hash).toBe(`#maze=${Buffer.from(file).toString('base64url')}`);
  await page.locator('#maze').focus();
  await walk.type(['w', 'w', 'w']);
  await expect.poll(() => walk.message()).toBe(kCongratulations);
});

test('zoomed in on a phone, a finger pans the grid and a tap paints one cell', async ({walk, page}, testInfo) => {
  test.skip(testInfo.project.name !== 'phone', 'touch on a phone');
  await openEditor(walk);
  await newMaze(page, 32, 32);
  const cellWidth = async () => (await cell(page, 0, 0).boundingBox()).width;
  expect(await cellWidth()).toBeLessThan(24);  // too small to tap one cell
  const zoom = page.getByRole('button', {name: 'Zoom in'});
  await zoom.tap();
  await expect(zoom).toHaveAttribute('aria-pressed', 'true');
  expect(await cellWidth()).toBeGreaterThanOrEqual(24);

  const before = await gridText(page);
  const view = page.locator('#editor .grid-view');
  const c = await middle(page, view);
  await touch(page, [0, 1, 2, 3, 4].map((i) => ({x: c.x - 40 * i, y: c.y})));
  await expect.poll(() => view.evaluate((v) => v.scrollLeft)).toBeGreaterThan(0);
  expect(await gridText(page)).toBe(before);

  await choose(page, 'wall g');
  const target = cell(page, 30, 5);
  await target.scrollIntoViewIfNeeded();
  await target.tap();
  await expect(target).toHaveAccessibleName('column 30, row 5: wall g');
  const after = await gridText(page);
  expect([...after].filter((ch, i) => ch !== before[i]).join('')).toBe('g');
  await page.getByRole('button', {name: 'Undo'}).tap();
  expect(await gridText(page)).toBe(before);
});

test('undo and redo', async ({walk, page}) => {
  await openEditor(walk);
  const original = await gridText(page);
  expect(original).toBe(kRoom.trimEnd());
  await choose(page, 'wall m');
  await cell(page, 2, 1).click();
  await cell(page, 3, 1).press('y');
  await page.locator('#editor').getByLabel('Width').fill('7');
  await page.locator('#editor').getByLabel('Width').press('Tab');
  const steps = [original, 'ggggg\nc*m r\nbbbbb', 'ggggg\nc*myr\nbbbbb', 'gggggrr\nc*myrrr\nbbbbbrr'];
  expect(await gridText(page)).toBe(steps[3]);
  // The address follows the edits (an undo too), so a reload would walk the edited maze.
  const linkOf = (grid) => `#maze=${Buffer.from(`${grid}\n`).toString('base64url')}`;
  expect(new URL(page.url()).hash).toBe(linkOf(steps[3]));

  await cell(page, 0, 0).focus();
  for (let i = 2; i >= 0; --i) {
    await page.keyboard.press('Control+z');
    expect(await gridText(page)).toBe(steps[i]);
  }
  await expect(page.getByRole('button', {name: 'Undo'})).toBeDisabled();
  await page.keyboard.press('Control+y');
  expect(await gridText(page)).toBe(steps[1]);
  await page.getByRole('button', {name: 'Redo'}).click();
  await page.getByRole('button', {name: 'Redo'}).click();
  expect(await gridText(page)).toBe(steps[3]);
  await expect(page.getByRole('button', {name: 'Redo'})).toBeDisabled();
  await page.getByRole('button', {name: 'Undo'}).click();
  expect(await gridText(page)).toBe(steps[2]);
  expect(new URL(page.url()).hash).toBe(linkOf(steps[2]));
  // A new change drops what could be redone.
  await cell(page, 1, 0).press('x');
  await expect(page.getByRole('button', {name: 'Redo'})).toBeDisabled();
});

test('the downloaded file equals the link and reads back to the same grid', async ({walk, page, context}) => {
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  // A byte with no kind of its own keeps it; a CR that ends a row cannot.
  await openEditor(walk, 'rrrrr\nr*Q\rx\nrrrr\n');
  await cell(page, 1, 0).press('b');
  const [download] = await Promise.all([page.waitForEvent('download'),
                                        page.getByRole('button', {name: 'Download maze1.dat'}).click()]);
  expect(download.suggestedFilename()).toBe('maze1.dat');
  const file = fs.readFileSync(await download.path());
  expect(file.toString('latin1')).toBe('rbrr\nr*Q#\nrrrr\n');

  await page.getByRole('button', {name: 'Copy link'}).click();
  const link = await page.evaluate(() => navigator.clipboard.readText());
  const fragment = new URL(link).hash;
  expect(fragment).toMatch(/^#maze=[A-Za-z0-9_-]+$/);
  expect(Buffer.from(fragment.slice('#maze='.length), 'base64url')).toEqual(file);

  // The loader reads the file back as the grid the editor showed.
  const hex = mazetool('info', '--cells', walk.file('maze1.dat', file)).trim().split('\n').slice(-32);
  const shown = await cells(page);
  expect(shown.length).toBe(4 * 3);
  for (const [column, row, byte] of shown) {
    const read = parseInt(hex[row].substr(column * 2, 2), 16);
    expect(kindOf(read), `${column} ${row}`).toBe(kindOf(byte));
    expect(read === byte || (byte === 13 && read === 0x23), `${column} ${row}`).toBe(true);
  }
});

test('edit with the keyboard only', async ({walk, page}) => {
  await openEditor(walk);
  const before = await walk.state();
  await page.keyboard.press('Escape');  // nothing of the editor's
  // The cursor starts on the first cell; the walk's keys are the editor's here.
  await expect(cell(page, 0, 0)).toBeFocused();
  for (const key of ['ArrowRight', 'ArrowRight', 'ArrowDown', 'x', 'ArrowRight', 'w', 'ArrowDown', ' ', 'ArrowLeft',
                     'ArrowLeft', 'ArrowLeft', 'ArrowLeft', '*', 'ArrowUp', 'Control+z', 'd'])
    await page.keyboard.press(key);
  await expect(cell(page, 0, 1)).toBeFocused();
  expect(await gridText(page)).toBe('ggggg\nd*xwr\nbbb b');
  expect(await walk.state()).toMatchObject({column: before.column, row: before.row, heading: before.heading});
  // Tab on to "Walk this maze" and walk: the exit is a step ahead of the start.
  for (let i = 0; i < 40 && !(await page.getByRole('button', {name: 'Walk this maze'}).evaluate((b) => b === document.activeElement)); ++i)
    await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  await expect(page.locator('#maze')).toBeFocused();
  await page.keyboard.press('w');
  await expect.poll(() => walk.message()).toBe(kCongratulations);
});

test('a maze full of traps shows as the loader reads it', async ({walk, page}) => {
  // A 40-byte line that wraps, an invisible byte, a lone CR, CR LF, 40 lines
  // (only 32 rows are read) and the last row read shorter than the others.
  const lines = ['rrrrrrrrrr', 'r*  Q  x r\r', 'r'.repeat(40), 'r\r  rrr  r', 'rr    rr'];
  while (lines.length < 30)
    lines.push('rgbcmyrgbc');
  lines.push('rrrrrrr', 'bbbbbbbbbb', 'gggggggggg', 'x');
  const bytes = Buffer.from(lines.join('\n') + '\n', 'latin1');
  await openEditor(walk, bytes);

  const file = walk.file('traps.dat', bytes);
  const info = mazetool('info', '--cells', file, {allowFailure: true}).split('\n');
  const [, width, height] = info[0].split(' ').map(Number);
  const hex = info.filter((l) => /^[0-9a-f]{64}$/.test(l));
  const shown = await cells(page);
  expect(width).toBe(7);
  expect(shown.length).toBe(width * Math.min(height, 32));
  for (const [column, row, byte, name] of shown) {
    const read = parseInt(hex[row].substr(column * 2, 2), 16);
    expect(byte, `${column} ${row}`).toBe(read);
    expect(name).toBe(`column ${column}, row ${row}: ${kindOf(read)}`);
  }

  // The findings say why, and lead to their cells.
  const findings = page.locator('#editor .editor-findings li');
  const check = mazetool('check', file, {allowFailure: true}).trim().split('\n').slice(0, -1);
  await expect(findings).toHaveText(check);
  await page.getByRole('button', {name: /^line 3: 40 bytes/}).click();
  await expect(cell(page, 0, 3)).toBeFocused();
  await page.getByRole('button', {name: /^cell 4 1: invisible wall/}).click();
  await expect(cell(page, 4, 1)).toBeFocused();
});

test('cursor moves ask nothing of the program, and the findings change only with them', async ({walk, page}) => {
  await countProgramCalls(page);
  await openEditor(walk);  // kRoom: no exit
  await page.clock.install();
  await page.clock.pauseAt(Date.now() + 1000);
  await page.evaluate(() => {
    window.findingsChanges = 0;
    new MutationObserver((records) => {
      window.findingsChanges += records.length;
    }).observe(document.querySelector('#editor .editor-findings'), {subtree: true, childList: true, characterData: true});
  });
  const counts = () => page.evaluate(() => ({calls: window.programCalls, findings: window.findingsChanges}));
  await expect(cell(page, 0, 0)).toBeFocused();
  const start = await counts();
  for (const key of ['ArrowRight', 'ArrowDown', 'ArrowRight', 'End', 'Home', 'ArrowUp'])
    await page.keyboard.press(key);
  expect(await counts(), 'cursor moves').toEqual(start);

  // A wall for a wall: a change (the address follows it), the same findings, not announced again.
  await cell(page, 0, 0).press('y');
  const wall = await counts();
  expect(wall.calls).toBeGreaterThan(start.calls);
  expect(wall.findings, 'the same findings').toBe(start.findings);
  await expect(page.locator('#editor .editor-findings')).toContainText('not playable');

  await cell(page, 3, 1).press('x');
  await expect(page.locator('#editor .editor-findings')).toHaveText(/playable/);
  await expect(page.locator('#editor .editor-findings')).not.toContainText('not playable');
  const exit = await counts();
  expect(exit.findings).toBeGreaterThan(wall.findings);
  // Back to a grid already checked and linked: nothing is asked again, but
  // for the view, which reads it once the editing pauses (the page's timers
  // stand still until the test moves them on).
  await page.clock.runFor(1000);
  await expect.poll(() => walk.mazeText()).toBe('ygggg\nc* xr\nbbbbb\n');
  const settled = await counts();
  await page.keyboard.press('Control+z');
  await expect(cell(page, 3, 1)).toHaveAccessibleName('column 3, row 1: open');
  expect((await counts()).calls).toBe(settled.calls);
  await page.clock.runFor(1000);
  await expect.poll(() => walk.mazeText()).toBe('ygggg\nc*  r\nbbbbb\n');
});

// The shape tools' cells, over every pair of ends on a 7 by 7 grid: a line
// takes one cell per step along its longer axis, each touching the last,
// none further than half a cell from the true line, the same both ways.
test('a line covers the cells nearest the true line, the same both ways', async ({}, testInfo) => {
  test.skip(testInfo.project.name !== 'desktop', 'no page: once is enough');
  const side = 7;
  const wrong = [];  // "from to: what is wrong"
  for (let a = 0; a < side * side; ++a)
    for (let b = 0; b < side * side; ++b) {
      const from = {column: a % side, row: Math.floor(a / side)}, to = {column: b % side, row: Math.floor(b / side)};
      const line = lineCells(from, to, side);
      const dc = to.column - from.column, dr = to.row - from.row;
      const wide = Math.abs(dc) >= Math.abs(dr);
      const say = (what) => wrong.push(`${a} ${b}: ${what}`);
      if (line.length !== Math.max(Math.abs(dc), Math.abs(dr)) + 1)
        say(`${line.length} cells`);
      if (String([...lineCells(to, from, side)].sort()) !== String([...line].sort()))
        say('not the same reversed');
      if (!line.includes(a) || !line.includes(b))
        say('an end left out');
      const places = line.map((i) => [i % side, Math.floor(i / side)])
        .sort(wide ? (p, q) => p[0] - q[0] : (p, q) => p[1] - q[1]);
      places.forEach(([column, row], k) => {
        // Distance along the shorter axis from the true line at this cell.
        const off = wide ? Math.abs(from.row + (dr * (column - from.column)) / (dc || 1) - row)
          : Math.abs(from.column + (dc * (row - from.row)) / dr - column);
        if (off > 0.5)
          say(`${column} ${row} is ${off} off`);
        const [c0, r0] = k ? places[k - 1] : [NaN, NaN];
        if (k && ((wide ? column - c0 : row - r0) !== 1 || Math.abs(wide ? row - r0 : column - c0) > 1))
          say(`${column} ${row} does not touch the cell before`);
      });
    }
  expect(wrong).toEqual([]);
});

// The cells with the preview's highlight, as "column row".
const previewed = (page) => page.locator('#editor [role=gridcell].preview')
  .evaluateAll((all) => all.map((c) => `${c.dataset.column} ${c.dataset.row}`).sort());
// The cells where two grids' texts differ, as "column row".
const differences = (a, b) => {
  const out = [];
  a.split('\n').forEach((line, row) => [...line].forEach((ch, column) => {
    if (b.split('\n')[row][column] !== ch)
      out.push(`${column} ${row}`);
  }));
  return out.sort();
};

const chooseTool = (page, tool) => page.getByRole('radio', {name: tool, exact: true}).check();

// Presses on one cell, drags to another and, once `held` has looked, lets go:
// the mouse on a desktop, a finger on a phone.
async function drag(page, phone, [c0, r0], [c1, r1], held) {
  const from = await middle(page, cell(page, c0, r0)), to = await middle(page, cell(page, c1, r1));
  const points = [0, 0.25, 0.5, 0.75, 1].map((t) => ({x: from.x + (to.x - from.x) * t, y: from.y + (to.y - from.y) * t}));
  if (phone)
    return touch(page, points, held);
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  for (const p of points)
    await page.mouse.move(p.x, p.y);
  await held();
  await page.mouse.up();
}

// A room split by a wall with a gap only at a corner: a fill must not leak through it.
const kSplit = 'rrrrrrrr\nr*  g  r\nr   g  r\nrggg   r\nr     xr\nrrrrrrrr';
const kShapes = [
  {tool: 'Line', kind: 'wall m', from: [1, 2], to: [6, 3],
   grid: 'rrrrrrrr\nr*  g  r\nrmmmg  r\nrgggmmmr\nr     xr\nrrrrrrrr'},
  {tool: 'Rectangle', kind: 'wall b', from: [2, 1], to: [5, 4],
   grid: 'rrrrrrrr\nr*bbbb r\nr b gb r\nrgbg b r\nr bbbbxr\nrrrrrrrr'},
  {tool: 'Filled rectangle', kind: 'wall c', from: [6, 4], to: [5, 1],
   grid: 'rrrrrrrr\nr*  gccr\nr   gccr\nrggg ccr\nr    ccr\nrrrrrrrr'},
  {tool: 'Fill', kind: 'wall y', from: [2, 2], to: [2, 2],
   grid: 'rrrrrrrr\nr*yyg  r\nryyyg  r\nrggg   r\nr     xr\nrrrrrrrr'},
];

test('line, rectangle, filled rectangle and fill: previewed, then exactly their cells, one step to undo', async ({walk, page}, testInfo) => {
  const phone = testInfo.project.name === 'phone';
  await openEditor(walk, `${kSplit}\n`);
  for (const {tool, kind, from, to, grid} of kShapes) {
    await chooseTool(page, tool);
    await choose(page, kind);
    const expected = differences(kSplit, grid);
    const previewShown = async () => {
      await expect.poll(() => previewed(page), tool).toEqual(expected);
      expect(await gridText(page), tool).toBe(kSplit);
    };
    if (tool === 'Fill') {
      // Previewed where the mouse points, or at the cursor on a phone.
      if (phone)
        await cell(page, ...to).focus();
      else
        await cell(page, ...to).hover();
      await previewShown();
      await (phone ? cell(page, ...to).tap() : cell(page, ...to).click());
    } else {
      await drag(page, phone, from, to, previewShown);
    }
    await expect.poll(() => gridText(page), tool).toBe(grid);
    expect(await previewed(page), tool).toEqual([]);
    await page.getByRole('button', {name: 'Undo'}).click();
    expect(await gridText(page), tool).toBe(kSplit);
  }

  // By keyboard: Enter marks a corner, the arrows take the other along with
  // the preview, Escape drops it, Enter draws it.
  await chooseTool(page, 'Rectangle');
  await choose(page, 'wall b');
  await cell(page, 2, 1).focus();
  await page.keyboard.press('Enter');
  for (const key of ['ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowDown'])
    await page.keyboard.press(key);
  expect(await previewed(page)).toEqual(differences(kSplit, kShapes[1].grid));
  await expect(page.locator('#editor .editor-status')).toContainText('Escape cancels');
  await page.keyboard.press('Escape');
  expect(await previewed(page)).toEqual([]);
  await page.keyboard.press('Enter');
  await page.keyboard.press('Enter');  // a one-cell rectangle
  expect(await gridText(page)).toBe(kSplit.replace('r     xr', 'r    bxr'));
});

test('Generate makes the maze mazetool generate makes with the seed shown, one step to undo', async ({walk, page}) => {
  walk.layOut('m', {maze: kRoom});
  await walk.open('m');
  await page.locator('#random-exits').fill('2');
  await page.getByRole('button', {name: 'Edit maze'}).click();
  await newMaze(page, 9, 7);
  const before = await gridText(page);
  await page.getByRole('button', {name: 'Generate'}).click();
  const status = page.locator('#editor .editor-status');
  await expect(status).toContainText('Generated a 9 by 7 maze with 2 exits from seed');
  const seed = /seed (\d+)/.exec(await status.textContent())[1];
  const made = mazetool('generate', '--seed', seed, '--width', '9', '--height', '7', '--exits', '2');
  expect(`${await gridText(page)}\n`).toBe(made);
  await page.getByRole('button', {name: 'Undo'}).click();
  expect(await gridText(page)).toBe(before);
  // Too small for the generator: said, and nothing changes.
  await newMaze(page, 4, 7);
  const small = await gridText(page);
  await page.getByRole('button', {name: 'Generate'}).click();
  await expect(status).toHaveText('To generate a maze, its width must be a whole number from 5 to 32 (the border included), not "4".');
  expect(await gridText(page)).toBe(small);
});

test('mirrored painting with each tool; a start is placed once', async ({walk, page}, testInfo) => {
  const phone = testInfo.project.name === 'phone';
  await openEditor(walk);
  await newMaze(page, 8, 6);
  const mirror = (name) => page.getByRole('button', {name});
  await mirror('Mirror left to right').click();
  await expect(mirror('Mirror left to right')).toHaveAttribute('aria-pressed', 'true');
  const steps = [
    // [tool, kind, from, to, the grid after, mirrors to switch first]
    ['Pen', 'wall g', [2, 1], [2, 1], 'rrrrrrrr\nr*g  g r\nr      r\nr      r\nr     xr\nrrrrrrrr', []],
    ['Line', 'wall m', [1, 2], [2, 3], 'rrrrrrrr\nr*g  g r\nrm    mr\nr m  m r\nr     xr\nrrrrrrrr', []],
    ['Filled rectangle', 'wall c', [3, 1], [3, 2], 'rrrrrrrr\nr*gccg r\nrm cc mr\nr mccm r\nr  cc xr\nrrrrrrrr',
     ['Mirror top to bottom']],
    ['Rectangle', 'wall b', [0, 0], [1, 1], 'bbrrrrbb\nbbgccgbb\nrm cc mr\nr mccm r\nbb cc bb\nbbrrrrbb', []],
    // The left border's wall, with its mirror image: the right border's, another region.
    ['Fill', 'wall y', [0, 2], [0, 2], 'bbrrrrbb\nbbgccgbb\nym cc my\ny mccm y\nbb cc bb\nbbrrrrbb',
     ['Mirror top to bottom']],
    ['Pen', 'start', [3, 1], [3, 1], 'bbrrrrbb\nbbg*cgbb\nym cc my\ny mccm y\nbb cc bb\nbbrrrrbb', []],
  ];
  for (const [tool, kind, from, to, grid, toggles] of steps) {
    for (const name of toggles)
      await mirror(name).click();
    await chooseTool(page, tool);
    await choose(page, kind);
    const before = await gridText(page);
    if (tool === 'Pen' || tool === 'Fill')
      await (phone ? cell(page, ...to).tap() : cell(page, ...to).click());
    else
      await drag(page, phone, from, to, async () => {
        await expect.poll(() => previewed(page), tool).toEqual(differences(before, grid));
      });
    await expect.poll(() => gridText(page), `${tool} ${kind}`).toBe(grid);
  }
  await expect(mirror('Mirror top to bottom')).toHaveAttribute('aria-pressed', 'false');
});

test('the view follows the edited maze without "Walk this maze"', async ({walk, page}, testInfo) => {
  const phone = testInfo.project.name === 'phone';
  await openEditor(walk);  // kRoom: the start faces the red wall
  if (!phone)
    expect(await walk.centre()).toEqual(kPlain.r);
  await cell(page, 4, 1).press('b');
  await expect.poll(() => walk.mazeText()).toBe('ggggg\nc*  b\nbbbbb\n');
  if (phone)  // the view is in the editor's place: it shows once the editor closes
    await page.locator('#editor').getByRole('button', {name: 'Close'}).click();
  await expect.poll(() => walk.centre()).toEqual(kPlain.b);
  // From its start again after a step.
  if (!phone) {
    await page.locator('#maze').focus();
    await walk.type(['s']);
    await cell(page, 4, 1).press('g');
    await expect.poll(() => walk.state().then((s) => [s.column, s.row])).toEqual([1, 1]);
    await expect.poll(() => walk.centre()).toEqual(kPlain.g);
  }
});

test('at 1280 by 800 a 32 by 32 maze and every control of the editor fit without scrolling', async ({walk, page}, testInfo) => {
  test.skip(testInfo.project.name !== 'desktop', 'the desktop window');
  await openEditor(walk);
  await newMaze(page, 32, 32);
  const editor = page.locator('#editor');
  const parts = [page.getByRole('grid', {name: 'Maze editor'}), editor.locator('.palette'), editor.locator('.tools'),
                 ...['Undo', 'Walk this maze', 'Download maze1.dat', 'Copy link', 'Generate', 'Mirror top to bottom']
                   .map((name) => editor.getByRole('button', {name}))];
  for (const part of parts) {
    const box = await part.boundingBox();
    expect(box.y + box.height, String(part)).toBeLessThanOrEqual(800);
    expect(box.x + box.width, String(part)).toBeLessThanOrEqual(1280);
  }
  expect(await page.evaluate(() => window.scrollY)).toBe(0);
  const zoom = editor.getByRole('button', {name: 'Zoom in'});
  await zoom.click();
  await expect(zoom).toHaveAttribute('aria-pressed', 'true');
});
