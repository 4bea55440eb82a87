#include "app/data_files.h"

#include <filesystem>
#include <system_error>

#ifndef MAZE_DATA_FROM_BIN
#error "MAZE_DATA_FROM_BIN comes from the build (the install's data folder seen from its bin folder)"
#endif

namespace fs = std::filesystem;

std::string installedDataDir(const std::string& exePath)
{
    if (exePath.empty())
        return "";
    // /proc/self/exe is already free of symbolic links and dot segments, so
    // a lexical normalisation gives the same folder as the file system would,
    // and names it without a "bin/.." in messages.
    fs::path dir = (fs::path(exePath).parent_path() / MAZE_DATA_FROM_BIN).lexically_normal();
    std::error_code ec;
    return fs::is_directory(dir, ec) ? dir.string() : "";
}

std::string dataFilePath(const std::string& name, const std::string& dataDir)
{
    std::error_code ec;
    if (dataDir.empty() || fs::exists(name, ec))
        return name;
    fs::path installed = fs::path(dataDir) / name;
    return fs::exists(installed, ec) ? installed.string() : name;
}

std::string dataFile(const std::string& name)
{
    static const std::string dir = [] {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        return ec ? std::string() : installedDataDir(exe.string());
    }();
    return dataFilePath(name, dir);
}
