#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "mazetool_support.h"

namespace {

using mt::runTool;

// A full disk must not pass for success: every command that writes to stdout
// says so and exits with 1, even when it would have exited with 0.
TEST(MazetoolOutput, AWriteErrorOnStdoutIsReportedWithCodeOne)
{
    const proc::Files files = {{"maze.dat", "rrrrr\nr*  x\nrrrrr\n"}};
    for (const char* args : {"help", "help info", "info --help", "generate --seed 1", "generate --daily 2026-12-09",
                             "info maze.dat", "info --cells maze.dat", "check maze.dat", "solve maze.dat",
                             "textures out"}) {
        SCOPED_TRACE(args);
        ToolRun ok = runTool(args, files);
        ASSERT_EQ(ok.code, 0) << ok.err;
        ASSERT_NE(ok.out, "");
        ToolRun full = runTool(std::string(args) + " > /dev/full", files);
        EXPECT_EQ(full.code, 1);
        EXPECT_EQ(full.err, "mazetool: cannot write standard output: No space left on device\n");
    }
    // A command that writes nothing to stdout does not care that it is closed.
    bmp::Layout pixel;
    pixel.pixels = bmp::row(bmp::bgr(0x102030));
    ToolRun closed = runTool("decode in.bmp out.ppm >&-", {{"in.bmp", bmp::build(pixel)}});
    EXPECT_EQ(closed.code, 0);
    EXPECT_EQ(closed.err, "");
}

}  // namespace
