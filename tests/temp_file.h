#pragma once

// A temporary file holding exactly the given bytes, removed with the object.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

struct TempFile {
    std::string path;
    explicit TempFile(const std::string& bytes = "")
    {
        char name[] = "/tmp/maze_test_XXXXXX";
        int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
        close(fd);
        path = name;
    }
    ~TempFile() { std::remove(path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
};
