#pragma once

#include <string>

// What a message quotes of a text from a link: all of a short one; the first
// kLinkExcerptBytes bytes of a long one and "...", cut before a UTF-8
// character that would not fit whole, so the message never holds half of one.
const size_t kLinkExcerptBytes = 40;
std::string linkExcerpt(const std::string& text);
