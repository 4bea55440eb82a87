// The map panel (the "Map" button, or m): shown or hidden, and redrawn when
// what it shows changes (the walker's cell or heading, the cells seen, a new
// maze, the panel's width), never on a timer.
import {layout} from './layout.js';
import {describeMap, drawMap} from './map.js';

// Installs the button and the key on `panel` (holding the map's `canvas`);
// `stage` and `pad` are the view and the walking pad it keeps in sight.
// Returns {toggle(), attach(program, kinds, colours)}: the map is drawn once
// a program is attached, with the cell kinds and the textures' mean colours.
export function installMapPanel({panel, canvas, button, stage, pad}) {
  let shown = false;
  let program = null, kinds = null, colours = [];
  let queued = false;    // a redraw is on its way
  let drawnWidth = -1;   // the panel's width at the last drawing
  let walker = {};       // the walker's cell and heading at the last drawing

  // How tall the map may be: beside the view on a wide screen, up to 300 CSS
  // pixels; under it, what leaves the walking pad in sight.
  function roomHeight() {
    if (layout() === 'wide')
      return 300;
    const stageBottom = stage.getBoundingClientRect().bottom + scrollY;
    return Math.max(120, Math.min(300, innerHeight - stageBottom - pad.offsetHeight - 24));
  }

  function draw() {
    queued = false;
    if (!shown || !program)
      return;
    const map = program.map();
    drawnWidth = panel.clientWidth;
    walker = {column: map.column, row: map.row, heading: map.heading};
    drawMap(canvas, map, kinds, colours, {width: panel.clientWidth, height: roomHeight()});
    canvas.setAttribute('aria-label', describeMap(map));
  }

  // One drawing for whatever changed together.
  function redraw() {
    if (shown && program && !queued) {
      queued = true;
      queueMicrotask(draw);
    }
  }

  function toggle() {
    shown = !shown;
    panel.hidden = !shown;
    button.setAttribute('aria-pressed', String(shown));
    redraw();
  }

  button.addEventListener('click', toggle);
  // m shows or hides the map, wherever the keyboard is but in a field, a
  // dialog or a part of the page with keys of its own (the maze editor).
  document.addEventListener('keydown', (event) => {
    const inside = (selector) => event.target.closest && event.target.closest(selector);
    if ((event.key === 'm' || event.key === 'M') && !event.ctrlKey && !event.metaKey && !event.altKey &&
        !inside('dialog, input, select, textarea, [data-own-keys]')) {
      event.preventDefault();  // the map's key, not the walk's
      toggle();
    }
  }, true);
  new ResizeObserver(() => {
    if (panel.clientWidth !== drawnWidth)
      redraw();
  }).observe(panel);

  return {
    toggle,
    attach(p, cellKinds, textureColours) {
      program = p;
      kinds = cellKinds;
      colours = textureColours;
      p.on('seen', redraw);
      p.on('walker', ({column, row, heading}) => {
        if (column !== walker.column || row !== walker.row || heading !== walker.heading)
          redraw();
      });
      redraw();
    },
  };
}
