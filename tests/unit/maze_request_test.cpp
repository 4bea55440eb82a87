#include <gtest/gtest.h>

#include <string>

#include "maze/maze_request.h"

namespace {

std::string generated(std::uint64_t seed, int width, int height, int exits)
{
    MazeRequest r;
    r.seed = seed;
    r.width = width;
    r.height = height;
    r.exits = exits;
    return generateMaze(r);
}

TEST(MazeRequestTest, LinksNameTheMazeMazetoolGenerates)
{
    struct Case { const char* fragment; std::uint64_t seed; int width, height, exits; } cases[] = {
        {"#seed=77&width=11&height=9&exits=2", 77, 11, 9, 2},
        {"height=9&seed=77&exits=2&width=11", 77, 11, 9, 2},  // any order, no "#"
        {"#seed=5", 5, 32, 32, 1},                            // the defaults
        {"#seed=%35&width=1%32", 5, 12, 32, 1},               // percent-encoded, as URLSearchParams reads it
        {"#seed=18446744073709551615&&width=5&height=5", UINT64_MAX, 5, 5, 1},
    };
    for (const Case& c : cases) {
        std::string text, err;
        ASSERT_TRUE(randomMazeFromFragment(c.fragment, &text, &err)) << c.fragment << ": " << err;
        EXPECT_EQ(text, generated(c.seed, c.width, c.height, c.exits)) << c.fragment;
    }
}

TEST(MazeRequestTest, RefusedLinksSayWhyQuotingAShortExcerpt)
{
    const std::string longValue(100000, '7');
    struct Case { std::string fragment, message; } cases[] = {
        {"#width=9", "The link's random maze has no seed."},
        {"#seed=1&colour=red", "The link's random maze is not understood: \"colour=red\"."},
        {"#seed=1&seed=2", "The link's random maze is not understood: \"seed=2\"."},
        {"#seed", "The link's random maze is not understood: \"seed\"."},
        {"#seed=+5", "The link's seed must be a whole number from 0 to 18446744073709551615, not \" 5\"."},
        {"#seed=%205", "The link's seed must be a whole number from 0 to 18446744073709551615, not \" 5\"."},
        {"#seed=5&width=4",
         "The link's width must be a whole number from 5 to 32 (the border included), not \"4\"."},
        {"#seed=5&height=33",
         "The link's height must be a whole number from 5 to 32 (the border included), not \"33\"."},
        {"#seed=5&width=5&height=5&exits=3",
         "The link's exits must be a whole number from 1 to 2 for a 5 by 5 maze, not \"3\"."},
        {"#seed=" + std::string(200, '9'),
         "The link's seed must be a whole number from 0 to 18446744073709551615, not \"" + std::string(40, '9') +
             "...\"."},
        {"#seed=" + longValue, "The link's random maze is too long to be one (100005 characters; at most 256)."},
        {"#seed=1%00", "The link's seed must be a whole number from 0 to 18446744073709551615, not \"1" +
                           std::string(1, '\0') + "\"."},
    };
    for (const Case& c : cases) {
        std::string text = "untouched", err;
        EXPECT_FALSE(randomMazeFromFragment(c.fragment, &text, &err)) << c.fragment.substr(0, 50);
        EXPECT_EQ(err, c.message) << c.fragment.substr(0, 50);
        EXPECT_EQ(text, "untouched");
    }
    // The length alone decides the first refusal, as a page checks it before copying a fragment.
    EXPECT_EQ(randomFragmentTooLong(256), "");
    EXPECT_EQ(randomFragmentTooLong(100005), cases[10].message);
    // The refused value itself, for a front end's own words.
    RequestProblem problem;
    std::string text, err;
    EXPECT_FALSE(randomMazeFromFragment("#seed=5&width=5&height=5&exits=3", &text, &err, &problem));
    EXPECT_EQ(problem.field, kRequestExits);
    EXPECT_EQ(problem.rule, "a whole number from 1 to 2 for a 5 by 5 maze");
    EXPECT_EQ(problem.value, "3");
}

// "#daily=DATE" names the maze `mazetool generate --daily DATE` writes;
// anything else after "daily" is refused with the page's message.
TEST(MazeRequestTest, DailyLinksNameTheDaysMaze)
{
    for (const char* fragment : {"#daily=2026-12-09", "daily=2026-12-09", "#daily=2026%2D12-09&"}) {
        std::string text, err;
        EXPECT_TRUE(isDailyLink(fragment)) << fragment;
        ASSERT_TRUE(dailyMazeFromFragment(fragment, &text, &err)) << fragment << ": " << err;
        EXPECT_EQ(text, generated(20261209, 32, 32, 1)) << fragment;
    }
    for (const char* fragment : {"#seed=5", "#dailyx=1", "#maze=abc", "", "#"})
        EXPECT_FALSE(isDailyLink(fragment)) << fragment;
    EXPECT_TRUE(isDailyLink("#daily"));

    const std::string rule = "The link's date must be a real date written YYYY-MM-DD, not \"";
    struct Case { std::string fragment, message; } cases[] = {
        {"#daily", "The link's daily maze has no date."},
        {"#daily=2026-02-29", rule + "2026-02-29\": February 2026 has 28 days."},
        {"#daily=", rule + "\": write it as four, two and two digits."},
        {"#daily=2026-12-09&daily=2026-12-10", "The link's daily maze is not understood: \"daily=2026-12-10\"."},
        {"#daily=2026-12-09&seed=3", "The link's daily maze is not understood: \"seed=3\"."},
        {"#daily=" + std::string(58, '9'), rule + std::string(40, '9') + "...\": write it as four, two and two digits."},
        {"#daily=" + std::string(59, '9'), "The link's daily maze is too long to be one (65 characters; at most 64)."},
    };
    for (const Case& c : cases) {
        std::string text = "untouched", err;
        EXPECT_FALSE(dailyMazeFromFragment(c.fragment, &text, &err)) << c.fragment;
        EXPECT_EQ(err, c.message) << c.fragment;
        EXPECT_EQ(text, "untouched");
    }
}

}  // namespace
