// The daily maze: which texts are dates, and the rule from a date to its maze.
#include <gtest/gtest.h>

#include <string>

#include "maze/daily_maze.h"

namespace {

TEST(DailyMazeTest, OnlyRealDatesWrittenYYYYMMDD)
{
    struct Good { const char* text; int year, month, day; } goods[] = {
        {"2026-12-09", 2026, 12, 9}, {"2028-02-29", 2028, 2, 29}, {"2000-02-29", 2000, 2, 29},
        {"0001-01-01", 1, 1, 1},     {"9999-12-31", 9999, 12, 31}, {"2026-04-30", 2026, 4, 30},
    };
    for (const Good& g : goods) {
        DailyDate date;
        std::string err;
        ASSERT_TRUE(parseDailyDate(g.text, &date, &err)) << g.text << ": " << err;
        EXPECT_EQ(date.year, g.year) << g.text;
        EXPECT_EQ(date.month, g.month) << g.text;
        EXPECT_EQ(date.day, g.day) << g.text;
    }
    const std::string shape = "write it as four, two and two digits";
    struct Bad { const char* text; std::string reason; } bads[] = {
        {"2026-02-29", "February 2026 has 28 days"},
        {"1900-02-29", "February 1900 has 28 days"},
        {"2026-04-31", "April 2026 has 30 days"},
        {"2026-12-32", "December 2026 has 31 days"},
        {"2026-13-01", "there is no month 13"},
        {"2026-00-10", "there is no month 0"},
        {"2026-12-00", "there is no day 0"},
        {"0000-01-01", "there is no year 0"},
        {"2026-1-09", shape}, {"2026-12-9", shape}, {"26-12-09", shape}, {"2026/12/09", shape},
        {"2026-12-09 ", shape}, {"+2026-12-9", shape}, {"2026-12-0x", shape}, {"", shape},
        {"20261209", shape}, {"2026-12--9", shape},
    };
    for (const Bad& b : bads) {
        DailyDate date{1234, 5, 6};
        std::string err;
        EXPECT_FALSE(parseDailyDate(b.text, &date, &err)) << b.text;
        EXPECT_EQ(err, b.reason) << b.text;
        EXPECT_EQ(date.year, 1234) << b.text;
    }
}

// A date's maze never changes: daily mazes are shared by date, so these
// bytes (2026-12-09: seed 20261209, 32 by 32, one exit) pin the rule and the
// generator together.
TEST(DailyMazeTest, ADateNamesOneMazeForGood)
{
    DailyDate date;
    std::string err;
    ASSERT_TRUE(parseDailyDate("2026-12-09", &date, &err));
    EXPECT_EQ(dailySeed(date), 20261209u);
    const MazeRequest req = dailyMazeRequest(date);
    EXPECT_EQ(req.width, 32);
    EXPECT_EQ(req.height, 32);
    EXPECT_EQ(req.exits, 1);
    EXPECT_EQ(generateMaze(req),
              "cbrcbcrrbbbrmrbymygygcbrryrgygmc\n"
              "b   y*    m                    m\n"
              "c b b c cbm rccrmrcmgyryr bcm yc\n"
              "y g   m y       r       r   g  c\n"
              "c gymmc c yygcy b mygcr rrc bgmy\n"
              "b y   m   r   c   c       y   mb\n"
              "r cby cbcry b ccbrmgmcggbbcbm mg\n"
              "m   g   c   r                  y\n"
              "bmg gyy y myg rrmgmcybmyygcrb rr\n"
              "y c     r m   c   c       r    c\n"
              "b c yrrgc m ggr c byr yrmcb rrmg\n"
              "y r r   c c m   b   g   c   g yc\n"
              "y r b r g ygm cbmyb bby y crg bg\n"
              "g   r c   c   g   b r   c c   gc\n"
              "g grg bmcgr gcm rrc c yyy y ymcg\n"
              "b c   c   m c     c m     g   yc\n"
              "r c bgg g r rbgrm y c mycrgcg cy\n"
              "m r     b r   g   c b b        m\n"
              "r mrbymmy gbg y c y g mrb g r yr\n"
              "c     c     b g r y b   r y c bm\n"
              "cbm gcr y rrr m rrr ccc b r mmmy\n"
              "g   g   c m   y bxg   g c c    g\n"
              "rycyy ybg y mgc c r r c r ggb yg\n"
              "g     r   m   r b g g c r c    c\n"
              "b rcmcm yymcg m m cgc r r r ymcy\n"
              "r     y     y r c     m g m   yg\n"
              "r mmg bgbcyyy r bgrcygy mbccg bb\n"
              "r   b r       g       b       yb\n"
              "gyc y b crgycym ycmbbbrmgyrrb ry\n"
              "c   m   r                      r\n"
              "y bmm yym cgc r b y b mgcgg mmcg\n"
              "ymmbcbrgccyrgbgrgbrrgmcmcrmcrmby\n");
}

}  // namespace
