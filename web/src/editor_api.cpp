// The maze editor's entry points for editor.js: the grid a maze file reads
// as, the file a grid writes, new and resized grids, and the check of any
// maze file's bytes (its link is game_api.cpp's web_link_of_bytes). Grids travel as {"width", "height", "cells":
// [byte per cell, row by row]}; every answer is JSON, nothing prints.
#include <emscripten/emscripten.h>

#include <string>

#include "check_json.h"
#include "json_text.h"
#include "maze/cell_kind.h"
#include "maze/maze_grid.h"
#include "page_session.h"
#include "view/cell_look.h"

namespace {

std::string byteList(const char* bytes, size_t size)
{
    std::string json = "[";
    for (size_t i = 0; i < size; ++i)
        json += (i ? "," : "") + std::to_string(static_cast<unsigned char>(bytes[i]));
    return json + "]";
}

const char* gridAnswer(const MazeGrid& grid, const std::string& more = "")
{
    return answer("{\"width\":" + std::to_string(grid.width) + ",\"height\":" + std::to_string(grid.height) +
                  ",\"cells\":" + byteList(grid.cells.data(), grid.cells.size()) + more + "}");
}

// The grid editor.js hands over: width by height bytes at `cells`.
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

// The ten kinds in the palette's order, with the texture slot the view
// draws each in (0 the floor, 1 to 6 the walls, -1 for an invisible wall),
// and the kind of every byte: {"kinds": [{"name", "byte", "slot"}, ...],
// "ofByte": [kind index for bytes 0 to 255]}.
EMSCRIPTEN_KEEPALIVE const char* web_cell_kinds()
{
    std::string json = "{\"kinds\":[";
    for (int k = 0; k < kCellKindCount; ++k) {
        const char byte = cellKindByte(CellKind(k));
        CellLook look;
        const bool drawn = cellLook(byte, look);
        json += std::string(k ? "," : "") + "{\"name\":" + jsonString(cellKindName(CellKind(k))) +
                ",\"byte\":" + std::to_string(static_cast<unsigned char>(byte)) +
                ",\"slot\":" + std::to_string(drawn ? look.textureSlot : -1) + "}";
    }
    json += "],\"ofByte\":[";
    for (int b = 0; b < 256; ++b)
        json += (b ? "," : "") + std::to_string(int(cellKindOf(char(b))));
    return answer(json + "]}");
}

// The grid of the maze being walked, as the loader read it, and the file it
// was read from: {"width", "height", "cells", "source": [the file's bytes]}.
EMSCRIPTEN_KEEPALIVE const char* web_grid_of_walk()
{
    const std::string& bytes = pageSession().mazeBytes();
    return gridAnswer(gridFromBytes(bytes.data(), bytes.size()), ",\"source\":" + byteList(bytes.data(), bytes.size()));
}

// A new maze's grid (sides clamped to 1 to 32).
EMSCRIPTEN_KEEPALIVE const char* web_grid_new(int width, int height)
{
    return gridAnswer(newMazeGrid(width, height));
}

// The grid at a new size: shared cells kept, new ones walls.
EMSCRIPTEN_KEEPALIVE const char* web_grid_resize(const char* cells, int width, int height, int newWidth,
                                                 int newHeight)
{
    return gridAnswer(resizeGrid(gridAt(cells, width, height), newWidth, newHeight));
}

// The maze file of a grid: {"bytes": [...]}, read back cell for cell.
EMSCRIPTEN_KEEPALIVE const char* web_grid_file(const char* cells, int width, int height)
{
    const std::string file = gridFile(gridAt(cells, width, height));
    return answer("{\"bytes\":" + byteList(file.data(), file.size()) + "}");
}

// What `mazetool check` says of a maze file, as web_findings does, with
// "places": [[column, row] per finding: the cell it points at, -1 -1 for none].
EMSCRIPTEN_KEEPALIVE const char* web_check_bytes(const char* bytes, int size)
{
    return answer(checkJson(std::string(bytes, size_t(size)), true));
}

}  // extern "C"
