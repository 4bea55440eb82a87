#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/data_files.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

void write(const fs::path& path)
{
    std::ofstream(path) << "x";
}

// The working directory's copy of a data file wins; the install's is read
// only when the working directory has none.
TEST(DataFilesTest, TheWorkingDirectoryWinsOverTheInstall)
{
    proc::TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    const fs::path work = fs::path(dir.path) / "work", data = fs::path(dir.path) / "share" / "maze";
    fs::create_directories(work);
    fs::create_directories(data);
    write(data / "maze1.dat");
    write(data / "metal004.bmp");
    write(work / "maze1.dat");
    const fs::path before = fs::current_path();
    fs::current_path(work);
    EXPECT_EQ(dataFilePath("maze1.dat", data.string()), "maze1.dat");
    EXPECT_EQ(dataFilePath("metal004.bmp", data.string()), (data / "metal004.bmp").string());
    EXPECT_EQ(dataFilePath("SteelBoxFan.bmp", data.string()), "SteelBoxFan.bmp");  // neither has it
    EXPECT_EQ(dataFilePath("metal004.bmp", ""), "metal004.bmp");                   // no install
    fs::current_path(before);

    // The install's folder is ../share/maze beside the executable's, when it exists.
    fs::create_directories(fs::path(dir.path) / "bin");
    EXPECT_EQ(installedDataDir((fs::path(dir.path) / "bin" / "maze").string()), data.string());
    EXPECT_EQ(installedDataDir((work / "bin" / "maze").string()), "");
}

// A missing maze or texture points to where they come from: an install's
// data folder, the build's run folder, or mazetool.
TEST(DataFilesTest, MissingDataHintsNameWhereItComesFrom)
{
    proc::TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    const fs::path root(dir.path);
    fs::create_directories(root / "share" / "maze");
    fs::create_directories(root / "bin");
    fs::create_directories(root / "tree" / "build" / "run");
    write(root / "tree" / "build" / "run" / "maze1.dat");
    const std::string installed = (root / "bin" / "maze").string(), built = (root / "tree" / "build" / "maze").string(),
                      alone = (root / "share" / "maze").string() + "/maze";
    const std::string data = (root / "share" / "maze").string(), run = (root / "tree" / "build" / "run").string();
    EXPECT_EQ(buildRunDir(built), run);
    EXPECT_EQ(buildRunDir(installed), "");

    EXPECT_EQ(missingTextureHint(installed), "The textures are read from the working directory, then from " + data +
                                                 ".\n'mazetool textures DIR' writes them into DIR.\n");
    EXPECT_EQ(missingTextureHint(alone), "The textures are read from the working directory.\n"
                                         "'mazetool textures DIR' writes them into DIR; an installed maze reads them "
                                         "from its data folder.\n");
    EXPECT_NE(missingTextureHint(built).find("\nThe build's run folder holds them: cd " + run + " && ../maze\n"),
              std::string::npos);
    EXPECT_EQ(missingMazeHint(installed), "maze: maze1.dat is read from the working directory, then from " + data +
                                              "; or name a maze file\n");
    EXPECT_EQ(missingMazeHint(built), "maze: maze1.dat is read from the working directory; the build's run folder "
                                      "holds it and the textures: cd " + run + " && ../maze\n");
}

}  // namespace
