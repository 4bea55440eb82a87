#pragma once

#include <cstdio>
#include <string>

// `text` as a JSON string literal, quotes included: every byte outside
// printable ASCII escaped as \u00XX, so any bytes survive the trip to
// JavaScript as the same character codes.
inline std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

// The answer handed to JavaScript last, kept until the next one.
inline std::string& heldAnswer()
{
    static std::string held;
    return held;
}

// Hands `text` to JavaScript: the module's entry points return this pointer,
// valid until the next answer, and web_answer_size() gives its length in
// bytes, so that any bytes (a NUL too) come through (program.js copies them
// out at once).
inline const char* answer(std::string text)
{
    heldAnswer() = std::move(text);
    return heldAnswer().c_str();
}

// Hands bytes to JavaScript, any of them (NUL and bytes over 0x7f too):
// the pointer to them, valid until the next answer, their count in *size.
inline const char* answerBytes(std::string bytes, int* size)
{
    *size = int(bytes.size());
    return answer(std::move(bytes));
}
