#pragma once

#include <cstdint>

// Milliseconds on a monotonic clock, wrapping at 2^32. The origin lies two
// seconds before the first call, so the first reading already exceeds one
// second and the count stays small (and exact as a float) for a long time.
uint32_t timeGetTime();
