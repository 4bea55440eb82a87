// The editor's shape tools as plain grid arithmetic: which cells a line, a
// rectangle or a fill covers and where painting is mirrored. Cells are
// {column, row}; a shape's cells come back as indices (row * width +
// column) into a grid of `width` columns. Nothing here knows the page.

// The cells of a straight line from `a` to `b`, both ends included: one
// cell per step along the longer axis, each the nearest to the true line
// (a tie goes away from the end that comes first in reading order, so a
// line and its reverse cover the same cells).
export function lineCells(a, b, width) {
  if (b.row < a.row || (b.row === a.row && b.column < a.column))
    [a, b] = [b, a];
  const dc = b.column - a.column, dr = b.row - a.row;
  const steps = Math.max(Math.abs(dc), Math.abs(dr));
  const cells = [];
  // The offset along an axis at step i: i * d / steps, halves rounded up in size.
  const along = (d, i) => Math.sign(d) * Math.floor((2 * i * Math.abs(d) + steps) / (2 * steps));
  for (let i = 0; i <= steps; ++i) {
    const column = steps ? a.column + along(dc, i) : a.column;
    const row = steps ? a.row + along(dr, i) : a.row;
    cells.push(row * width + column);
  }
  return cells;
}

// The cells of the rectangle with corners `a` and `b`: its border, or with
// `filled` every cell inside it too.
export function rectangleCells(a, b, width, filled) {
  const left = Math.min(a.column, b.column), right = Math.max(a.column, b.column);
  const top = Math.min(a.row, b.row), bottom = Math.max(a.row, b.row);
  const cells = [];
  for (let row = top; row <= bottom; ++row)
    for (let column = left; column <= right; ++column)
      if (filled || row === top || row === bottom || column === left || column === right)
        cells.push(row * width + column);
  return cells;
}

// The cells of `grid` ({width, height, cells}) joined to `from` through
// edges (not corners) by cells of its byte, `from` first.
export function fillCells(grid, from) {
  const {width, height, cells} = grid;
  const start = from.row * width + from.column;
  const byte = cells[start];
  const seen = new Uint8Array(cells.length);
  const region = [start];
  seen[start] = 1;
  for (let k = 0; k < region.length; ++k) {
    const i = region[k];
    const column = i % width, row = (i - column) / width;
    const next = [column > 0 ? i - 1 : -1, column < width - 1 ? i + 1 : -1,
                  row > 0 ? i - width : -1, row < height - 1 ? i + width : -1];
    for (const j of next)
      if (j >= 0 && !seen[j] && cells[j] === byte) {
        seen[j] = 1;
        region.push(j);
      }
  }
  return region;
}

// `cells` with each one's mirror images added, across the grid's middle
// column (leftRight) and middle row (topBottom): each cell once, the given
// ones first in their order.
export function mirrorCells(cells, width, height, {leftRight = false, topBottom = false} = {}) {
  const all = new Set(cells);
  for (const i of cells) {
    const column = i % width, row = (i - column) / width;
    const columns = leftRight ? [column, width - 1 - column] : [column];
    const rows = topBottom ? [row, height - 1 - row] : [row];
    for (const r of rows)
      for (const c of columns)
        all.add(r * width + c);
  }
  return [...all];
}

// The cells a tool covers from `from` to `to` on `grid`, before mirroring:
// "pen" the cell `to`, "line", "rectangle", "filled" (a filled rectangle)
// and "fill" (the region at `to`).
export function toolCells(tool, grid, from, to) {
  switch (tool) {
  case 'line':
    return lineCells(from, to, grid.width);
  case 'rectangle':
    return rectangleCells(from, to, grid.width, false);
  case 'filled':
    return rectangleCells(from, to, grid.width, true);
  case 'fill':
    return fillCells(grid, to);
  default:
    return [to.row * grid.width + to.column];
  }
}
