// What a painted cell costs in the page's maze editor, on a small maze and on
// a 32 by 32 grid with hundreds of findings, measured in one run.
//
//   node bench/web_editor_bench.mjs SITE [--paints N] [--also NAME=SITE]...
//
// One headless Chromium (Debian's) opens the site's page on its shipped maze
// and on a 32 by 32 maze whose 899 inner cells are all invisible walls (899
// findings; opened as a file), opens the editor and paints: by
// key (a cell's byte typed: one change, so the program checks the maze again
// and the findings and the address follow it) and by a mouse drag (cells
// painted within one stroke, whose findings wait for the stroke's end). Each
// figure is the median time from the event's arrival on the page to the end
// of its handling with the page's style and layout brought up to date, timed
// inside the page by listeners around the editor's own. Each --also site
// (another build: say one laid out with an older page) is measured the same
// way in the same run.
import {chromium} from 'playwright-core';

import {launchOptions} from '../tests/web/chromium.mjs';
import {serve} from '../tests/web/static_server.mjs';

function parseArgs(argv) {
  const o = {sites: [], paints: 60};
  for (let i = 0; i < argv.length; ++i) {
    const a = argv[i];
    if (a === '--paints') {
      o.paints = Number(argv[++i]);
    } else if (a === '--also') {
      const [name, dir] = (argv[++i] || '').split('=');
      o.sites.push({name, dir});
    } else if (!a.startsWith('--') && o.sites.every((s) => s.name !== 'this')) {
      o.sites.unshift({name: 'this', dir: a});
    } else {
      throw new Error(`unknown argument ${a}`);
    }
  }
  if (!o.sites.some((s) => s.name === 'this') || !(o.paints > 0))
    throw new Error('usage: web_editor_bench.mjs SITE [--paints N] [--also NAME=SITE]...');
  return o;
}

// A 32 by 32 maze: a wall border around 30 by 30 invisible walls, a start and an exit.
function manyFindingsMaze() {
  const rows = ['r'.repeat(32)];
  for (let row = 1; row <= 30; ++row)
    rows.push(`r${'Q'.repeat(30)}r`);
  rows.push('r'.repeat(32));
  rows[1] = `r*${'Q'.repeat(29)}r`;
  rows[30] = `r${'Q'.repeat(29)}xr`;
  return `${rows.join('\n')}\n`;
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};

// Times every keydown and pointermove the grid handles: from a listener
// that runs before all others to one that runs after the editor's, which
// forces style and layout.
const kTimer = () => {
  const grid = document.querySelector('[role=grid][aria-label="Maze editor"]');
  window.__paint = {key: [], move: [], start: 0};
  for (const type of ['keydown', 'pointermove']) {
    window.addEventListener(type, () => {
      window.__paint.start = performance.now();
    }, true);
    grid.addEventListener(type, () => {
      void document.body.offsetHeight;
      window.__paint[type === 'keydown' ? 'key' : 'move'].push(performance.now() - window.__paint.start);
    });
  }
};

// The figures for one site's page (at `url`) editing `maze` (null: the shipped one).
async function measure(browser, url, maze, paints) {
  const page = await browser.newPage({viewport: {width: 1280, height: 900}});
  await page.goto(url);
  const running = () => page.waitForFunction(() => window.mazePage && window.mazePage.state() &&
                                             window.mazePage.state().running);
  await running();
  if (maze) {
    await page.setInputFiles('#maze-file', {name: 'many.dat', mimeType: 'application/octet-stream',
                                            buffer: Buffer.from(maze)});
    await page.waitForFunction((text) => window.mazePage.mazeText() === text, maze);
    await running();
  }
  await page.getByRole('button', {name: 'Edit maze'}).click();
  await page.getByRole('grid', {name: 'Maze editor'}).waitFor();
  const findings = await page.locator('#editor .editor-findings li').count();
  await page.evaluate(kTimer);
  // By key: the same cell, from one byte to another and back.
  await page.getByRole('gridcell', {name: /^column 2, row 1: /}).focus();
  for (let i = 0; i < paints; ++i)
    await page.keyboard.press(i % 2 ? 'g' : 'b');
  // By drag: across the grid's second row, to and fro, painting green then blue.
  const cells = page.getByRole('gridcell');
  const first = await cells.nth(0).boundingBox();
  const width = Number(await page.getByRole('grid', {name: 'Maze editor'}).evaluate((g) => g.style.getPropertyValue('--columns')));
  const y = first.y + first.height * 1.5;
  const x = (column) => first.x + first.width * (column + 0.5);
  let moves = 0;
  for (let stroke = 0; moves < paints; ++stroke) {
    await page.getByRole('radio', {name: stroke % 2 ? 'wall b' : 'wall g', exact: true}).check();
    await page.mouse.move(x(1), y);
    await page.mouse.down();
    for (let column = 2; column < width - 1 && moves < paints; ++column, ++moves)
      await page.mouse.move(x(column), y);
    await page.mouse.up();
  }
  const times = await page.evaluate(() => window.__paint);
  await page.close();
  return {key: median(times.key), move: median(times.move), findings};
}

const options = parseArgs(process.argv.slice(2));
const browser = await chromium.launch(launchOptions());
try {
  console.log('site        maze                       findings  key paint ms  drag paint ms');
  for (const site of options.sites) {
    const server = await serve(site.dir);
    try {
      for (const [name, maze] of [['shipped maze1.dat', null], ['32x32, 899 invisible walls', manyFindingsMaze()]]) {
        const r = await measure(browser, server.url, maze, options.paints);
        console.log(`${site.name.padEnd(11)} ${name.padEnd(26)} ${String(r.findings).padStart(8)}  ` +
                    `${r.key.toFixed(2).padStart(12)}  ${r.move.toFixed(2).padStart(13)}`);
      }
    } finally {
      await server.close();
    }
  }
} finally {
  await browser.close();
}
