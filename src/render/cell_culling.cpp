#include "render/cell_culling.h"

#include <cmath>

#include "render/cell_look.h"

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

void visibleCells(const maze& level, int cellSpacing, const Camera& camera, const ViewVolume& view,
                  std::vector<point2>* cells)
{
    drawnCells(level, cells);
    if (!isPerspective(view))
        return;

    const double radius = std::sqrt(3.0) * 0.5 * std::abs(cellSpacing) * (1.0 + kRelativeMargin) + kAbsoluteMargin;
    // A point at depth d (along the view direction) is inside the side planes
    // when |x| <= d * tanX and |y| <= d * tanY; the sphere is outside a plane
    // when its centre is farther than the radius beyond it.
    const double tanY = std::tan(double(view.fovyDegrees) * 3.14159265358979323846 / 360.0);
    const double tanX = tanY * double(view.aspect);
    const double reachX = radius * std::sqrt(1.0 + tanX * tanX);
    const double reachY = radius * std::sqrt(1.0 + tanY * tanY);
    const Camera& c = camera;

    size_t kept = 0;
    for (const point2& cell : *cells) {
        const double px = double(cell.column * cellSpacing) - c.eye.x;
        const double py = 0.0 - c.eye.y;
        const double pz = double(cell.row * cellSpacing) - c.eye.z;
        const double x = px * c.u.x + py * c.u.y + pz * c.u.z;
        const double y = px * c.v.x + py * c.v.y + pz * c.v.z;
        const double depth = -(px * c.n.x + py * c.n.y + pz * c.n.z);  // the view looks along -n
        const bool hidden = depth < -radius || depth - radius > view.zFar || std::abs(x) - depth * tanX > reachX ||
                            std::abs(y) - depth * tanY > reachY;
        if (!hidden)
            (*cells)[kept++] = cell;
    }
    cells->resize(kept);
}
