#include "app/data_files.h"

#include <filesystem>
#include <system_error>

#ifndef MAZE_DATA_FROM_BIN
#error "MAZE_DATA_FROM_BIN comes from the build (the install's data folder seen from its bin folder)"
#endif

std::string installedDataDir(const std::string& exePath)
{
    return dataFolderBeside(exePath, MAZE_DATA_FROM_BIN);
}

std::string dataFile(const std::string& name)
{
    static const std::string dir = [] {
        std::error_code ec;
        std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        return ec ? std::string() : installedDataDir(exe.string());
    }();
    return dataFilePath(name, dir);
}
