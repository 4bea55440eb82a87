#include "bitmap/file_map.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool mapFile(const char* fileName, MappedFile& file)
{
    file = MappedFile{nullptr, 0};
    // O_NONBLOCK keeps a FIFO from stalling the open; it is then refused below.
    int fd = open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    void* view = MAP_FAILED;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        view = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);  // the mapping stays valid without the descriptor
    if (view == MAP_FAILED)
        return false;
    file = MappedFile{static_cast<const unsigned char*>(view), size_t(st.st_size)};
    return true;
}

void unmapFile(MappedFile& file)
{
    if (file.data)
        munmap(const_cast<unsigned char*>(file.data), file.size);
    file = MappedFile{nullptr, 0};
}
