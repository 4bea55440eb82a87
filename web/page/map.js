// The map: a top view of what the walk has shown, from the program's map
// ({width, height, rows, column, row, heading}: one code per cell, "." for
// a cell not shown yet, otherwise the byte of its kind: " " open, "x" an
// exit, "#" an invisible wall, a wall's letter), with the walker's cell and
// heading.

const kHeadings = ['north', 'east', 'south', 'west'];  // 0 is -z, up on the map
const kExit = '#2fbf4f';
const kInvisible = '#7b7f8c';
const kWalker = '#ff3b30';

// What the map says in words, for its accessible name.
export function describeMap(map) {
  let seen = 0;
  for (const row of map.rows)
    for (const code of row)
      seen += code !== '.';
  const exits = map.rows.join('').split('x').length - 1;
  return `Map: ${seen} of ${map.width * map.height} cells seen` +
         (exits ? `, ${exits} exit${exits > 1 ? 's' : ''} among them` : '') +
         `; you are on column ${map.column}, row ${map.row}, facing ${kHeadings[map.heading]}.`;
}

// Draws `map` on `canvas` with whole pixels per cell, as large as fits in
// `room` ({width, height} in CSS pixels); `kinds` are the program's cell
// kinds ({kinds, ofByte}), `colours` the textures' mean colours (slot 0 the
// floor): each wall in its texture's, exits green, invisible walls crossed out.
export function drawMap(canvas, map, kinds, colours, room) {
  if (map.width === 0 || map.height === 0) {
    canvas.width = canvas.height = 0;
    return;
  }
  const ratio = Math.min(window.devicePixelRatio || 1, 2);
  const cssSide = Math.max(1, Math.floor(Math.min(room.width / map.width, room.height / map.height)));
  canvas.style.width = `${cssSide * map.width}px`;
  canvas.style.height = `${cssSide * map.height}px`;
  const side = Math.max(1, Math.round(cssSide * ratio));
  const width = side * map.width, height = side * map.height;
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
  }
  const g = canvas.getContext('2d');
  g.clearRect(0, 0, width, height);
  const floor = colours[0] || '#9a9a9a';
  map.rows.forEach((codes, row) => {
    [...codes].forEach((code, column) => {
      if (code === '.')
        return;
      const kind = kinds.kinds[kinds.ofByte[code.charCodeAt(0)]];
      g.fillStyle = kind.name === 'exit' ? kExit : !kind.drawn ? kInvisible : kind.open ? floor
                                                                                        : colours[kind.slot] || '#666';
      g.fillRect(column * side, row * side, side, side);
      if (!kind.drawn) {  // crossed out: the walker cannot enter, yet nothing is drawn there
        g.strokeStyle = floor;
        g.lineWidth = Math.max(1, side / 8);
        g.beginPath();
        g.moveTo(column * side, row * side);
        g.lineTo((column + 1) * side, (row + 1) * side);
        g.moveTo((column + 1) * side, row * side);
        g.lineTo(column * side, (row + 1) * side);
        g.stroke();
      }
    });
  });
  // The walker: a triangle pointing where it faces.
  const cx = (map.column + 0.5) * side, cy = (map.row + 0.5) * side, r = side * 0.42;
  const angle = (map.heading - 1) * Math.PI / 2;  // heading 1 (east) points along +x
  const point = (a, d) => [cx + Math.cos(angle + a) * d, cy + Math.sin(angle + a) * d];
  g.fillStyle = kWalker;
  g.beginPath();
  g.moveTo(...point(0, r));
  g.lineTo(...point(2.45, r));
  g.lineTo(...point(-2.45, r));
  g.closePath();
  g.fill();
}
