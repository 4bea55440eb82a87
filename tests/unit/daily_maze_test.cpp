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
              "b   y     m           m        c\n"
              "bbc c bmr c crm rcmgyry rbc m yc\n"
              "y   g   m   y   r       r   g  c\n"
              "c gymmc cyygc ybm ygcrr r cbgmyb\n"
              "y       m r   c   c   y m     br\n"
              "c bycbcry b ccb rmg m cgg bbc bm\n"
              "m       g m     g   c   r y b  m\n"
              "ggyyymy g rrmgmcy bmyyg c r b rr\n"
              "y     c       r   m   c c r c  b\n"
              "c yrr gcmggrc b yry r m c b r rm\n"
              "g y     r   r c c   m b g c g yc\n"
              "yrb r gyg m c b myb bby y c r gb\n"
              "g   g r   c   c   g   b r   c cg\n"
              "c ggr g bmcgrgcmr rcc y y yyy mc\n"
              "g b   c c       m c   c m g   yc\n"
              "r cbg g g rrb grm y cmy crg c gc\n"
              "y   m r b r   g   c b b   m r  m\n"
              "r b ymm ygb gyc ygm r b g r yrcc\n"
              "b g   r   y   b   r y c b m   cb\n"
              "m gcr yrr rmr rrc c c brm mmy gg\n"
              "c   m y         b g g     c    c\n"
              "gry c y yybgymgcc r rcrggby ggrm\n"
              "r b g   g c       r   c        c\n"
              "b r cmcmy y mcgmmcg crr rymcy ry\n"
              "y   rxc   m g             m   yg\n"
              "r mmg b g b c yyyrbgr cygym b cc\n"
              "g   b   b r b r     g   b   y bg\n"
              "ycy bcrgy c ymy cmb bbrmg yrr br\n"
              "y         c     m    *    r    r\n"
              "y bmm yym cgc r b y b mgcgg mmcg\n"
              "ymmbcbrgccyrgbgrgbrrgmcmcrmcrmby\n");
}

}  // namespace
