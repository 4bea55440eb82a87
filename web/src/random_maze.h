#pragma once

#include <string>

// The maze a URL fragment names: "seed=N&width=W&height=H", optionally with
// "&exits=K" (in any order, an optional leading "#"), checked as
// `mazetool generate` checks its options and built by the same generator, so
// the text is byte for byte what `mazetool generate --seed N --width W
// --height H --exits K` writes. Missing width or height mean 32, a missing
// exits 1. False with *err set for an unknown or repeated name or a bad value.
bool randomMazeFromFragment(const std::string& fragment, std::string* text, std::string* err);
