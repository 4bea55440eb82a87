#include "app/data_files.h"

#include <filesystem>
#include <system_error>

#ifndef MAZE_DATA_FROM_BIN
#error "MAZE_DATA_FROM_BIN comes from the build (the install's data folder seen from its bin folder)"
#endif

namespace fs = std::filesystem;

std::string installedDataDir(const std::string& exePath)
{
    return dataFolderBeside(exePath, MAZE_DATA_FROM_BIN);
}

std::string dataFile(const std::string& name)
{
    static const std::string dir = installedDataDir(runningProgramPath());
    return dataFilePath(name, dir);
}

std::string runningProgramPath()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string buildRunDir(const std::string& exePath)
{
    if (exePath.empty())
        return "";
    const fs::path run = fs::path(exePath).parent_path() / "run";
    std::error_code ec;
    return fs::is_regular_file(run / "maze1.dat", ec) ? run.string() : "";
}

namespace {

// "cd RUN && ../maze": how to start the program at exePath in its run folder.
std::string runThere(const std::string& exePath, const std::string& run)
{
    return "cd " + run + " && ../" + fs::path(exePath).filename().string();
}

}  // namespace

std::string missingTextureHint(const std::string& exePath)
{
    const std::string installed = installedDataDir(exePath), run = buildRunDir(exePath);
    std::string hint = "The textures are read from the working directory";
    hint += installed.empty() ? ".\n" : ", then from " + installed + ".\n";
    hint += "'mazetool textures DIR' writes them into DIR";
    hint += installed.empty() ? "; an installed maze reads them from its data folder.\n" : ".\n";
    if (!run.empty())
        hint += "The build's run folder holds them: " + runThere(exePath, run) + "\n";
    return hint;
}

std::string missingMazeHint(const std::string& exePath)
{
    const std::string installed = installedDataDir(exePath), run = buildRunDir(exePath);
    std::string hint = "maze: maze1.dat is read from the working directory";
    if (!installed.empty())
        hint += ", then from " + installed;
    if (!run.empty())
        return hint + "; the build's run folder holds it and the textures: " + runThere(exePath, run) + "\n";
    return hint + "; or name a maze file\n";
}
