// What every mazetool subcommand shares: reading a maze file and usage errors.
#include "commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "maze/maze.h"

namespace {

// The length of the printable UTF-8 character starting name[i], 0 when the
// bytes there are not one (a stray or overlong byte, a surrogate, a C1
// control character).
size_t printableUtf8Length(const std::string& name, size_t i)
{
    const unsigned char lead = static_cast<unsigned char>(name[i]);
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else
        return 0;
    if (i + length > name.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char c = static_cast<unsigned char>(name[i + k]);
        if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
            return 0;
    }
    if (lead == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0)
        return 0;  // U+0080 to U+009F
    return length;
}

}  // namespace

std::string quotedName(const std::string& name)
{
    std::string out = "\"";
    for (size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const char* escape = nullptr;
        switch (c) {
        case '\a': escape = "\\a"; break;
        case '\b': escape = "\\b"; break;
        case '\f': escape = "\\f"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\t': escape = "\\t"; break;
        case '\v': escape = "\\v"; break;
        case '\\': escape = "\\\\"; break;
        case '"': escape = "\\\""; break;
        default: break;
        }
        if (escape) {
            out += escape;
            ++i;
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
            ++i;
        } else if (size_t length = c >= 0x80 ? printableUtf8Length(name, i) : 0) {
            out.append(name, i, length);
            i += length;
        } else {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", unsigned(c));
            out += octal;
            ++i;
        }
    }
    return out + "\"";
}

std::string whyUnreadable(const std::string& fileName)
{
    // O_NONBLOCK: a FIFO must not stall the question.
    const int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::strerror(errno);
    struct stat st;
    const int statError = fstat(fd, &st) != 0 ? errno : 0;
    close(fd);
    if (statError)
        return std::strerror(statError);
    if (S_ISDIR(st.st_mode))
        return std::strerror(EISDIR);
    return S_ISREG(st.st_mode) ? "" : "not a regular file";
}

SplitArgs splitArgs(const Args& args)
{
    SplitArgs split;
    bool optionsEnded = false;
    for (const std::string& a : args) {
        if (!optionsEnded && a == "--")
            optionsEnded = true;
        else if (!optionsEnded && a.size() > 1 && a[0] == '-')
            split.options.push_back(a);
        else
            split.operands.push_back(a);
    }
    return split;
}

bool readMazeFile(const std::string& fileName, maze* m, MazeLayout* layout)
{
    std::FILE* f = openMazeFile(fileName);
    if (!f) {
        const std::string why = whyUnreadable(fileName);
        std::fprintf(stderr, "mazetool: %s can not be opened: %s\n", quotedName(fileName).c_str(),
                     why.empty() ? "cannot be read" : why.c_str());
        return false;
    }
    m->read(f, layout);
    std::fclose(f);
    return true;
}

int usageError(const std::string& message)
{
    std::fprintf(stderr, "mazetool: %s\n(run 'mazetool help' for usage)\n", message.c_str());
    return 2;
}

int singleOperand(const Args& args, const std::string& command, const std::string& what,
                  std::string& operand)
{
    operand.clear();
    const SplitArgs split = splitArgs(args);
    if (!split.options.empty())
        return usageError(command + ": unknown option '" + split.options[0] + "'");
    if (split.operands.size() > 1)
        return usageError(command + ": more than one " + what + " given");
    if (split.operands.empty())
        return usageError(command + ": no " + what + " given");
    operand = split.operands[0];
    return 0;
}
