// Soak: the real program under a storm of random keys and window resizes for
// a bounded time. It must stay alive, keep rewriting its frame-rate title, and
// its resident memory must stop growing after the first seconds.
//
// MAZE_SOAK_SECONDS sets the length (default 30); MAZE_SOAK_SEED replays a
// storm. Longer runs go past CTest's time limit, so run them directly:
//   MAZE_SOAK_SECONDS=600 build/tests/e2e_tests --gtest_filter='Soak.*'

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "fixtures.h"
#include "x11_harness.h"

using namespace e2e;

namespace {

// Walls all round and no exit, so no sequence of keys can end the program;
// inner walls of every colour so each texture is drawn.
const char kSoakMaze[] =
    "rrrrrrrrr\n"
    "r*  g   r\n"
    "r bb  c r\n"
    "r    m  r\n"
    "ry  y   r\n"
    "r   cc gr\n"
    "rb  m   r\n"
    "rrrrrrrrr\n";

// The program's keys without the quit keys (q, Q, Escape), twice over for the
// motions so the walker is busy most of the time, and a few keys it ignores.
const char kStormKeys[] = "wsadwsadvV" "Wx1";

// Upper bound for the next title rewrite: the title changes about once a
// second while frames are drawn.
constexpr double kTitleTimeout = 15;
constexpr double kCheckInterval = 3;   // seconds between liveness checks
constexpr double kRssInterval = 0.25;  // seconds between VmRSS samples

#ifdef MAZE_SANITIZED_BUILD
// Under AddressSanitizer freed memory sits in a quarantine (256 MiB by
// default) before it is reused, so RSS climbs for as long as the program
// allocates and frees, leak or not; a growth check would only measure the
// quarantine. Leaks are LeakSanitizer's job there, at the program's exit.
constexpr bool kCheckRssGrowth = false;
#else
constexpr bool kCheckRssGrowth = true;
#endif
// Allowed growth from the early figure to the late maximum. Each resize frees
// and reallocates the driver's colour and depth buffers for the window (up to
// 500x500 here, about 2 MiB) and the allocator keeps some freed blocks
// resident, so RSS wobbles by a few MiB with the sizes the storm happens to
// pick. A leak per resize (several a second) or per frame (hundreds a second)
// of a buffer-sized block outgrows this within a few seconds.
constexpr long kRssMarginKb = 8 * 1024;

double soakSeconds()
{
    const char* s = std::getenv("MAZE_SOAK_SECONDS");
    double v = s ? std::atof(s) : 0;
    return v > 0 ? v : 30;
}

unsigned soakSeed()
{
    const char* s = std::getenv("MAZE_SOAK_SEED");
    return s && *s ? unsigned(std::strtoul(s, nullptr, 10)) : 20240611u;
}

struct RssSample {
    double time;  // seconds since the storm began
    long kb;
};

// The largest sample taken between the two fractions of the run; -1 if none.
long maxRss(const std::vector<RssSample>& samples, double from, double to)
{
    long m = -1;
    for (const RssSample& s : samples)
        if (s.time >= from && s.time <= to)
            m = std::max(m, s.kb);
    return m;
}

TEST(Soak, RandomKeysAndResizesKeepTheProgramAliveRespondingAndItsMemoryFlat)
{
    const double seconds = soakSeconds();
    const unsigned seed = soakSeed();
    std::printf("soak: %.0f s, seed %u (MAZE_SOAK_SEED=%u repeats this storm)\n", seconds, seed, seed);
    std::mt19937 rng(seed);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    Program maze(MAZE_BINARY, {}, mazeFiles(kSoakMaze));
    ASSERT_TRUE(maze.start());
    Window w = findWindow(maze);
    ASSERT_NE(w, 0u) << maze.describe();
    std::vector<TitleUpdate> updates;
    ASSERT_TRUE(waitTitleUpdates(w, 1, kTitleTimeout, &updates)) << "no frame-rate title\n" << maze.describe();

    int keys = 0, resizes = 0, checks = 0;
    std::string lastTitle;
    std::vector<RssSample> rss;
    auto progress = [&] {
        return "after " + std::to_string(keys) + " keys and " + std::to_string(resizes) + " resizes, seed " +
               std::to_string(seed) + "\n" + maze.describe();
    };

    const double begin = now();
    const double end = begin + seconds;
    double nextCheck = begin + kCheckInterval, nextRss = begin;
    while (now() < end) {
        if (uniform(0, 3) != 0) {
            const char key = kStormKeys[uniform(0, int(sizeof kStormKeys) - 2)];
            ASSERT_TRUE(sendKey(w, key)) << "key '" << key << "' " << progress();
            ++keys;
        } else {
            // Down to one pixel high, one wide, 1x1 (X has no empty window),
            // anything up to the start size, and back to the start size.
            int width = 500, height = 500;
            switch (uniform(0, 4)) {
            case 0: width = uniform(1, 500); height = 1; break;
            case 1: width = 1; height = uniform(1, 500); break;
            case 2: width = 1; height = 1; break;
            case 3: width = uniform(1, 500); height = uniform(1, 500); break;
            default: break;
            }
            ASSERT_TRUE(resizeWindow(w, width, height)) << width << "x" << height << " " << progress();
            ++resizes;
        }
        sleepFor(uniform(20, 50) / 1000.0);

        if (now() >= nextRss) {
            rss.push_back({now() - begin, statusKb(maze.pid(), "VmRSS")});
            nextRss = now() + kRssInterval;
        }
        if (now() >= nextCheck) {
            ASSERT_TRUE(maze.running()) << "ended " << progress();
            ASSERT_TRUE(windowAlive(w)) << "window gone " << progress();
            ASSERT_TRUE(waitTitleUpdates(w, 1, kTitleTimeout, &updates))
                << "title not rewritten within " << kTitleTimeout << " s " << progress();
            lastTitle = updates.back().title;
            ++checks;
            nextCheck = now() + kCheckInterval;
        }
    }

    // Still drawing at the start size once the storm is over.
    ASSERT_TRUE(resizeWindow(w, 500, 500));
    ASSERT_TRUE(waitTitleUpdates(w, 2, kTitleTimeout, &updates)) << "title not rewritten " << progress();
    lastTitle = updates.back().title;

    const long early = maxRss(rss, 0.15 * seconds, 0.25 * seconds);
    const long late = maxRss(rss, 0.5 * seconds, seconds);
    std::printf("soak: %d keys, %d resizes, %d liveness checks in %.1f s; last title '%s'\n", keys, resizes,
                checks, now() - begin, lastTitle.c_str());
    std::printf("soak: VmRSS first %ld KiB, early max %ld KiB, late max %ld KiB, growth %+ld KiB%s\n",
                rss.empty() ? -1 : rss.front().kb, early, late, late - early,
                kCheckRssGrowth ? "" : " (not checked under AddressSanitizer)");
    if (kCheckRssGrowth) {
        ASSERT_GT(early, 0) << "no VmRSS samples early in the run";
        ASSERT_GT(late, 0) << "no VmRSS samples late in the run";
        EXPECT_LE(late - early, kRssMarginKb) << "resident memory grew from " << early << " KiB to " << late
                                              << " KiB";
    }

    // A quit key still ends it cleanly (under the sanitizers this is also
    // where LeakSanitizer looks at everything the storm allocated).
    ASSERT_TRUE(sendKey(w, 'q'));
    ExitStatus st;
    ASSERT_TRUE(maze.waitExit(kExitTimeout, &st)) << maze.describe();
    EXPECT_TRUE(st.exited && st.code == 0) << st.str() << "\n" << maze.describe();
}

}  // namespace
