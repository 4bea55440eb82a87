#include "maze/link_excerpt.h"

namespace {

bool continuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

}  // namespace

std::string linkExcerpt(const std::string& text)
{
    if (text.size() <= kLinkExcerptBytes)
        return text;
    size_t end = kLinkExcerptBytes;
    // Back over the continuation bytes of the character the cut falls in, to
    // its lead byte; at most three, so a run of stray continuation bytes (not
    // UTF-8 at all) is cut where it stands.
    for (size_t back = 0; back < 3 && end > 0 && continuationByte(text[end]); ++back)
        --end;
    if (continuationByte(text[end]))
        end = kLinkExcerptBytes;
    return text.substr(0, end) + "...";
}
