// The maze editor: the maze being walked as a top view of its cells, as the
// program's loader reads them, painted with the ten kinds of cell by pointer,
// touch or keyboard, with undo, resizing and the check's findings kept up to
// date. Shape tools (line, rectangles, fill) show the cells they would change
// before they change them, and any painting can be mirrored; "Generate"
// puts a random maze in the grid. While the editor is open the view walks
// the edited maze; "Walk this maze" hands it over to the walk.
//
// Everything it needs from the page comes in through installEditor's
// services; the maze's rules stay in the program (editor_api.cpp). The
// program checks and links each grid once: on a change, not on a cursor move.
import {kindClass} from './kinds.js';
import {layout} from './layout.js';
import {randomSeed} from './links.js';
import {mirrorCells, toolCells} from './shapes.js';
import textureFiles from './texture_files.js';

const kMaxSide = 32;
const kUndoDepth = 500;
// Cells are drawn this many CSS pixels wide at most, and never narrower than the minimum.
const kMaxCellPx = 26;
const kMinCellPx = 10;
// Zoomed in, cells are at least this wide: one finger can tap a single cell
// (a 32-wide maze on a phone leaves 10 pixels a cell otherwise).
const kZoomCellPx = 28;
const kStartMark = '\u25b6';  // the walker starts facing +x, to the right
const kExitMark = '\u2715';
// The tools, by the name shapes.js knows them by.
const kTools = [['pen', 'Pen'], ['line', 'Line'], ['rectangle', 'Rectangle'], ['filled', 'Filled rectangle'],
                ['fill', 'Fill']];
// The view follows the edited grid this long after its last change, so
// that a burst of edits reads the maze once.
const kFollowMs = 200;

function element(tag, attributes = {}, ...children) {
  const e = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes))
    if (name === 'text')
      e.textContent = value;
    else
      e.setAttribute(name, value);
  e.append(...children);
  return e;
}

// A grid to edit: {width, height, cells}, and the file it was read from
// (`source`) until it is edited. The program's answers about it (its file,
// check and link) are kept on it; a change makes a new grid.
const copyGrid = (g) => ({width: g.width, height: g.height, cells: Uint8Array.from(g.cells)});
const sameGrid = (a, b) => a.width === b.width && a.height === b.height && a.cells.every((c, i) => c === b.cells[i]);

// Builds the editor after `view` (beside it on a wide screen, in its place
// on a phone; their parent gets the class "editing" while it is open) and
// its "Edit maze" button into `opener`. Services:
//   program: the program's interface (program.js);
//   kinds: its cell kinds ({kinds, ofByte});
//   openMazeBytes(bytes, label, {focus, quiet}): walks a maze file's bytes
//     from its start, the view taking the keyboard unless focus is false,
//     saying nothing when quiet;
//   shareLink(link, field, what): copies a link ({fragment} or {error}) and
//     resolves to what to say of it;
//   showInAddress(fragment): puts it in the address, with no new history entry;
//   showFindings(box, report, {pick, open}): lists the check's findings;
//   focusView(): gives the keyboard to the walk;
//   randomExits(): the random maze settings' exit count, as text.
// Each kind is painted in its class's colour (kinds.js).
export function installEditor({program, kinds, openMazeBytes, shareLink, showInAddress, showFindings,
                               focusView, randomExits, view, opener}) {
  const host = view.parentElement;
  const kindOf = (byte) => kinds.kinds[kinds.ofByte[byte]];

  let grid = {width: 0, height: 0, cells: new Uint8Array(0)};
  let cursor = {column: 0, row: 0};
  let paintByte = kinds.kinds.find((k) => k.name === 'wall r').byte;
  const startByte = kinds.kinds.find((k) => k.name === 'start').byte;
  const floorByte = kinds.kinds.find((k) => k.name === 'open').byte;
  let tool = 'pen';
  const mirror = {leftRight: false, topBottom: false};
  const undo = [], redo = [];
  let cellNodes = [];

  // The panel.
  const open = element('button', {type: 'button', class: 'button', id: 'edit-maze', text: 'Edit maze'});
  opener.append(open);
  const panel = element('section', {id: 'editor', 'aria-label': 'Maze editor panel', 'data-own-keys': ''});
  panel.hidden = true;
  const gridNode = element('div', {role: 'grid', 'aria-label': 'Maze editor', class: 'maze-grid'});
  const gridView = element('div', {class: 'grid-view'}, gridNode);  // scrolls the zoomed grid
  let zoomed = false;
  const palette = element('fieldset', {class: 'palette'}, element('legend', {text: 'Paint'}));
  const widthInput = element('input', {type: 'number', min: 1, max: kMaxSide, id: 'editor-width'});
  const heightInput = element('input', {type: 'number', min: 1, max: kMaxSide, id: 'editor-height'});
  const button = (text, onClick, attributes = {}) => {
    const b = element('button', {type: 'button', class: 'button', text, ...attributes});
    b.addEventListener('click', onClick);
    return b;
  };
  // Zoomed in, a touch drag scrolls the grid and a tap paints one cell.
  const zoomButton = button('Zoom in', () => {
    zoomed = !zoomed;
    zoomButton.setAttribute('aria-pressed', String(zoomed));
    gridView.classList.toggle('zoomed', zoomed);
    fitCells();
    moveCursor(cursor.column, cursor.row);
  }, {'aria-pressed': 'false'});
  const undoButton = button('Undo', () => step(undo, redo), {'aria-keyshortcuts': 'Control+Z'});
  const redoButton = button('Redo', () => step(redo, undo), {'aria-keyshortcuts': 'Control+Y'});
  const findings = element('section', {class: 'editor-findings', 'aria-label': 'Findings of the edited maze',
                                       'aria-live': 'polite'});
  const status = element('p', {class: 'editor-status', role: 'status'});
  const linkField = element('input', {type: 'text', readonly: '', class: 'editor-link', 'aria-label': 'The edited maze\'s link'});
  linkField.hidden = true;

  for (const kind of kinds.kinds) {
    const radio = element('input', {type: 'radio', name: 'paint', value: String(kind.byte)});
    radio.checked = kind.byte === paintByte;
    radio.addEventListener('change', () => {
      paintByte = kind.byte;
    });
    const swatch = element('span', {class: `swatch ${kindClass(kind)}`, 'aria-hidden': 'true'});
    if (kind.slot > 0)
      swatch.style.backgroundImage = `url("${textureFiles[kind.slot]}")`;
    palette.append(element('label', {}, radio, swatch, element('span', {text: kind.name})));
  }
  // The tools, beside the palette: how a press, a drag or Enter paints.
  const tools = element('fieldset', {class: 'tools'}, element('legend', {text: 'Tool'}));
  for (const [name, label] of kTools) {
    const radio = element('input', {type: 'radio', name: 'tool', value: name});
    radio.checked = name === tool;
    radio.addEventListener('change', () => {
      tool = name;
      if (shape)
        cancelShape();
      else
        refreshPreview();
    });
    tools.append(element('label', {}, radio, element('span', {text: label})));
  }
  // Mirrored painting: each change also at its mirror image(s).
  const mirrorButton = (text, axis) => {
    const b = button(text, () => {
      mirror[axis] = !mirror[axis];
      b.setAttribute('aria-pressed', String(mirror[axis]));
      refreshPreview();
    }, {'aria-pressed': 'false'});
    return b;
  };
  const mirrors = element('div', {class: 'mirrors', role: 'group', 'aria-label': 'Mirror'},
                          mirrorButton('Mirror left to right', 'leftRight'),
                          mirrorButton('Mirror top to bottom', 'topBottom'));
  const side = element('div', {class: 'editor-side'}, tools, mirrors, palette);
  const body = element('div', {class: 'editor-body'}, gridView, side);
  panel.append(
    element('div', {class: 'editor-head'}, element('h2', {text: 'Maze editor'}),
            button('Close', () => show(false))),
    element('div', {class: 'editor-size'},
            element('label', {for: 'editor-width', text: 'Width'}), widthInput,
            element('label', {for: 'editor-height', text: 'Height'}), heightInput,
            button('New maze', newMaze),
            button('Generate', generate), zoomButton),
    body,
    element('div', {class: 'editor-actions'}, undoButton, redoButton,
            button('Walk this maze', walk), button('Download maze1.dat', download), button('Copy link', copyLink)),
    status, linkField, findings);

  const sideOf = (input) => Math.min(kMaxSide, Math.max(1, Math.round(Number(input.value)) || 1));
  // The file the grid writes; {fragment} of it, or {error} when it is too
  // large for a link; the check's report of the file it describes.
  const fileBytes = () => grid.file || (grid.file = program.gridFile(grid));
  const linkOfGrid = () => grid.link || (grid.link = program.linkOf(fileBytes()));
  const reportOfGrid = () => grid.report || (grid.report = program.checkBytes(grid.source || fileBytes()));

  // A new maze of the size asked for; refused, saying so, where the program
  // gives it no start or no exit: a maze that cannot be won is no start.
  function newMaze() {
    const width = sideOf(widthInput), height = sideOf(heightInput);
    const next = program.newGrid(width, height);
    const has = (name) => next.cells.includes(kinds.kinds.find((k) => k.name === name).byte);
    if (!has('start') || !has('exit')) {
      status.textContent = `A ${width} by ${height} maze has no room for both a start and an exit.`;
      return;
    }
    change(next);
  }

  // Replaces the grid as one undoable change.
  function change(next) {
    if (sameGrid(next, grid))
      return;
    undo.push(grid);
    if (undo.length > kUndoDepth)
      undo.shift();
    redo.length = 0;
    status.textContent = '';
    setGrid(next);
    followInAddress();
    followInView();
  }

  function step(from, to) {
    if (!from.length)
      return;
    to.push(grid);
    setGrid(from.pop());
    followInAddress();
    followInView();
  }

  // The address carries the edited maze from its first change on, so that a
  // reload walks it; a file too large for a link leaves the address bare.
  function followInAddress() {
    showInAddress(linkOfGrid().fragment || '');
  }

  // The view walks the edited maze from its start a moment after a change
  // while the editor is open; `inView` is the grid it walks.
  let inView = null, followTimer = 0;
  function followInView() {
    clearTimeout(followTimer);
    followTimer = setTimeout(showInView, kFollowMs);
  }
  function showInView() {
    clearTimeout(followTimer);
    followTimer = 0;
    if (grid === inView || !grid.width || !grid.height)
      return;
    inView = grid;
    openMazeBytes(fileBytes(), 'the edited maze', {focus: false, quiet: true});
  }

  function setGrid(next) {
    const before = grid, cursorBefore = cursorIndex();
    const resized = next.width !== grid.width || next.height !== grid.height;
    grid = next;
    if (resized) {
      shape = null;
      build();
    }
    cursor = {column: Math.min(cursor.column, Math.max(0, grid.width - 1)),
              row: Math.min(cursor.row, Math.max(0, grid.height - 1))};
    if (resized)
      render();
    else
      renderChanges(before, cursorBefore);
    renderFindings();
    refreshPreview();
  }

  // A cell's byte set, with a new start replacing the old one: the program
  // starts on the last "*" and the author means the one just painted.
  function paint(next, column, row, byte) {
    if (byte === startByte)
      next.cells.forEach((c, i) => {
        if (c === startByte)
          next.cells[i] = floorByte;
      });
    next.cells[row * next.width + column] = byte;
  }

  // What `name` (a tool of shapes.js) paints with `byte` on `next` from
  // `from` to `to`, mirrored as the toggles say. A start is unique: it goes
  // on `to` alone.
  function paintTool(next, name, from, to, byte) {
    if (byte === startByte) {
      paint(next, to.column, to.row, byte);
      return;
    }
    for (const i of mirrorCells(toolCells(name, next, from, to), next.width, next.height, mirror))
      next.cells[i] = byte;
  }

  // The grid the tool in use would make from `from` to `to`.
  function toolGrid(from, to) {
    const next = copyGrid(grid);
    paintTool(next, tool, from, to, paintByte);
    return next;
  }

  // The tool used from `from` to `to` (the pen and fill: both the cell
  // chosen), as one change, the cursor left on `to`.
  function useTool(from, to) {
    shape = null;
    status.textContent = '';
    change(toolGrid(from, to));
    refreshPreview();
    moveCursor(to.column, to.row);
  }

  function build() {
    gridNode.replaceChildren();
    cellNodes = [];
    previewed = new Set();
    gridNode.style.setProperty('--columns', grid.width);
    for (let row = 0; row < grid.height; ++row) {
      const rowNode = element('div', {role: 'row'});
      for (let column = 0; column < grid.width; ++column) {
        const cell = element('div', {role: 'gridcell', tabindex: '-1'});
        cell.dataset.column = column;
        cell.dataset.row = row;
        rowNode.append(cell);
        cellNodes.push(cell);
      }
      gridNode.append(rowNode);
    }
    widthInput.value = grid.width;
    heightInput.value = grid.height;
    fitCells();
  }

  // The cells' size: as large as the panel's width allows, less the tools
  // and palette's column where they stand beside the grid (the wide layout).
  function fitCells() {
    const padding = parseFloat(getComputedStyle(panel).paddingLeft) || 0;
    const beside = layout() === 'wide' ? side.offsetWidth + (parseFloat(getComputedStyle(body).columnGap) || 0) : 0;
    const room = Math.min((panel.clientWidth || host.clientWidth || 360) - 2 * padding - beside, 32 * kMaxCellPx) - 2;
    const fit = Math.max(kMinCellPx, Math.min(kMaxCellPx, Math.floor(room / Math.max(grid.width, 1))));
    const px = zoomed ? Math.max(kZoomCellPx, fit) : fit;
    gridNode.style.setProperty('--cell', `${px}px`);
  }

  const cursorIndex = () => cursor.row * grid.width + cursor.column;

  // Cell i as the grid has it, and whether the cursor is on it.
  function renderCell(i) {
    const cell = cellNodes[i];
    const byte = grid.cells[i];
    const kind = kindOf(byte);
    const here = i === cursorIndex();
    cell.setAttribute('aria-label', `column ${cell.dataset.column}, row ${cell.dataset.row}: ${kind.name}`);
    cell.className = kindClass(kind);
    cell.dataset.byte = byte;
    cell.textContent = kind.name === 'start' ? kStartMark : kind.name === 'exit' ? kExitMark : '';
    cell.tabIndex = here ? 0 : -1;
    cell.classList.toggle('cursor', here);
    cell.setAttribute('aria-selected', String(here));
    cell.classList.toggle('preview', previewed.has(i));
  }

  // Every cell and the controls, after the grid changed.
  function render() {
    cellNodes.forEach((cell, i) => renderCell(i));
    widthInput.value = grid.width;
    heightInput.value = grid.height;
    undoButton.disabled = !undo.length;
    redoButton.disabled = !redo.length;
  }

  // Only the cells that differ from `before` (a grid of the same size), the
  // cursor's old and new cells and the undo buttons: a painted cell costs the
  // same on any grid.
  function renderChanges(before, cursorBefore) {
    for (let i = 0; i < grid.cells.length; ++i)
      if (grid.cells[i] !== before.cells[i])
        renderCell(i);
    if (cursorBefore < cellNodes.length)
      renderCell(cursorBefore);
    renderCell(cursorIndex());
    undoButton.disabled = !undo.length;
    redoButton.disabled = !redo.length;
  }

  // The findings of the file the grid was read from, which say why it
  // shows as it does, until it is edited; then those of the file it writes.
  // The list (a live region) is only rebuilt when they change.
  let shownReport = '';
  function renderFindings() {
    const report = reportOfGrid();
    const text = JSON.stringify(report);
    if (text === shownReport)
      return;
    shownReport = text;
    const pick = (i) => {
      const [column, row] = report.places[i];
      const inGrid = column >= 0 && row >= 0 && column < grid.width && row < grid.height;
      return inGrid ? () => moveCursor(column, row) : null;
    };
    showFindings(findings, report, {pick, open: true});
  }

  // The cursor to a cell: two cells drawn again, nothing asked of the
  // program. A shape marked by keyboard or taps ends where the cursor is.
  function placeCursor(column, row) {
    const before = cursorIndex();
    cursor = {column, row};
    if (before < cellNodes.length)
      renderCell(before);
    renderCell(cursorIndex());
    if (shape && shape.id === null)
      shape.to = {...cursor};
    refreshPreview();
  }

  // The preview: the cells that the shape being drawn would change, or a
  // fill where the mouse points or else at the cursor while the grid has
  // the focus, highlighted; nothing changes until the tool is used.
  // `shape` is {from, to, id}: id the pointer dragging it, null for one
  // marked by keyboard or taps. `hover` is the cell the mouse is over.
  let shape = null, hover = null, previewed = new Set();
  const shapeNames = Object.fromEntries(kTools);
  function refreshPreview() {
    let changed = [];
    const at = hover || (gridNode.contains(document.activeElement) ? cursor : null);
    if (shape || (tool === 'fill' && at && grid.width)) {
      const from = shape ? shape.from : at, to = shape ? shape.to : at;
      const next = toolGrid(from, to);
      for (let i = 0; i < next.cells.length; ++i)
        if (next.cells[i] !== grid.cells[i])
          changed.push(i);
      if (shape)
        status.textContent = `${shapeNames[tool]} from column ${from.column}, row ${from.row} to column ${to.column}, `
            + `row ${to.row}: ${changed.length} ${changed.length === 1 ? 'cell' : 'cells'} would change. `
            + `${shape.id === null ? 'Enter draws it' : 'Release to draw it'}, Escape cancels.`;
    }
    const next = new Set(changed);
    for (const i of previewed)
      if (!next.has(i) && i < cellNodes.length)
        cellNodes[i].classList.remove('preview');
    for (const i of next)
      if (!previewed.has(i))
        cellNodes[i].classList.add('preview');
    previewed = next;
  }

  // Drops the shape being drawn, changing nothing.
  function cancelShape() {
    shape = null;
    status.textContent = '';
    refreshPreview();
  }

  // Draws the shape being drawn, as one change.
  function finishShape() {
    const {from, to} = shape;
    useTool(from, to);
  }

  // A press, a tap or Enter on a cell with a shape tool: the first marks a
  // corner (an end of a line), the next draws the shape to that cell.
  function markOrFinish(at) {
    if (!shape) {
      shape = {from: at, to: at, id: null};
      moveCursor(at.column, at.row);
    } else {
      shape.to = at;
      finishShape();
    }
  }

  function moveCursor(column, row) {
    if (!grid.width || !grid.height)
      return;
    placeCursor(Math.max(0, Math.min(grid.width - 1, column)), Math.max(0, Math.min(grid.height - 1, row)));
    cellNodes[cursorIndex()].focus();
  }

  // Pointer, touch and pen: with the pen a press paints, a drag paints
  // every cell it crosses, and the whole stroke is one step to undo; a line
  // or rectangle is drawn from the press to the release, a fill made at the
  // press. On the zoomed grid a finger or pen pans instead, and a lift from
  // a cell unmoved counts as a tap there (the browser cancels the pointer
  // once it pans): the pen paints the cell, a fill fills from it, and a
  // shape takes two taps, one per corner.
  let stroke = null, tap = null;
  const cellAt = (event) => {
    const e = document.elementFromPoint(event.clientX, event.clientY);
    return e && e.getAttribute('role') === 'gridcell' && gridNode.contains(e) ? e : null;
  };
  const placeOf = (cell) => ({column: Number(cell.dataset.column), row: Number(cell.dataset.row)});
  const paintAt = (event) => {
    const cell = cellAt(event);
    if (!cell || !stroke)
      return;
    const at = placeOf(cell);
    const before = {cells: stroke.next.cells.slice()}, cursorBefore = cursorIndex();
    paintTool(stroke.next, 'pen', at, at, paintByte);
    if (stroke.next.cells.every((c, i) => c === before.cells[i]))
      return;
    grid = stroke.next;
    cursor = at;
    renderChanges(before, cursorBefore);  // the findings wait for the stroke's end: one change
  };
  // A stroke from `event`'s pointer, painting the cell under it first.
  const startStroke = (event) => {
    stroke = {before: grid, next: copyGrid(grid), id: event.pointerId};
    paintAt(event);
  };
  gridNode.addEventListener('pointerdown', (event) => {
    if (event.button !== 0)
      return;
    if (zoomed && event.pointerType !== 'mouse') {  // a finger or pen, which the zoomed grid pans
      tap = {id: event.pointerId, cell: cellAt(event)};
      return;
    }
    event.preventDefault();
    const cell = cellAt(event);
    if (tool === 'pen') {
      gridNode.setPointerCapture(event.pointerId);
      startStroke(event);
    } else if (cell && tool === 'fill') {
      useTool(placeOf(cell), placeOf(cell));
    } else if (cell) {
      gridNode.setPointerCapture(event.pointerId);
      const at = placeOf(cell);
      moveCursor(at.column, at.row);
      shape = {from: at, to: at, id: event.pointerId};
      refreshPreview();
    }
  });
  gridNode.addEventListener('pointermove', (event) => {
    const cell = cellAt(event);
    if (stroke && stroke.id === event.pointerId) {
      paintAt(event);
    } else if (shape && shape.id === event.pointerId) {
      if (cell)
        shape.to = placeOf(cell);
      refreshPreview();
    } else if (event.pointerType === 'mouse' && tool === 'fill') {
      hover = cell && placeOf(cell);
      refreshPreview();
    }
  });
  gridNode.addEventListener('pointerleave', () => {
    hover = null;
    refreshPreview();
  });
  // A shape dragged is drawn at the release; a cancelled pointer (or
  // capture lost before the release) draws nothing.
  const endShape = (event) => {
    if (!shape || shape.id !== event.pointerId)
      return;
    if (event.type === 'pointerup')
      finishShape();
    else
      cancelShape();
  };
  for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
    gridNode.addEventListener(end, endShape);
  const endStroke = (event) => {
    if (!stroke || stroke.id !== event.pointerId)
      return;
    const {before} = stroke;
    stroke = null;
    if (!sameGrid(before, grid)) {
      const painted = grid;
      grid = before;
      change(painted);
    }
    moveCursor(cursor.column, cursor.row);
  };
  for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
    gridNode.addEventListener(end, endStroke);
  const endTap = (event) => {
    if (!tap || tap.id !== event.pointerId)
      return;
    const lifted = event.type === 'pointerup' && tap.cell && cellAt(event) === tap.cell;
    const at = lifted && placeOf(tap.cell);
    tap = null;
    if (!lifted)
      return;
    if (tool === 'pen') {
      startStroke(event);
      endStroke(event);
    } else if (tool === 'fill') {
      useTool(at, at);
    } else {
      markOrFinish(at);
    }
  };
  for (const end of ['pointerup', 'pointercancel'])
    gridNode.addEventListener(end, endTap);

  // A cell that gets the focus some other way (a screen reader, a click) is the cursor.
  gridNode.addEventListener('focusin', (event) => {
    const {column, row} = event.target.dataset;
    if (column === undefined || (Number(column) === cursor.column && Number(row) === cursor.row))
      return;
    placeCursor(Number(column), Number(row));
  });

  // A fill's preview at the cursor lasts while the grid has the focus.
  gridNode.addEventListener('focusout', (event) => {
    if (!gridNode.contains(event.relatedTarget))
      refreshPreview();
  });

  // The keyboard: arrows move the cursor, a cell's byte typed sets it (with
  // its mirror images), Enter uses the tool: the pen paints the cell, a fill
  // fills from it, a shape's first Enter marks a corner and the next draws
  // it to the cursor. Escape drops a shape being drawn.
  gridNode.addEventListener('keydown', (event) => {
    const moves = {ArrowUp: [0, -1], ArrowDown: [0, 1], ArrowLeft: [-1, 0], ArrowRight: [1, 0]};
    if (event.ctrlKey || event.metaKey || event.altKey)
      return;
    let byte = null;
    if (moves[event.key]) {
      const [dc, dr] = moves[event.key];
      moveCursor(cursor.column + dc, cursor.row + dr);
    } else if (event.key === 'Home' || event.key === 'End') {
      moveCursor(event.key === 'Home' ? 0 : grid.width - 1, cursor.row);
    } else if (event.key === 'Enter') {
      if (tool === 'line' || tool === 'rectangle' || tool === 'filled')
        markOrFinish({...cursor});
      else if (grid.width)
        useTool({...cursor}, {...cursor});
    } else if (event.key === 'Escape' && shape) {
      cancelShape();
    } else if (event.key.length === 1 && event.key.charCodeAt(0) >= 0x20 && event.key.charCodeAt(0) < 0x7f) {
      byte = event.key.charCodeAt(0);
    } else {
      return;
    }
    event.preventDefault();
    if (byte !== null && grid.width) {
      const next = copyGrid(grid);
      paintTool(next, 'pen', cursor, cursor, byte);
      change(next);
      moveCursor(cursor.column, cursor.row);
    }
  });
  panel.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || event.target.closest('input[type=number]'))
      return;
    const key = event.key.toLowerCase();
    const inGrid = gridNode.contains(event.target);  // a resize makes the cells again
    if (key === 'z' && !event.shiftKey)
      step(undo, redo);
    else if (key === 'y' || (key === 'z' && event.shiftKey))
      step(redo, undo);
    else
      return;
    event.preventDefault();
    if (inGrid)
      moveCursor(cursor.column, cursor.row);
  });
  for (const input of [widthInput, heightInput])
    input.addEventListener('change', () => {
      if (grid.width && grid.height)
        change(program.resizeGrid(grid, sideOf(widthInput), sideOf(heightInput)));
      else
        newMaze();
    });
  new ResizeObserver(fitCells).observe(panel);

  function walk() {
    clearTimeout(followTimer);
    followTimer = 0;
    inView = grid;
    openMazeBytes(fileBytes(), 'the edited maze');
    if (layout() === 'phone')
      show(false);
    else
      focusView();
  }

  // A random maze at the grid's size with the random maze settings' exits
  // and a new seed, as one change; the seed is said, so that `mazetool
  // generate` or a "#seed=" link makes the same maze again.
  function generate() {
    const seed = randomSeed(), exits = randomExits().trim();
    const made = program.generateGrid(grid.width, grid.height, seed, exits);
    if (made.error) {
      status.textContent = made.error;
      return;
    }
    change(made.grid);
    status.textContent = `Generated a ${grid.width} by ${grid.height} maze with ${exits} `
        + `${exits === '1' ? 'exit' : 'exits'} from seed ${seed}.`;
  }

  function download() {
    const url = URL.createObjectURL(new Blob([fileBytes()], {type: 'application/octet-stream'}));
    const a = element('a', {href: url, download: 'maze1.dat'});
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 0);
    status.textContent = 'Saved as maze1.dat.';
  }

  async function copyLink() {
    status.textContent = await shareLink(linkOfGrid(), linkField, 'the edited maze');
  }

  function show(on) {
    panel.hidden = !on;
    host.classList.toggle('editing', on);
    open.setAttribute('aria-expanded', String(on));
    if (on) {
      fitCells();
      moveCursor(cursor.column, cursor.row);
    } else {
      if (followTimer)
        showInView();  // the last change, not yet in the view
      focusView();
    }
  }

  // "Edit maze": the maze being walked, as one more step to undo.
  open.setAttribute('aria-expanded', 'false');
  open.setAttribute('aria-controls', 'editor');
  open.addEventListener('click', () => {
    if (!panel.isConnected)
      view.after(panel);  // in the page from its first use on, so it is no part of a page never edited
    const walked = {...program.gridOfWalk(), source: program.mazeBytes()};
    inView = walked;  // the view walks it already
    if (!grid.width && !grid.height) {
      grid = walked;
      build();
      render();
      renderFindings();
    } else {
      change(walked);
    }
    if (!walked.width || !walked.height)
      status.textContent = 'The maze being walked has no cells: choose a size and "New maze".';
    show(true);
  });
}
