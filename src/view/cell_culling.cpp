#include "view/cell_culling.h"

#include <algorithm>
#include <cmath>

#include "view/cell_look.h"

namespace {

// Added to the bounding sphere's radius: the eye-space coordinates the GL
// computes in float differ from ours by far less than this.
const double kRelativeMargin = 0.01;
const double kAbsoluteMargin = 0.01;

bool isPerspective(const ViewVolume& view)
{
    return view.fovyDegrees > 0.0f && view.fovyDegrees < 180.0f && view.aspect > 0.0f &&
           std::isfinite(view.aspect) && std::isfinite(view.zFar);
}

double halfAngleTangent(const ViewVolume& view)
{
    return std::tan(double(view.fovyDegrees) * 3.14159265358979323846 / 360.0);
}

// The hidden-cell test works seen from above, on directions from the eye:
// the angle atan2(lateral, depth) of a point in front of the eye, lateral
// along the camera's right axis and depth along its view, both with the axes
// exactly as the view matrix uses them. A convex shape in front of the eye
// spans the angles between its extreme corners.

// Every wall's blocking angles shrink by this at each end and every tested
// cell's angles grow by it, so that rounding can only keep a cell. On screen
// it is at least H / (200 tan(fovy / 2)) pixels in a window H pixels high
// (0.05 of a pixel at 40 pixels and 150 degrees), many times the GL's float
// and sub-pixel rounding; and a ray that far inside a wall's outline passes
// through enough of it to stay clear of its faces' top and bottom edges. The
// culling picture tests still pass with a tenth of it, and fail without it.
const double kAngleMargin = 0.01;
// Relative slack on the near plane: a wall blocks only rays that enter it a
// little beyond the plane, a cell may show from a little in front of it.
const double kNearSlack = 1e-3;

// A point seen from the eye, across and along the view.
struct EyePoint {
    double lateral, depth;
};

struct EyeFrame {
    double ex, ez;  // the eye
    double ux, uz;  // the right axis
    double fx, fz;  // the view direction, -n

    EyePoint at(double x, double z) const
    {
        const double dx = x - ex, dz = z - ez;
        return EyePoint{dx * ux + dz * uz, dx * fx + dz * fz};
    }
};

struct AngleRange {
    double lo = HUGE_VAL, hi = -HUGE_VAL;

    bool empty() const { return lo > hi; }
    // Widens the range to the direction of `p`, which lies in front of the eye.
    void include(const EyePoint& p)
    {
        const double a = std::atan2(p.lateral, p.depth);
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
};

// Where the segment from `a` to `b` reaches `depth`, which lies between theirs.
EyePoint atDepth(const EyePoint& a, const EyePoint& b, double depth)
{
    const double t = (depth - a.depth) / (b.depth - a.depth);
    return EyePoint{a.lateral + t * (b.lateral - a.lateral), depth};
}

// The directions of the segment from `a` to `b` where it lies at `nearDepth`
// or deeper; empty when it lies wholly nearer.
AngleRange segmentRange(const EyePoint& a, const EyePoint& b, double nearDepth)
{
    AngleRange r;
    if (a.depth < nearDepth && b.depth < nearDepth)
        return r;
    r.include(a.depth >= nearDepth ? a : atDepth(a, b, nearDepth));
    r.include(b.depth >= nearDepth ? b : atDepth(b, a, nearDepth));
    return r;
}

// A cell's square seen from above: columns and rows of world x and z.
struct Square {
    double x0, x1, z0, z1;
};

Square cellSquare(const point2& cell, int cellSpacing)
{
    const double h = 0.5 * cellSpacing;
    const double x = double(cell.column * cellSpacing), z = double(cell.row * cellSpacing);
    return Square{x - h, x + h, z - h, z + h};
}

// The directions in which the part of `square` at `nearDepth` or deeper lies:
// the square clipped by that plane is convex, so its corners bound them.
AngleRange squareRange(const EyeFrame& eye, const Square& sq, double nearDepth)
{
    const EyePoint c[4] = {eye.at(sq.x0, sq.z0), eye.at(sq.x1, sq.z0), eye.at(sq.x1, sq.z1), eye.at(sq.x0, sq.z1)};
    AngleRange r;
    for (int i = 0; i < 4; ++i) {
        const EyePoint& a = c[i];
        const EyePoint& b = c[(i + 1) % 4];
        if (a.depth >= nearDepth)
            r.include(a);
        if ((a.depth >= nearDepth) != (b.depth >= nearDepth))
            r.include(atDepth(a, b, nearDepth));
    }
    return r;
}

// A wall's blocking directions, narrowed, and the wall.
struct Blocker {
    double lo, hi;
    point2 cell;
};

// Adds to `out` the directions in which rays enter `sq` through a side the
// eye faces, at `nearDepth` or deeper, each range narrowed by kAngleMargin at
// both ends. A ray enters a square through one such side or the corner
// between two, so beyond that depth a wall's own faces cover these
// directions: two faces of one cube share their edge exactly. The near plane
// cuts an upright face along an upright line, which gets the margin too.
void addBlockers(const EyeFrame& eye, const Square& sq, double nearDepth, const point2& cell,
                 std::vector<Blocker>* out)
{
    // The side across x the eye faces, and the one across z.
    const bool facesX = eye.ex < sq.x0 || eye.ex > sq.x1;
    const bool facesZ = eye.ez < sq.z0 || eye.ez > sq.z1;
    const double sideX = eye.ex < sq.x0 ? sq.x0 : sq.x1;
    const double sideZ = eye.ez < sq.z0 ? sq.z0 : sq.z1;
    AngleRange ranges[2];
    int count = 0;
    if (facesX)
        ranges[count++] = segmentRange(eye.at(sideX, sq.z0), eye.at(sideX, sq.z1), nearDepth);
    if (facesZ)
        ranges[count++] = segmentRange(eye.at(sq.x0, sideZ), eye.at(sq.x1, sideZ), nearDepth);
    // Two sides meet at their shared corner unless the near plane cuts it off.
    if (count == 2 && !ranges[0].empty() && !ranges[1].empty() && eye.at(sideX, sideZ).depth >= nearDepth) {
        ranges[0].lo = std::min(ranges[0].lo, ranges[1].lo);
        ranges[0].hi = std::max(ranges[0].hi, ranges[1].hi);
        count = 1;
    }
    for (int i = 0; i < count; ++i) {
        const double lo = ranges[i].lo + kAngleMargin, hi = ranges[i].hi - kAngleMargin;
        if (lo <= hi)
            out->push_back(Blocker{lo, hi, cell});
    }
}

// Whether, on every ray from the eye (ex, ez) that passes through both, the
// square of `wall` comes before that of `cell`. Squares in different columns
// lie on either side of the upright line along the wall's side towards the
// cell, and a ray crosses it once: the wall comes first on every such ray when
// the eye is on the wall's side of that line, and on none otherwise. The same
// holds across rows for two squares in one column.
bool comesFirst(const point2& wall, const point2& cell, double ex, double ez, int cellSpacing)
{
    const double h = 0.5 * cellSpacing;
    if (wall.column != cell.column) {
        const double x = double(wall.column * cellSpacing);
        return wall.column < cell.column ? ex <= x + h : ex >= x - h;
    }
    if (wall.row != cell.row) {
        const double z = double(wall.row * cellSpacing);
        return wall.row < cell.row ? ez <= z + h : ez >= z - h;
    }
    return false;
}

// Removes from `cells` (the cells in the view volume, in drawing order) those
// hidden behind walls, keeping the order; see visibleCells.
void dropHiddenCells(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                     std::vector<point2>* cells)
{
    const double h = 0.5 * cellSpacing;
    const Vector3 &u = camera.u, &n = camera.n;
    if (cellSpacing <= 0 || !(view.zNear > 0.0f) || u.y != 0.0f || n.y != 0.0f ||
        !(std::abs(camera.eye.y) <= 0.5 * h))
        return;
    const EyeFrame eye{camera.eye.x, camera.eye.z, u.x, u.z, -n.x, -n.z};
    const double blockDepth = double(view.zNear) * (1.0 + kNearSlack);
    const double showDepth = double(view.zNear) * (1.0 - kNearSlack);
    // The view's horizontal extent: |lateral| <= depth * tanX.
    const double halfWidth = std::atan(halfAngleTangent(view) * double(view.aspect)) + kAngleMargin;

    // Kept across calls so that a frame allocates nothing.
    thread_local std::vector<Blocker> blockers;
    blockers.clear();
    CellLook look;
    for (const point2& cell : *cells)
        if (cellLook(level.getElement(cell.column, cell.row), look) && look.wall)
            addBlockers(eye, cellSquare(cell, cellSpacing), blockDepth, cell, &blockers);
    std::sort(blockers.begin(), blockers.end(), [](const Blocker& a, const Blocker& b) { return a.lo < b.lo; });

    size_t kept = 0;
    for (const point2& cell : *cells) {
        AngleRange shows = squareRange(eye, cellSquare(cell, cellSpacing), showDepth);
        const double lo = std::max(shows.lo - kAngleMargin, -halfWidth);
        const double hi = std::min(shows.hi + kAngleMargin, halfWidth);
        // Sweep the blockers in front of this cell, in order of their first
        // direction, for a gap in the cell's directions.
        double covered = lo;
        for (const Blocker& b : blockers) {
            if (covered >= hi || b.lo > covered)
                break;
            if (b.hi > covered && comesFirst(b.cell, cell, eye.ex, eye.ez, cellSpacing))
                covered = b.hi;
        }
        const bool hidden = shows.empty() || lo > hi || covered >= hi;
        if (!hidden)
            (*cells)[kept++] = cell;
    }
    cells->resize(kept);
}

}  // namespace

void drawnCells(const maze& level, std::vector<point2>* cells)
{
    cells->clear();
    int width, height;
    level.getSize(width, height);
    CellLook look;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            if (cellLook(level.getElement(column, row), look))
                cells->push_back(point2{column, row});
}

void cellsInViewVolume(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                       std::vector<point2>* cells)
{
    drawnCells(level, cells);
    if (!isPerspective(view))
        return;

    // Each bound of the view volume as a half-space (P - eye) . w <= offset,
    // with w built from the camera's axes exactly as the view matrix uses them
    // (turns leave them a little off unit length). The depth along the view
    // is (P - eye) . -n, and |x| <= depth * tanX is two such bounds.
    const double tanY = halfAngleTangent(view);
    const double tanX = tanY * double(view.aspect);
    const Vector3 &u = camera.u, &v = camera.v, &n = camera.n;
    struct Bound {
        double x, y, z, offset;
    };
    const Bound bounds[6] = {
        {n.x, n.y, n.z, 0.0},                                            // not behind the eye
        {-n.x, -n.y, -n.z, double(view.zFar)},                           // the far plane
        {u.x + tanX * n.x, u.y + tanX * n.y, u.z + tanX * n.z, 0.0},     // right
        {-u.x + tanX * n.x, -u.y + tanX * n.y, -u.z + tanX * n.z, 0.0},  // left
        {v.x + tanY * n.x, v.y + tanY * n.y, v.z + tanY * n.z, 0.0},     // top
        {-v.x + tanY * n.x, -v.y + tanY * n.y, -v.z + tanY * n.z, 0.0},  // bottom
    };
    const double radius = std::sqrt(3.0) * 0.5 * std::abs(cellSpacing) * (1.0 + kRelativeMargin) + kAbsoluteMargin;
    // A sphere lies wholly outside a bound when its centre is beyond it by
    // more than the radius times |w|.
    double reach[6];
    for (int i = 0; i < 6; ++i)
        reach[i] = bounds[i].offset + radius * std::sqrt(bounds[i].x * bounds[i].x + bounds[i].y * bounds[i].y +
                                                         bounds[i].z * bounds[i].z);

    size_t kept = 0;
    for (const point2& cell : *cells) {
        const double px = double(cell.column * cellSpacing) - camera.eye.x;
        const double py = 0.0 - camera.eye.y;
        const double pz = double(cell.row * cellSpacing) - camera.eye.z;
        bool outside = false;
        for (int i = 0; i < 6 && !outside; ++i)
            outside = px * bounds[i].x + py * bounds[i].y + pz * bounds[i].z > reach[i];
        if (!outside)
            (*cells)[kept++] = cell;
    }
    cells->resize(kept);
}

void visibleCells(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                  std::vector<point2>* cells)
{
    cellsInViewVolume(level, cellSpacing, camera, view, cells);
    if (isPerspective(view))
        dropHiddenCells(level, cellSpacing, camera, view, cells);
}
