#pragma once

#include <cstddef>
#include <string>

// Page links that carry a whole maze file: "#maze=" and the file's bytes in
// base64url (RFC 4648 section 5: A-Z a-z 0-9 - _, no "=" padding).

// The largest maze file a link carries.
const size_t kMaxLinkedMazeBytes = 4096;

// The base64url text of `bytes`, without padding.
std::string encodeBase64Url(const std::string& bytes);

// Decodes base64url text without padding. False for a character outside the
// alphabet, a length that no encoding has (1 more than a multiple of 4), or
// unused bits that are not zero, so that every byte string has exactly one
// text.
bool decodeBase64Url(const std::string& text, std::string* bytes);

// The fragment, without "#", that carries the maze file `bytes`:
// "maze=" + encodeBase64Url(bytes). False with the page's message in `*err`
// for a file over kMaxLinkedMazeBytes.
bool mazeLinkFragment(const std::string& bytes, std::string* fragment, std::string* err);

// Whether a fragment (with or without its "#") is a maze link: starts "maze=".
bool isMazeLink(const std::string& fragment);

// Why a "maze=..." fragment `length` characters long (its "#" left out) is
// refused on its length alone: a text longer than a kMaxLinkedMazeBytes
// file's encoding. "" when the length is no reason. Decides from the length
// only, so a page can refuse a long fragment before copying it anywhere.
std::string mazeLinkTooLong(size_t length);

// The maze file bytes a "#maze=..." fragment carries. False with the page's
// message in `*err` when the text is longer than a kMaxLinkedMazeBytes file's
// encoding (mazeLinkTooLong) or is not valid base64url; the message quotes
// at most a short excerpt of the fragment (linkExcerpt).
bool mazeFromLinkFragment(const std::string& fragment, std::string* bytes, std::string* err);
