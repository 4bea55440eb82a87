// The page's game over the walk: links that carry the maze, the maze's
// findings, the map of what the walk has shown. Entry points for
// program.js; each answers in JSON or a plain string, never prints.
#include <emscripten/emscripten.h>

#include <string>

#include "answer.h"
#include "check_json.h"
#include "maze/cell_kind.h"
#include "maze/link_excerpt.h"
#include "maze/maze_check.h"
#include "maze/maze_link.h"
#include "maze/maze_request.h"
#include "page_session.h"

namespace {

// What the map shows of a cell the walk has shown: its byte for a drawn wall
// and an exit, " " for the other open cells, "#" for an invisible wall; "."
// for a cell not shown yet.
char mapCode(const WalkSession& s, int column, int row)
{
    if (!s.seen(point2{column, row}))
        return '.';
    const char c = s.level.getElement(column, row);
    const CellKind kind = cellKindOf(c);
    const CellKindRow& cell = cellKindRow(kind);
    if (kind == CellKind::Exit || (cell.drawn && !cell.open))
        return cell.byte;
    return cell.open ? cellKindByte(CellKind::Open) : cellKindByte(CellKind::Invisible);
}

}  // namespace

extern "C" {

// Why a "#maze=" or "#seed=" fragment `length` characters long, whose start
// (`size` bytes, up to its first few) is at `head`, is refused on its length
// alone; null when its length is no reason. The page asks before it copies a
// fragment into the module's memory, so a long one is never copied.
EMSCRIPTEN_KEEPALIVE const char* web_link_too_long(const char* head, int size, int length)
{
    const std::string start(head, size_t(size));
    const size_t n = size_t(length) - (!start.empty() && start[0] == '#' ? 1 : 0);
    const std::string refused = isMazeLink(start) ? mazeLinkTooLong(n) : randomFragmentTooLong(n);
    return refused.empty() ? nullptr : answer(refused);
}

// Opens the maze a "#maze=", "#daily=" or "#seed=" fragment carries (`size` bytes at
// `text`). Returns null, or why the fragment is refused (the walk then goes
// on unchanged).
EMSCRIPTEN_KEEPALIVE const char* web_read_link(const char* text, int size)
{
    const std::string fragment(text, size_t(size));
    std::string bytes, err;
    if (isMazeLink(fragment)) {
        if (!mazeFromLinkFragment(fragment, &bytes, &err))
            return answer(err);
    } else if (isDailyLink(fragment)) {
        if (!dailyMazeFromFragment(fragment, &bytes, &err))
            return answer(err);
    } else if (!randomMazeFromFragment(fragment, &bytes, &err)) {
        return answer(err);
    }
    readPageMaze(bytes);
    return nullptr;
}

// Opens the random maze the page's settings ask for, given as a "#seed="
// fragment (`size` bytes at `text`). Returns null, or why it is refused, a
// refused setting named as the page's field is ("Width must be ...").
EMSCRIPTEN_KEEPALIVE const char* web_read_random_settings(const char* text, int size)
{
    static const char* const kFieldLabels[kRequestFieldCount] = {"Width", "Height", "Seed", "Exits"};
    std::string bytes, err;
    RequestProblem problem;
    problem.field = -1;
    if (!randomMazeFromFragment(std::string(text, size_t(size)), &bytes, &err, &problem)) {
        if (problem.field < 0)
            return answer(err);
        return answer(std::string(kFieldLabels[problem.field]) + " must be " + problem.rule + ", not \"" +
                      linkExcerpt(problem.value) + "\".");
    }
    readPageMaze(bytes);
    return nullptr;
}

// {"fragment": "maze=..."} for a maze file's bytes (the walked maze's or an
// edited one's), or {"error": why it gets no link}.
EMSCRIPTEN_KEEPALIVE const char* web_link_of_bytes(const char* bytes, int size)
{
    std::string fragment, err;
    if (!mazeLinkFragment(std::string(bytes, size_t(size)), &fragment, &err))
        return answer("{\"error\":" + jsonString(err) + "}");
    return answer("{\"fragment\":" + jsonString(fragment) + "}");
}

// What `mazetool check` says of the maze being walked: {"playable": bool,
// "blocking": how many of the first findings make it unplayable,
// "summary": "...", "findings": ["...", ...]}.
EMSCRIPTEN_KEEPALIVE const char* web_findings()
{
    return answer(checkJson(pageSession().mazeBytes(), false));
}

// The map of what the walk has shown: {"width", "height", "rows": [one
// string of map codes per row], "column", "row", "heading", "keys"}.
EMSCRIPTEN_KEEPALIVE const char* web_map()
{
    const WalkSession& s = pageSession();
    int width = 0, height = 0;
    s.level.getSize(width, height);
    std::string json = "{\"width\":" + std::to_string(width) + ",\"height\":" + std::to_string(height) + ",\"rows\":[";
    for (int row = 0; row < height; ++row) {
        std::string codes;
        for (int column = 0; column < width; ++column)
            codes += mapCode(s, column, row);
        json += (row ? "," : "") + jsonString(codes);
    }
    json += "],\"column\":" + std::to_string(s.walker.position.column) + ",\"row\":" +
            std::to_string(s.walker.position.row) + ",\"heading\":" + std::to_string(s.walker.heading) +
            ",\"keys\":" + std::to_string(s.motionKeys) + "}";
    return answer(json);
}

}  // extern "C"
