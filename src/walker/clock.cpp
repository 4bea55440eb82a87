#include "walker/clock.h"

#include <chrono>

uint32_t timeGetTime()
{
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now() - seconds(2);
    return uint32_t(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}
