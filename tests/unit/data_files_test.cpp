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

}  // namespace
