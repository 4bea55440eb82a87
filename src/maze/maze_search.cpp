#include "maze/maze_search.h"

#include <deque>

#include "maze/cell_rules.h"

namespace {

const int N = maze::kMaxSize;

bool inGrid(point2 p)
{
    return p.column >= 0 && p.column < N && p.row >= 0 && p.row < N;
}

struct State {
    point2 cell;
    int heading;
};

}  // namespace

bool solveLevel(const maze& m, std::string* keys)
{
    return solveFrom(m, m.getStart(), 1, keys);
}

bool solveFrom(const maze& m, point2 from, int heading, std::string* keys)
{
    static const char kKeys[4] = {'w', 's', 'a', 'd'};
    const int exitCount = m.getExitCount();
    // Breadth first over (cell, heading): every key press costs one, and a
    // FIFO expanded in key order finds the first shortest sequence in that order.
    static State parent[N][N][4];
    static char via[N][N][4];
    bool seen[N][N][4] = {};
    std::deque<State> queue;
    State start{from, ((heading % 4) + 4) % 4};
    bool found = false;
    State last{};
    char lastKey = 0;
    if (inGrid(start.cell)) {
        seen[start.cell.row][start.cell.column][start.heading] = true;
        queue.push_back(start);
    }
    while (!queue.empty() && !found) {
        State s = queue.front();
        queue.pop_front();
        for (int k = 0; k < 4 && !found; ++k) {
            State next = s;
            if (k < 2) {
                if (!canStep(m, s.cell, s.heading, k))
                    continue;  // a refused step changes nothing
                next.cell = stepTarget(s.cell, s.heading, k);
            } else {
                next.heading = (s.heading + (k == 2 ? 3 : 1)) % 4;
            }
            if (!inGrid(next.cell))
                continue;
            if (k < 2 && isExitCell(m, exitCount, next.cell)) {
                found = true;
                last = s;
                lastKey = kKeys[k];
                break;
            }
            bool& mark = seen[next.cell.row][next.cell.column][next.heading];
            if (mark)
                continue;
            mark = true;
            parent[next.cell.row][next.cell.column][next.heading] = s;
            via[next.cell.row][next.cell.column][next.heading] = kKeys[k];
            queue.push_back(next);
        }
    }
    if (!found)
        return false;
    keys->assign(1, lastKey);
    for (State s = last; !(s.cell.column == start.cell.column && s.cell.row == start.cell.row &&
                           s.heading == start.heading);
         s = parent[s.cell.row][s.cell.column][s.heading])
        *keys += via[s.cell.row][s.cell.column][s.heading];
    keys->assign(keys->rbegin(), keys->rend());
    return true;
}

void reachDistances(point2 from, const CellTest& enterable, int dist[N][N])
{
    for (int r = 0; r < N; ++r)
        for (int c = 0; c < N; ++c)
            dist[r][c] = -1;
    if (!inGrid(from))
        return;
    std::deque<point2> queue{from};
    dist[from.row][from.column] = 0;
    while (!queue.empty()) {
        point2 p = queue.front();
        queue.pop_front();
        for (int heading = 0; heading < 4; ++heading) {
            point2 q = stepTarget(p, heading, 0);
            if (!inGrid(q) || dist[q.row][q.column] >= 0 || !enterable(q.column, q.row))
                continue;
            dist[q.row][q.column] = dist[p.row][p.column] + 1;
            queue.push_back(q);
        }
    }
}
