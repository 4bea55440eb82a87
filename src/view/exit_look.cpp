#include "view/exit_look.h"

#include "maze/cell_rules.h"

namespace {

// The glow an exit's floor is washed with: green enough to read as "go
// here" on the grey floors, with some red and blue so that dark texels stay
// visible and light ones do not wash out to white.
const uint8_t kExitGlow[3] = {48, 255, 96};

}  // namespace

bool cellLookAt(const maze& level, point2 cell, int markedExits, CellLook& look)
{
    if (!cellLook(level.getElement(cell.column, cell.row), look))
        return false;
    if (markedExits > 0 && !look.wall && isExitCell(level, markedExits, cell))
        look.textureSlot = kExitFloorSlot;
    return true;
}

std::vector<uint8_t> exitFloorPixels(const RgbImage& floor)
{
    const size_t size = size_t(floor.width) * size_t(floor.height) * 3;
    std::vector<uint8_t> pixels(size);
    for (size_t i = 0; i < size; i += 3)
        for (size_t c = 0; c < 3; ++c)
            pixels[i + c] = uint8_t((floor.data[i + c] + kExitGlow[c] + 1) / 2);
    return pixels;
}
