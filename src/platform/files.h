// File-system services: directory listing by extension, file tests, open
// files with their size, and read-only mapping of a whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Names (not paths) of the entries of `dir` whose names end in `extension`
// (".rtbw"), in the order the directory yields them; empty if unreadable.
std::vector<std::string> list_directory(const char* dir, const char* extension);

bool is_regular_file(const char* path);
bool is_directory(const char* path);

// An open file: a descriptor or a handle, whichever the system uses.
using FileHandle = std::intptr_t;
constexpr FileHandle NO_FILE = -1;

// An existing file opened read-only for random access, or NO_FILE.
FileHandle open_file(const char* path);
void close_file(FileHandle file);
// Size in bytes of an open file, or -1 when it cannot be read.
int64_t file_size(FileHandle file);

struct MappedFile {
    const uint8_t* data = nullptr;
    size_t size = 0;
    int error = 0;  // system error code of a failed map or unmap
};

// CANNOT_MAP: the file is empty or its size cannot be read, so no mapping
// exists; CANNOT_VIEW: the system refused to map it.
enum class MapResult { OK, CANNOT_MAP, CANNOT_VIEW };

// Maps the whole open file read-only; the file may be closed afterwards.
MapResult map_open_file(FileHandle file, MappedFile& out);
// False (with out.error set) when the system refuses; the record is cleared either way.
bool unmap_file(MappedFile& file);
