#include "walker/data_folder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string dataFolderBeside(const std::string& exePath, const std::string& relative)
{
    if (exePath.empty())
        return "";
    // /proc/self/exe is already free of symbolic links and dot segments, so
    // a lexical normalisation gives the same folder as the file system would,
    // and names it without a "bin/.." in messages.
    fs::path dir = (fs::path(exePath).parent_path() / relative).lexically_normal();
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
