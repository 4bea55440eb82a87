#pragma once

#include <cstddef>

// A whole file mapped read-only into memory.
struct MappedFile {
    const unsigned char* data;
    size_t size;
};

// Maps all of `fileName`. Fails (returning false, with nothing left open) when
// the file cannot be opened, is not a regular file, is empty or cannot be mapped.
bool mapFile(const char* fileName, MappedFile& file);

// Releases a mapping made by mapFile.
void unmapFile(MappedFile& file);
