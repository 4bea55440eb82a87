#include "maze/maze_generator.h"

#include <algorithm>
#include <vector>

#include "maze/cell_kind.h"
#include "maze/cell_rules.h"
#include "maze/maze_search.h"

namespace {

// splitmix64: a fixed integer recipe, so a seed gives the same maze
// everywhere (the standard distributions may differ between libraries).
struct Rng {
    std::uint64_t state;
    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
};

const char kWall = '#';  // placeholder until the walls get their letters

// The drawn walls' bytes in byte order ("bcgmry"), one of which each wall
// gets at random: the order is part of what a seed makes.
std::string wallLetters()
{
    std::string letters;
    for (const CellKindRow& row : kCellKinds)
        if (row.drawn && !row.open)
            letters += row.byte;
    std::sort(letters.begin(), letters.end());
    return letters;
}

struct Grid {
    int width, height;
    std::vector<std::string> rows;
    char& at(int c, int r) { return rows[size_t(r)][size_t(c)]; }
    bool inside(int c, int r) const { return c >= 0 && r >= 0 && c < width && r < height; }
    bool walkable(int c, int r) const  // open and not an exit
    {
        if (!inside(c, r))
            return false;
        char cell = rows[size_t(r)][size_t(c)];
        return isOpenCell(cell) && cell != 'x';
    }
    int walkableNeighbours(int c, int r) const
    {
        int n = 0;
        for (const auto& d : kHeadingSteps)
            n += walkable(c + d[0], r + d[1]);
        return n;
    }
};

// Rooms sit on odd columns and rows; a randomised depth-first search opens
// the wall between a room and an unvisited neighbour, so the rooms and the
// passages between them form a tree: every cell reachable, no loops.
void carve(Grid& g, Rng& rng, int roomsX, int roomsY, int startX, int startY)
{
    std::vector<char> visited(size_t(roomsX * roomsY), 0);
    std::vector<std::pair<int, int>> stack{{startX, startY}};
    visited[size_t(startY * roomsX + startX)] = 1;
    g.at(1 + 2 * startX, 1 + 2 * startY) = ' ';
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        int options[4], count = 0;
        for (int k = 0; k < 4; ++k) {
            int nx = x + kHeadingSteps[k][0], ny = y + kHeadingSteps[k][1];
            if (nx >= 0 && ny >= 0 && nx < roomsX && ny < roomsY && !visited[size_t(ny * roomsX + nx)])
                options[count++] = k;
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        int k = options[rng.below(count)];
        int nx = x + kHeadingSteps[k][0], ny = y + kHeadingSteps[k][1];
        visited[size_t(ny * roomsX + nx)] = 1;
        g.at(1 + 2 * x + kHeadingSteps[k][0], 1 + 2 * y + kHeadingSteps[k][1]) = ' ';
        g.at(1 + 2 * nx, 1 + 2 * ny) = ' ';
        stack.push_back({nx, ny});
    }
}

// Tries the candidates in order; an exit is kept only if it touches a cell
// that can be walked on and leaves every earlier exit touching one. Dead
// ends and closed walls between rooms never cut the tree apart.
int placeExits(Grid& g, const std::vector<point2>& candidates, int wanted)
{
    std::vector<std::pair<point2, char>> placed;  // the cell and what it held
    for (point2 p : candidates) {
        if (int(placed.size()) == wanted)
            break;
        char before = g.at(p.column, p.row);
        g.at(p.column, p.row) = 'x';
        bool ok = g.walkableNeighbours(p.column, p.row) > 0;
        for (const auto& e : placed)
            ok = ok && g.walkableNeighbours(e.first.column, e.first.row) > 0;
        if (ok)
            placed.push_back({p, before});
        else
            g.at(p.column, p.row) = before;
    }
    int n = int(placed.size());
    if (n < wanted)
        for (const auto& e : placed)
            g.at(e.first.column, e.first.row) = e.second;  // undone for another order
    return n;
}

}  // namespace

bool parseRequestNumber(const std::string& text, std::uint64_t max, std::uint64_t& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    std::uint64_t v = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        const std::uint64_t digit = std::uint64_t(ch - '0');
        if (digit > max || v > (max - digit) / 10)
            return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

int maxExits(int width, int height)
{
    int roomsX = (width - 1) / 2, roomsY = (height - 1) / 2;
    return (roomsX - 1) * (roomsY - 1) + 1;
}

std::string generateMaze(const MazeRequest& req)
{
    Rng rng{req.seed};
    Grid g{req.width, req.height, std::vector<std::string>(size_t(req.height), std::string(size_t(req.width), kWall))};
    const int roomsX = (req.width - 1) / 2, roomsY = (req.height - 1) / 2;
    // Drawn one statement at a time: the order of a call's arguments is
    // the compiler's choice, and the page's compiler is another one.
    const int carveX = rng.below(roomsX), carveY = rng.below(roomsY);
    carve(g, rng, roomsX, roomsY, carveX, carveY);

    // An even side leaves a spare line of cells before the border: open
    // some of them as short dead ends off the last rooms.
    if (req.width % 2 == 0)
        for (int y = 0; y < roomsY; ++y)
            if (rng.below(2))
                g.at(req.width - 2, 1 + 2 * y) = ' ';
    if (req.height % 2 == 0)
        for (int x = 0; x < roomsX; ++x)
            if (rng.below(2))
                g.at(1 + 2 * x, req.height - 2) = ' ';

    // The walker starts facing +x: the start is a room whose passage east
    // was carved, so the first picture looks down a corridor. Every tree
    // over two or more columns of rooms has such a passage. The passage is
    // neither a dead end nor a closed wall, so no exit takes it.
    std::vector<point2> eastOpen;
    for (int y = 0; y < roomsY; ++y)
        for (int x = 0; x + 1 < roomsX; ++x)
            if (g.at(2 + 2 * x, 1 + 2 * y) == ' ')
                eastOpen.push_back({1 + 2 * x, 1 + 2 * y});
    const point2 start = eastOpen[size_t(rng.below(int(eastOpen.size())))];
    g.at(start.column, start.row) = '*';

    // Exits go first to the dead ends farthest from the start, then into
    // walls between rooms that the carving left closed.
    int dist[maze::kMaxSize][maze::kMaxSize];
    reachDistances(start, [&](int c, int r) { return g.walkable(c, r); }, dist);
    std::vector<point2> deadEnds, closedWalls;
    for (int r = 1; r < req.height - 1; ++r) {
        for (int c = 1; c < req.width - 1; ++c) {
            if (g.walkable(c, r) && !(c == start.column && r == start.row) && g.walkableNeighbours(c, r) == 1)
                deadEnds.push_back({c, r});
            // Between two rooms: one coordinate odd, the other even, both
            // short of the spare line an even side leaves.
            bool between = (c % 2) != (r % 2) && c < 2 * roomsX && r < 2 * roomsY;
            if (between && g.at(c, r) == kWall)
                closedWalls.push_back({c, r});
        }
    }
    std::stable_sort(deadEnds.begin(), deadEnds.end(), [&](point2 a, point2 b) {
        return dist[a.row][a.column] > dist[b.row][b.column];
    });
    for (size_t i = closedWalls.size(); i > 1; --i)
        std::swap(closedWalls[i - 1], closedWalls[size_t(rng.below(int(i)))]);

    std::vector<point2> order = deadEnds;
    order.insert(order.end(), closedWalls.begin(), closedWalls.end());
    if (placeExits(g, order, req.exits) < req.exits) {
        // Many exits: every closed wall can take one, and one dead end more.
        order = closedWalls;
        order.insert(order.end(), deadEnds.begin(), deadEnds.end());
        placeExits(g, order, req.exits);
    }

    const std::string letters = wallLetters();
    std::string text;
    for (std::string& row : g.rows) {
        for (char& cell : row)
            if (cell == kWall)
                cell = letters[size_t(rng.below(int(letters.size())))];
        text += row;
        text += '\n';
    }
    return text;
}
