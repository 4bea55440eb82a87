#pragma once

#include <string>

// `s` written `n` times over: the long lines and many rows maze tests need.
inline std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}
