#pragma once

#include <string>

#include "maze/maze_generator.h"

// Random-maze requests as people write them, on mazetool's command line or
// in a page link, checked by one set of rules with one set of reasons.

// The request's values, in the order they are checked.
enum RequestField { kRequestWidth, kRequestHeight, kRequestSeed, kRequestExits, kRequestFieldCount };

// "width", "height", "seed", "exits".
const char* requestFieldName(int field);

// Why a value was refused: which one, what it must be ("a whole number from
// 5 to 32 (the border included)"), and the text that was given.
struct RequestProblem {
    int field = kRequestWidth;
    std::string rule;
    std::string value;
};

// Checks the four values (indexed by RequestField) as the generator needs
// them: sides from kMinSide to 32, a seed from 0 to 2^64 - 1, exits from 1 to
// maxExits for the sides. True with `*request` filled; false with the first
// refused value, in field order, in `*problem`.
bool checkMazeRequest(const std::string values[kRequestFieldCount], MazeRequest* request, RequestProblem* problem);

// The random maze a page link's fragment names: "seed=N&width=W&height=H",
// optionally with "&exits=K", in any order, after an optional "#". Names and
// values are percent-decoded as a browser's URLSearchParams decodes them.
// Missing width or height mean 32, missing exits 1. The text is byte for byte
// what `mazetool generate` writes for the same values. False with the
// page's message in `*err` for a fragment longer than kMaxRandomFragment, an
// unknown or repeated name, no seed, or a refused value; a message quotes at
// most a short excerpt of what it refuses. A refused value is also given in
// `*refusedValue`, when asked for, for a front end that words it its own way.
const size_t kMaxRandomFragment = 256;
bool randomMazeFromFragment(const std::string& fragment, std::string* text, std::string* err,
                            RequestProblem* refusedValue = nullptr);

// Why a random maze's fragment `length` characters long (its "#" left out)
// is refused on its length alone: over kMaxRandomFragment. "" when the length
// is no reason.
std::string randomFragmentTooLong(size_t length);

// Whether a fragment (with or without its "#") names a daily maze: it is
// "daily" alone or starts "daily=".
bool isDailyLink(const std::string& fragment);

// The daily maze (maze/daily_maze.h) a page link's fragment names:
// "daily=YYYY-MM-DD" after an optional "#", decoded as URLSearchParams
// decodes it. The text is byte for byte what `mazetool generate --daily
// YYYY-MM-DD` writes. False with the page's message in `*err` for a fragment
// longer than kMaxDailyFragment, no date ("#daily" alone: the page puts
// today's UTC date in first), any other name, or a date parseDailyDate
// refuses; a message quotes at most a short excerpt of what it refuses.
const size_t kMaxDailyFragment = 64;
bool dailyMazeFromFragment(const std::string& fragment, std::string* text, std::string* err);
