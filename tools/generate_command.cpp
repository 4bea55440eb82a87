// mazetool generate: a random maze that passes check, the same for a seed everywhere.
#include <cstdint>
#include <cstdio>
#include <random>

#include "commands.h"
#include "maze/daily_maze.h"
#include "maze/maze.h"
#include "maze/maze_request.h"

namespace {

// A seed nobody chose, small enough to type again: 32 bits from the
// system's entropy source.
std::uint64_t randomSeed()
{
    std::random_device device;
    return std::uint64_t(device()) & 0xFFFFFFFFu;
}

}  // namespace

int generateCommand(const Args& args)
{
    const char* const kNames[] = {"--width", "--height", "--seed", "--exits", "--daily"};
    const int kDaily = 4;
    std::string values[5] = {"32", "32", "", "1", ""};
    bool given[5] = {false, false, false, false, false};
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        size_t eq = name.find('=');
        bool inlineValue = name.compare(0, 2, "--") == 0 && eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        int option = -1;
        for (int k = 0; k < 5; ++k)
            if (name == kNames[k])
                option = k;
        if (option < 0) {
            if (!name.empty() && name[0] == '-')
                return usageError("generate: unknown option '" + name + "'");
            return usageError("generate: unexpected argument '" + name + "'");
        }
        if (!inlineValue) {
            if (i + 1 == args.size())
                return usageError("generate: " + name + " needs a value");
            value = args[++i];
        }
        values[option] = value;
        given[option] = true;
    }

    MazeRequest req;
    if (given[kDaily]) {
        // The date fixes every value: another one would make a different maze under the day's name.
        for (int k = 0; k < kDaily; ++k)
            if (given[k])
                return usageError(std::string("generate: --daily cannot be combined with ") + kNames[k]);
        DailyDate date;
        std::string reason;
        if (!parseDailyDate(values[kDaily], &date, &reason))
            return usageError(std::string("generate: --daily must be ") + kDailyDateRule + ", not '" +
                              values[kDaily] + "': " + reason);
        req = dailyMazeRequest(date);
    } else {
        const bool chosen = given[kRequestSeed];
        if (!chosen)
            values[kRequestSeed] = std::to_string(randomSeed());
        RequestProblem problem;
        if (!checkMazeRequest(values, &req, &problem))
            return usageError(std::string("generate: --") + requestFieldName(problem.field) + " must be " +
                              problem.rule + ", not '" + problem.value + "'");
        // Said only once the request is good, so that the maze can be made again.
        if (!chosen)
            std::fprintf(stderr, "seed %s\n", values[kRequestSeed].c_str());
    }

    std::string text = generateMaze(req);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
