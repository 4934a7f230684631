// File-system services: directory listing by extension, the regular-file
// test, and read-only mapping of a whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Names (not paths) of the entries of `dir` whose names end in `extension`
// (".rtbw"), in the order the directory yields them; empty if unreadable.
std::vector<std::string> list_directory(const char* dir, const char* extension);

bool is_regular_file(const char* path);

struct MappedFile {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

enum class MapResult { OK, CANNOT_OPEN, CANNOT_MAP };

// Maps the whole file read-only. An empty file cannot be mapped and gives CANNOT_MAP.
MapResult map_file(const char* path, MappedFile& out);
void unmap_file(MappedFile& file);
