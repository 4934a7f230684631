#include <windows.h>

#include <cstring>

#include "platform/files.h"

namespace {

HANDLE as_handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

std::vector<std::string> list_directory(const char* dir, const char* extension) {
    std::vector<std::string> names;
    const std::string pattern = std::string(dir) + "\\*" + extension;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    // The wildcard ignores case and may match short 8.3 names too: keep the
    // names that end in the extension exactly, as the POSIX listing does.
    const size_t ext_len = std::strlen(extension);
    do {
        size_t len = std::strlen(found.cFileName);
        if (len >= ext_len && std::strcmp(found.cFileName + len - ext_len, extension) == 0)
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool is_regular_file(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool is_directory(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FileHandle open_file(const char* path) {
    // Without backup semantics a directory does not open, as it should not.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS,
                              nullptr);
    return file == INVALID_HANDLE_VALUE ? NO_FILE : reinterpret_cast<FileHandle>(file);
}

void close_file(FileHandle file) {
    if (file != NO_FILE) CloseHandle(as_handle(file));
}

int64_t file_size(FileHandle file) {
    LARGE_INTEGER size;
    if (file == NO_FILE || !GetFileSizeEx(as_handle(file), &size)) return -1;
    return int64_t(size.QuadPart);
}

MapResult map_open_file(FileHandle file, MappedFile& out) {
    out = MappedFile{};
    DWORD high = 0;
    DWORD low = GetFileSize(as_handle(file), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        out.error = int(GetLastError());
        return MapResult::CANNOT_MAP;
    }
    // An empty file has no mapping: the system refuses it here.
    HANDLE mapping = CreateFileMappingA(as_handle(file), nullptr, PAGE_READONLY, high, low, nullptr);
    if (!mapping) {
        out.error = int(GetLastError());
        return MapResult::CANNOT_MAP;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!view) out.error = int(GetLastError());
    // The view keeps the mapping object alive, so its handle is not needed any longer.
    CloseHandle(mapping);
    if (!view) return MapResult::CANNOT_VIEW;
    out.data = static_cast<const uint8_t*>(view);
    out.size = size_t(uint64_t(high) << 32 | low);
    return MapResult::OK;
}

bool unmap_file(MappedFile& file) {
    bool ok = true;
    int error = 0;
    if (file.data && !UnmapViewOfFile(file.data)) {
        ok = false;
        error = int(GetLastError());
    }
    file = MappedFile{};
    file.error = error;
    return ok;
}
