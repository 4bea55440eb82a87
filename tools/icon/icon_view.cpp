// The icon is a ray-cast picture of a few cells, each ray treated as the
// renderer's geometry would be: cubes spanning +-1 around cell centres two
// units apart, floors at y = -1 under open cells, textures placed as the
// cube's and the floor's texture coordinates place them, nothing beyond the
// far plane.
#include "icon/icon_view.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "bitmap/textures.h"
#include "texture_art.h"
#include "walker/program.h"

namespace {

// The corridor, in maze file bytes: the walker stands on "*" facing +x, with
// a way off to the left two cells ahead.
const char* const kCells[] = {
    "mmmmm",
    "gg ggg",
    "*  y",
    "bbbbb",
};
const int kRows = 4;
const int kStartRow = 2;

const int kSamples = 4;  // per pixel along each axis

struct Art {
    std::vector<uint8_t> rgb[kTextureCount];
};

// The texture slot of a byte: 0 the floor, 1..6 the walls, -1 for no wall.
int wallSlot(char cell)
{
    const std::string walls = "rgbcmy";
    const size_t i = walls.find(cell);
    return i == std::string::npos ? -1 : int(i) + 1;
}

char cellAt(int column, int row)
{
    if (row < 0 || row >= kRows || column < 0 || column >= int(std::char_traits<char>::length(kCells[row])))
        return 0;  // off the grid: nothing is drawn
    return kCells[row][column];
}

bool isOpen(char cell) { return cell == ' ' || cell == '*' || cell == 'x'; }

// Texel at texture coordinates (s, t), repeating; t = 0 is the art's last row.
const uint8_t* texel(const Art& art, int slot, double s, double t)
{
    const int n = kTextureArtSize;
    const int x = int(std::floor((s - std::floor(s)) * n)) % n;
    const int y = (n - 1) - int(std::floor((t - std::floor(t)) * n)) % n;
    return &art.rgb[slot][(size_t(y) * n + size_t(x)) * 3];
}

// What the ray from the eye along (1, dy, dz) meets (dz to the right); the
// ray's parameter is the depth in front of the eye.
void trace(const Art& art, double dy, double dz, double rgb[3])
{
    const double eyeX = 0.0, eyeY = kEyeHeight, eyeZ = 2.0 * kStartRow;
    const double floorT = dy < 0 ? (-1.0 - eyeY) / dy : HUGE_VAL;
    int column = 0, row = kStartRow;
    const int stepZ = dz > 0 ? 1 : -1;
    double tEnter = 0.0;
    for (;;) {
        // Leaves the cell through its +x face or its face towards stepZ.
        const double tx = (2.0 * column + 1.0 - eyeX);
        const double tz = dz == 0 ? HUGE_VAL : (2.0 * row + stepZ - eyeZ) / dz;
        const double tExit = std::min(tx, tz);
        const char cell = cellAt(column, row);
        if (isOpen(cell) && floorT >= tEnter && floorT < tExit && floorT <= kFarPlane) {
            // The floor square: s runs against z, t against x, twice per cell.
            const double lx = eyeX + floorT - 2.0 * column, lz = eyeZ + floorT * dz - 2.0 * row;
            const uint8_t* p = texel(art, 0, 1.0 - lz, 1.0 - lx);
            for (int i = 0; i < 3; ++i)
                rgb[i] = p[i];
            return;
        }
        if (tEnter > kFarPlane || (dy > 0 && eyeY + tEnter * dy > 1.0) || (dy < 0 && tEnter > floorT))
            break;  // past the far plane, above every wall top, or below the floor
        const bool crossX = tx <= tz;
        tEnter = tExit;
        column += crossX ? 1 : 0;
        row += crossX ? 0 : stepZ;
        const int slot = wallSlot(cellAt(column, row));
        const double y = eyeY + tEnter * dy;
        if (slot < 0 || y > 1.0 || y < -1.0 || tEnter > kFarPlane)
            continue;
        // Entered through the -x face, or the -z / +z face, of a wall cube.
        const double along = crossX ? eyeZ + tEnter * dz - 2.0 * row : eyeX + tEnter - 2.0 * column;
        const double s = crossX ? (along + 1.0) / 2.0 : stepZ > 0 ? (1.0 - along) / 2.0 : (along + 1.0) / 2.0;
        const uint8_t* p = texel(art, slot, s, (y + 1.0) / 2.0);
        for (int i = 0; i < 3; ++i)
            rgb[i] = p[i];
        return;
    }
    for (int i = 0; i < 3; ++i)
        rgb[i] = kSkyColour[i] * 255.0;
}

// Whether the point (x, y), in units of the icon's side, lies inside the
// rounded square.
bool insideRoundedSquare(double x, double y)
{
    const double r = 0.14, cx = std::clamp(x, r, 1.0 - r), cy = std::clamp(y, r, 1.0 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

}  // namespace

namespace {

// The view at width x height RGBA pixels: inside the icon's rounded square
// (straight alpha outside it), or filling the whole picture, opaque. The
// field of view is the program's vertical one, as a window of that shape shows it.
std::vector<uint8_t> drawView(int width, int height, bool rounded)
{
    Art art;
    for (int slot = 0; slot < kTextureCount; ++slot)
        art.rgb[slot] = drawTextureArt(slot);
    const double halfTan = std::tan(kFieldsOfView[kFirstFieldOfView] * 3.14159265358979 / 360.0);
    const double aspect = double(width) / double(height);
    std::vector<uint8_t> out(size_t(width) * size_t(height) * 4);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            double sum[3] = {0, 0, 0};
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = (px + (sx + 0.5) / kSamples) / width;
                    const double v = (py + (sy + 0.5) / kSamples) / height;
                    if (rounded && !insideRoundedSquare(u, v))
                        continue;
                    double rgb[3];
                    trace(art, (1.0 - 2.0 * v) * halfTan, (2.0 * u - 1.0) * halfTan * aspect, rgb);
                    for (int i = 0; i < 3; ++i)
                        sum[i] += rgb[i];
                    ++inside;
                }
            uint8_t* o = &out[(size_t(py) * size_t(width) + size_t(px)) * 4];
            for (int i = 0; i < 3; ++i)
                o[i] = inside ? uint8_t(std::lround(sum[i] / inside)) : 0;
            o[3] = uint8_t(std::lround(255.0 * inside / (kSamples * kSamples)));
        }
    return out;
}

}  // namespace

std::vector<uint8_t> drawIconView(int size)
{
    return drawView(size, size, true);
}

std::vector<uint8_t> drawFullView(int width, int height)
{
    return drawView(width, height, false);
}
