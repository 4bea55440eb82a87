#include "maze/maze_link.h"

#include "maze/link_excerpt.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
const char* const kPrefix = "maze=";

int sextet(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '-')
        return 62;
    if (c == '_')
        return 63;
    return -1;
}

size_t encodedLength(size_t bytes)
{
    return bytes / 3 * 4 + (bytes % 3 ? bytes % 3 + 1 : 0);
}

size_t afterHash(const std::string& fragment)
{
    return !fragment.empty() && fragment[0] == '#' ? 1 : 0;
}

}  // namespace

std::string encodeBase64Url(const std::string& bytes)
{
    std::string text;
    text.reserve(encodedLength(bytes.size()));
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k <= n; ++k)
            text += kAlphabet[(group >> (18 - 6 * k)) & 63];
    }
    return text;
}

bool decodeBase64Url(const std::string& text, std::string* bytes)
{
    if (text.size() % 4 == 1)
        return false;
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    for (size_t i = 0; i < text.size(); i += 4) {
        const size_t n = text.size() - i < 4 ? text.size() - i : 4;
        unsigned group = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int v = k < n ? sextet(text[i + k]) : 0;
            if (v < 0)
                return false;
            group = group << 6 | unsigned(v);
        }
        const size_t produced = n - 1;  // 4 characters give 3 bytes, 3 give 2, 2 give 1
        // The bits below the last byte must be zero, or two texts would name one file.
        if (group & ((1u << (8 * (3 - produced))) - 1))
            return false;
        for (size_t k = 0; k < produced; ++k)
            out += char((group >> (16 - 8 * k)) & 0xff);
    }
    *bytes = std::move(out);
    return true;
}

bool mazeLinkFragment(const std::string& bytes, std::string* fragment, std::string* err)
{
    if (bytes.size() > kMaxLinkedMazeBytes) {
        *err = "This maze file is too large for a link (" + std::to_string(bytes.size()) + " bytes; at most " +
               std::to_string(kMaxLinkedMazeBytes) + ").";
        return false;
    }
    *fragment = kPrefix + encodeBase64Url(bytes);
    return true;
}

bool isMazeLink(const std::string& fragment)
{
    return fragment.compare(afterHash(fragment), 5, kPrefix) == 0;
}

std::string mazeLinkTooLong(size_t length)
{
    const size_t text = length > 5 ? length - 5 : 0;
    if (text <= encodedLength(kMaxLinkedMazeBytes))
        return std::string();
    return "The link's maze is too long (" + std::to_string(text) + " characters; a maze link holds at most " +
           std::to_string(kMaxLinkedMazeBytes) + " bytes).";
}

bool mazeFromLinkFragment(const std::string& fragment, std::string* bytes, std::string* err)
{
    const size_t from = afterHash(fragment) + 5;
    std::string refused = mazeLinkTooLong(fragment.size() - afterHash(fragment));
    if (!refused.empty()) {
        *err = std::move(refused);
        return false;
    }
    const std::string text = fragment.size() > from ? fragment.substr(from) : std::string();
    if (!decodeBase64Url(text, bytes)) {
        *err = "The link's maze is not valid base64url: \"" + linkExcerpt(text) + "\".";
        return false;
    }
    return true;
}
