#include "maze/maze_request.h"

#include <cstdint>

#include "maze/daily_maze.h"
#include "maze/link_excerpt.h"
#include "maze/maze.h"

namespace {

const char* const kFieldNames[kRequestFieldCount] = {"width", "height", "seed", "exits"};

std::string wholeNumber(std::uint64_t low, std::uint64_t high)
{
    return "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// application/x-www-form-urlencoded decoding: "+" is a space, "%XX" the byte
// XX; a "%" not followed by two hex digits stays as it is.
std::string formDecode(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out += char(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

const char* requestFieldName(int field)
{
    return field >= 0 && field < kRequestFieldCount ? kFieldNames[field] : "";
}

bool checkMazeRequest(const std::string values[kRequestFieldCount], MazeRequest* request, RequestProblem* problem)
{
    std::uint64_t v = 0;
    auto refuse = [&](int field, std::string rule) {
        problem->field = field;
        problem->rule = std::move(rule);
        problem->value = values[field];
        return false;
    };
    for (int field : {kRequestWidth, kRequestHeight}) {
        if (!parseRequestNumber(values[field], maze::kMaxSize, v) || v < std::uint64_t(kMinSide))
            return refuse(field, wholeNumber(kMinSide, maze::kMaxSize) + " (the border included)");
        (field == kRequestWidth ? request->width : request->height) = int(v);
    }
    if (!parseRequestNumber(values[kRequestSeed], UINT64_MAX, v))
        return refuse(kRequestSeed, wholeNumber(0, UINT64_MAX));
    request->seed = v;
    const int most = maxExits(request->width, request->height);
    if (!parseRequestNumber(values[kRequestExits], std::uint64_t(most), v) || v < 1)
        return refuse(kRequestExits, wholeNumber(1, std::uint64_t(most)) + " for a " +
                                         std::to_string(request->width) + " by " + std::to_string(request->height) +
                                         " maze");
    request->exits = int(v);
    return true;
}

namespace {

// Splits a fragment's "name=value&..." pairs (after an optional "#") into
// `values`, indexed as `names`, each decoded as URLSearchParams decodes it.
// False with "The link's WHAT is not understood: ..." for an unknown or
// repeated name or a pair without "=".
bool readFragmentPairs(const std::string& fragment, const char* const* names, int count, std::string* values,
                       bool* given, const std::string& what, std::string* err)
{
    size_t at = !fragment.empty() && fragment[0] == '#' ? 1 : 0;
    while (at <= fragment.size()) {
        size_t end = fragment.find('&', at);
        if (end == std::string::npos)
            end = fragment.size();
        const std::string pair = fragment.substr(at, end - at);
        at = end + 1;
        if (pair.empty())
            continue;
        const size_t eq = pair.find('=');
        const std::string name = formDecode(pair.substr(0, eq));
        int field = -1;
        for (int i = 0; i < count; ++i)
            if (name == names[i])
                field = i;
        if (field < 0 || eq == std::string::npos || given[field]) {
            *err = "The link's " + what + " is not understood: \"" + linkExcerpt(formDecode(pair)) + "\".";
            return false;
        }
        given[field] = true;
        values[field] = formDecode(pair.substr(eq + 1));
    }
    return true;
}

size_t lengthAfterHash(const std::string& fragment)
{
    return fragment.size() - (!fragment.empty() && fragment[0] == '#' ? 1 : 0);
}

}  // namespace

std::string randomFragmentTooLong(size_t length)
{
    if (length <= kMaxRandomFragment)
        return std::string();
    return "The link's random maze is too long to be one (" + std::to_string(length) + " characters; at most " +
           std::to_string(kMaxRandomFragment) + ").";
}

bool randomMazeFromFragment(const std::string& fragment, std::string* text, std::string* err,
                            RequestProblem* refusedValue)
{
    std::string refused = randomFragmentTooLong(lengthAfterHash(fragment));
    if (!refused.empty()) {
        *err = std::move(refused);
        return false;
    }
    std::string values[kRequestFieldCount] = {"32", "32", "", "1"};
    bool given[kRequestFieldCount] = {false, false, false, false};
    if (!readFragmentPairs(fragment, kFieldNames, kRequestFieldCount, values, given, "random maze", err))
        return false;
    if (!given[kRequestSeed]) {
        *err = "The link's random maze has no seed.";
        return false;
    }
    MazeRequest request;
    RequestProblem problem;
    if (!checkMazeRequest(values, &request, &problem)) {
        if (refusedValue)
            *refusedValue = problem;
        *err = std::string("The link's ") + requestFieldName(problem.field) + " must be " + problem.rule +
               ", not \"" + linkExcerpt(problem.value) + "\".";
        return false;
    }
    *text = generateMaze(request);
    return true;
}

bool isDailyLink(const std::string& fragment)
{
    const size_t from = !fragment.empty() && fragment[0] == '#' ? 1 : 0;
    return fragment.compare(from, std::string::npos, "daily") == 0 || fragment.compare(from, 6, "daily=") == 0;
}

bool dailyMazeFromFragment(const std::string& fragment, std::string* text, std::string* err)
{
    const size_t length = lengthAfterHash(fragment);
    if (length > kMaxDailyFragment) {
        *err = "The link's daily maze is too long to be one (" + std::to_string(length) + " characters; at most " +
               std::to_string(kMaxDailyFragment) + ").";
        return false;
    }
    if (fragment.compare(fragment.size() - length, std::string::npos, "daily") == 0) {
        *err = "The link's daily maze has no date.";
        return false;
    }
    const char* const names[1] = {"daily"};
    std::string value;
    bool given = false;
    if (!readFragmentPairs(fragment, names, 1, &value, &given, "daily maze", err))
        return false;
    if (!given) {
        *err = "The link's daily maze has no date.";
        return false;
    }
    DailyDate date;
    std::string reason;
    if (!parseDailyDate(value, &date, &reason)) {
        *err = std::string("The link's date must be ") + kDailyDateRule + ", not \"" + linkExcerpt(value) + "\": " +
               reason + ".";
        return false;
    }
    *text = generateMaze(dailyMazeRequest(date));
    return true;
}
