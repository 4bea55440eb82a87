#include "view/cell_culling.h"

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

    // Each bound of the view volume as a half-space (P - eye) . w <= offset,
    // with w built from the camera's axes exactly as the view matrix uses them
    // (turns leave them a little off unit length). The depth along the view
    // is (P - eye) . -n, and |x| <= depth * tanX is two such bounds.
    const double tanY = std::tan(double(view.fovyDegrees) * 3.14159265358979323846 / 360.0);
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
