#pragma once

// The one table of what the program does with a cell's byte. Everything
// that treats cells differently reads it: the step rules (open), the views
// and the check (drawn, texture slot), the generator's wall letters, the
// editor's palette and the page's map and colours. A new kind of wall is one
// row here.
//
// The ten kinds a maze author paints: open floor, the start, an exit, the
// six walls, and a wall that blocks without being drawn.
enum class CellKind { Open, Start, Exit, WallR, WallG, WallB, WallC, WallM, WallY, Invisible };

const int kCellKindCount = 10;

struct CellKindRow {
    char byte;         // the byte painting the kind writes ("#" for an invisible wall)
    const char* name;  // as the editor shows it: "open", "start", "exit", "wall r"..., "invisible wall"
    bool open;         // the walker may stand on it
    bool drawn;        // the view draws it: a floor square when open, a wall cube when not
    int textureSlot;   // 0 the floor, 1 to 6 the walls; -1 for a kind that is not drawn
};

// In CellKind's order.
inline constexpr CellKindRow kCellKinds[kCellKindCount] = {
    {' ', "open", true, true, 0},          {'*', "start", true, true, 0},
    {'x', "exit", true, true, 0},          {'r', "wall r", false, true, 1},
    {'g', "wall g", false, true, 2},       {'b', "wall b", false, true, 3},
    {'c', "wall c", false, true, 4},       {'m', "wall m", false, true, 5},
    {'y', "wall y", false, true, 6},       {'#', "invisible wall", false, false, -1},
};

namespace cell_kind_detail {

// The kind of every byte: the rows' own bytes, and an invisible wall for
// every other byte, 0 (a cell the file never reached) included.
struct ByteKinds {
    CellKind of[256];
};

constexpr ByteKinds makeByteKinds()
{
    ByteKinds table{};
    for (int b = 0; b < 256; ++b)
        table.of[b] = CellKind::Invisible;
    for (int k = 0; k < kCellKindCount; ++k)
        if (kCellKinds[k].drawn)
            table.of[static_cast<unsigned char>(kCellKinds[k].byte)] = CellKind(k);
    return table;
}

inline constexpr ByteKinds kByteKinds = makeByteKinds();

}  // namespace cell_kind_detail

// The kind the program reads a cell byte as.
constexpr CellKind cellKindOf(char byte)
{
    return cell_kind_detail::kByteKinds.of[static_cast<unsigned char>(byte)];
}

// The kind's row of the table.
constexpr const CellKindRow& cellKindRow(CellKind kind)
{
    return kCellKinds[int(kind)];
}

// The row of the kind a byte reads as.
constexpr const CellKindRow& cellRowOf(char byte)
{
    return cellKindRow(cellKindOf(byte));
}

// The kind's name as the editor shows it.
constexpr const char* cellKindName(CellKind kind)
{
    return cellKindRow(kind).name;
}

// The byte painting the kind writes.
constexpr char cellKindByte(CellKind kind)
{
    return cellKindRow(kind).byte;
}
