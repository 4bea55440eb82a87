#include "maze/maze_request.h"

#include <cstdint>

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

// What a message quotes of a text from a link: all of a short one, the start
// of a long one.
std::string excerpt(const std::string& text)
{
    const size_t kMost = 40;
    return text.size() <= kMost ? text : text.substr(0, kMost) + "...";
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

bool randomMazeFromFragment(const std::string& fragment, std::string* text, std::string* err)
{
    const size_t from = !fragment.empty() && fragment[0] == '#' ? 1 : 0;
    if (fragment.size() - from > kMaxRandomFragment) {
        *err = "The link's random maze is too long to be one (" + std::to_string(fragment.size() - from) +
               " characters; at most " + std::to_string(kMaxRandomFragment) + ").";
        return false;
    }
    std::string values[kRequestFieldCount] = {"32", "32", "", "1"};
    bool given[kRequestFieldCount] = {false, false, false, false};
    size_t at = from;
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
        for (int i = 0; i < kRequestFieldCount; ++i)
            if (name == kFieldNames[i])
                field = i;
        if (field < 0 || eq == std::string::npos || given[field]) {
            *err = "The link's random maze is not understood: \"" + excerpt(formDecode(pair)) + "\".";
            return false;
        }
        given[field] = true;
        values[field] = formDecode(pair.substr(eq + 1));
    }
    if (!given[kRequestSeed]) {
        *err = "The link's random maze has no seed.";
        return false;
    }
    MazeRequest request;
    RequestProblem problem;
    if (!checkMazeRequest(values, &request, &problem)) {
        *err = std::string("The link's ") + requestFieldName(problem.field) + " must be " + problem.rule +
               ", not \"" + excerpt(problem.value) + "\".";
        return false;
    }
    *text = generateMaze(request);
    return true;
}
