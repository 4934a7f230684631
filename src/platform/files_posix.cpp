#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/files.h"

std::vector<std::string> list_directory(const char* dir, const char* extension) {
    std::vector<std::string> names;
    DIR* d = opendir(dir);
    if (!d) return names;
    size_t ext_len = std::strlen(extension);
    while (dirent* entry = readdir(d)) {
        size_t len = std::strlen(entry->d_name);
        if (len >= ext_len && std::strcmp(entry->d_name + len - ext_len, extension) == 0)
            names.emplace_back(entry->d_name);
    }
    closedir(d);
    return names;
}

bool is_regular_file(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

MapResult map_file(const char* path, MappedFile& out) {
    out = MappedFile{};
    int fd = open(path, O_RDONLY);
    if (fd < 0) return MapResult::CANNOT_OPEN;
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_size <= 0) {
        close(fd);
        return MapResult::CANNOT_MAP;
    }
    void* p = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (p == MAP_FAILED) return MapResult::CANNOT_MAP;
    out.data = static_cast<const uint8_t*>(p);
    out.size = size_t(st.st_size);
    return MapResult::OK;
}

void unmap_file(MappedFile& file) {
    if (file.data) munmap(const_cast<uint8_t*>(file.data), file.size);
    file = MappedFile{};
}
