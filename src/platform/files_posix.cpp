#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

bool is_directory(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

FileHandle open_file(const char* path) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return NO_FILE;
    // A directory opens read-only on POSIX, but it is no file to read.
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return NO_FILE;
    }
    return fd;
}

void close_file(FileHandle file) {
    if (file != NO_FILE) close(int(file));
}

int64_t file_size(FileHandle file) {
    struct stat st;
    if (file == NO_FILE || fstat(int(file), &st) != 0) return -1;
    return int64_t(st.st_size);
}

MapResult map_open_file(FileHandle file, MappedFile& out) {
    out = MappedFile{};
    int64_t size = file_size(file);
    if (size <= 0) {
        out.error = size < 0 ? errno : EINVAL;
        return MapResult::CANNOT_MAP;
    }
    void* p = mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, int(file), 0);
    if (p == MAP_FAILED) {
        out.error = errno;
        return MapResult::CANNOT_VIEW;
    }
    out.data = static_cast<const uint8_t*>(p);
    out.size = size_t(size);
    return MapResult::OK;
}

bool unmap_file(MappedFile& file) {
    bool ok = true;
    int error = 0;
    if (file.data && munmap(const_cast<uint8_t*>(file.data), file.size) != 0) {
        ok = false;
        error = errno;
    }
    file = MappedFile{};
    file.error = error;
    return ok;
}
