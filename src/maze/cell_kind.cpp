#include "maze/cell_kind.h"

namespace {

struct KindEntry {
    char byte;
    const char* name;
};

// In CellKind's order.
const KindEntry kKinds[kCellKindCount] = {
    {' ', "open"},   {'*', "start"},  {'x', "exit"},   {'r', "wall r"}, {'g', "wall g"},
    {'b', "wall b"}, {'c', "wall c"}, {'m', "wall m"}, {'y', "wall y"}, {'#', "invisible wall"},
};

}  // namespace

const char* cellKindName(CellKind kind)
{
    return kKinds[int(kind)].name;
}

CellKind cellKindOf(char byte)
{
    for (int k = 0; k < kCellKindCount - 1; ++k)
        if (kKinds[k].byte == byte)
            return CellKind(k);
    return CellKind::Invisible;
}

char cellKindByte(CellKind kind)
{
    return kKinds[int(kind)].byte;
}
