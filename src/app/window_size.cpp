#include "app/window_size.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {

// Reads the digits at *s (at least one) into *value, saturating; moves *s past them.
bool readNumber(const char** s, unsigned long long* value)
{
    const unsigned long long most = std::numeric_limits<unsigned long long>::max();
    if (!std::isdigit(static_cast<unsigned char>(**s)))
        return false;
    *value = 0;
    for (; std::isdigit(static_cast<unsigned char>(**s)); ++*s) {
        const unsigned digit = unsigned(**s - '0');
        *value = *value > (most - digit) / 10 ? most : *value * 10 + digit;
    }
    return true;
}

unsigned long long capSide(unsigned long long side, unsigned long long limit)
{
    return limit > 0 ? std::min(side, limit) : side;
}

std::string sizeText(WindowSize size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

}  // namespace

WindowSize geometrySize(const char* geometry)
{
    const char* s = geometry;
    if (*s == '=')
        ++s;
    WindowSize size;
    if (!readNumber(&s, &size.width) || (*s != 'x' && *s != 'X'))
        return WindowSize{};
    ++s;
    if (!readNumber(&s, &size.height) || (*s != '\0' && *s != '+' && *s != '-'))
        return WindowSize{};
    return size;
}

WindowSize capWindowSize(WindowSize requested, WindowSize screen, WindowSize viewport)
{
    WindowSize capped;
    capped.width = capSide(capSide(requested.width, screen.width), viewport.width);
    capped.height = capSide(capSide(requested.height, screen.height), viewport.height);
    return capped;
}

std::string windowCapNote(WindowSize requested, WindowSize capped, WindowSize screen, WindowSize viewport)
{
    std::string limits;
    if (screen.width > 0 && screen.height > 0)
        limits = "the screen (" + sizeText(screen) + ")";
    if (viewport.width > 0 && viewport.height > 0)
        limits += (limits.empty() ? "" : " or ") + std::string("what GL draws (") + sizeText(viewport) + ")";
    return "maze: -geometry " + sizeText(requested) + " is more than " + limits + ": the window is " +
           sizeText(capped) + "\n";
}
