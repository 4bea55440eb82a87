#include "walker/program.h"

std::string mazeMissingLine(const std::string& fileName)
{
    return fileName + " can not be opened. Exiting program.";
}

void startViewpoint(point2 start, int cellSpacing, float eyeHeight, Point3* eye, Point3* look)
{
    // The products are formed in int, then converted.
    const float x = float(start.column * cellSpacing);
    const float z = float(start.row * cellSpacing);
    eye->set(x, eyeHeight, z);
    look->set(x + 10.0f, eyeHeight, z);
}
