// The maze editor's entry points for program.js: the cell kinds, the grid a
// maze file reads as, the file a grid writes, new, resized and generated
// grids, and the check of any maze file's bytes (its link is game_api.cpp's
// web_link_of_bytes). Grids travel as bytes: the width, the height, then a
// byte per cell, row by row; nothing prints.
#include <emscripten/emscripten.h>

#include <string>

#include "answer.h"
#include "check_json.h"
#include "maze/cell_kind.h"
#include "maze/maze_grid.h"
#include "maze/maze_request.h"
#include "page_session.h"

namespace {

const char* gridAnswer(const MazeGrid& grid, int* size)
{
    std::string bytes;
    bytes += char(grid.width);
    bytes += char(grid.height);
    bytes.append(grid.cells.begin(), grid.cells.end());
    return answerBytes(std::move(bytes), size);
}

// The grid program.js hands over: width by height bytes at `cells`.
MazeGrid gridAt(const char* cells, int width, int height)
{
    MazeGrid grid;
    grid.width = width;
    grid.height = height;
    grid.cells.assign(cells, cells + size_t(width) * size_t(height));
    return grid;
}

}  // namespace

extern "C" {

// The cell kinds, in the palette's order, as the core's table has them, and
// the kind of every byte: {"kinds": [{"name", "byte", "open", "drawn",
// "slot"}, ...], "ofByte": [kind index for bytes 0 to 255]}.
EMSCRIPTEN_KEEPALIVE const char* web_cell_kinds()
{
    std::string json = "{\"kinds\":[";
    for (int k = 0; k < kCellKindCount; ++k) {
        const CellKindRow& row = cellKindRow(CellKind(k));
        json += std::string(k ? "," : "") + "{\"name\":" + jsonString(row.name) +
                ",\"byte\":" + std::to_string(static_cast<unsigned char>(row.byte)) +
                ",\"open\":" + (row.open ? "true" : "false") + ",\"drawn\":" + (row.drawn ? "true" : "false") +
                ",\"slot\":" + std::to_string(row.textureSlot) + "}";
    }
    json += "],\"ofByte\":[";
    for (int b = 0; b < 256; ++b)
        json += (b ? "," : "") + std::to_string(int(cellKindOf(char(b))));
    return answer(json + "]}");
}

// The grid of the maze being walked, as the loader read it.
EMSCRIPTEN_KEEPALIVE const char* web_grid_of_walk(int* size)
{
    const std::string& bytes = pageSession().mazeBytes();
    return gridAnswer(gridFromBytes(bytes.data(), bytes.size()), size);
}

// A new maze's grid (sides clamped to 1 to 32).
EMSCRIPTEN_KEEPALIVE const char* web_grid_new(int width, int height, int* size)
{
    return gridAnswer(newMazeGrid(width, height), size);
}

// The grid at a new size: shared cells kept, new ones walls.
EMSCRIPTEN_KEEPALIVE const char* web_grid_resize(const char* cells, int width, int height, int newWidth,
                                                 int newHeight, int* size)
{
    return gridAnswer(resizeGrid(gridAt(cells, width, height), newWidth, newHeight), size);
}

// The maze file of a grid, read back cell for cell.
EMSCRIPTEN_KEEPALIVE const char* web_grid_file(const char* cells, int width, int height, int* size)
{
    return answerBytes(gridFile(gridAt(cells, width, height)), size);
}

// A generated maze's grid at width by height, from a seed and an exit count
// as the user gave them (text): the maze `mazetool generate` writes for the
// same values. A request the generator refuses gives a grid of no cells
// (width and height 0) followed by why, as the page says it.
EMSCRIPTEN_KEEPALIVE const char* web_grid_generate(int width, int height, const char* seed, const char* exits,
                                                   int* size)
{
    const std::string values[kRequestFieldCount] = {std::to_string(width), std::to_string(height), seed, exits};
    MazeRequest request;
    RequestProblem problem;
    if (!checkMazeRequest(values, &request, &problem)) {
        const std::string why = std::string("To generate a maze, its ") + requestFieldName(problem.field) +
                                " must be " + problem.rule + ", not \"" + problem.value + "\".";
        return answerBytes(std::string(2, '\0') + why, size);
    }
    const std::string text = generateMaze(request);
    return gridAnswer(gridFromBytes(text.data(), text.size()), size);
}

// What `mazetool check` says of a maze file, as web_findings does, with
// "places": [[column, row] per finding: the cell it points at, -1 -1 for none].
EMSCRIPTEN_KEEPALIVE const char* web_check_bytes(const char* bytes, int size)
{
    return answer(checkJson(std::string(bytes, size_t(size)), true));
}

}  // extern "C"
