#include "tablebase/table_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tablebase/decompress.h"

namespace {

constexpr int PATH_BUFFER = 4096;
constexpr int MESSAGE_BUFFER = 512;
constexpr int NAME_BUFFER = 260;

void unmap_kind(TbEntry& entry, int kind) {
    MappedFile view;
    view.data = entry.data[kind];
    view.size = entry.mapping[kind];
    if (view.data && !unmap_file(view)) std::fprintf(stderr, "unmap failed, error code %lu\n", (unsigned long)view.error);
    entry.data[kind] = nullptr;
    entry.mapping[kind] = 0;
}

}  // namespace

std::vector<std::string> tb_paths;

void tb_table_name(const TbPosition& pos, bool mirror, char* out) {
    static constexpr char LETTER[7] = {0, 'P', 'N', 'B', 'R', 'Q', 'K'};
    int n = 0;
    for (int side = 0; side < 2; side++) {
        bool white = (side == 0) != mirror;
        if (side == 1 && n < 15) out[n++] = 'v';
        for (int kind = TB_KING; kind >= TB_PAWN; kind--)
            for (int c = std::popcount(tb_pieces(pos, white, kind)); c > 0 && n < 15; c--) out[n++] = LETTER[kind];
    }
    out[n] = '\0';
}

bool tb_all_paired(const char* directory, const char* extension, char partner, char* message) {
    for (const std::string& found : list_directory(directory, extension)) {
        char path[PATH_BUFFER];
        std::snprintf(path, sizeof path, "%s/%s", directory, found.c_str());
        if (is_directory(path) || found.size() < 6) continue;
        char changed[NAME_BUFFER];
        std::snprintf(changed, sizeof changed, "%s", found.c_str());
        changed[std::strlen(changed) - 1] = partner;
        std::snprintf(path, sizeof path, "%s/%s", directory, changed);
        if (!is_regular_file(path)) {
            std::snprintf(message, MESSAGE_BUFFER, "%s (missing %s)", found.c_str(), changed);
            return false;
        }
    }
    return true;
}

FileHandle tb_open_file(const char* name, const char* extension) {
    for (const std::string& dir : tb_paths) {
        std::string path = dir + "/" + name + extension;
        FileHandle file = open_file(path.c_str());
        if (file != NO_FILE) return file;
    }
    return NO_FILE;
}

bool tb_file_complete(const char* name, const char* extension) {
    FileHandle file = tb_open_file(name, extension);
    if (file == NO_FILE) return false;
    int64_t size = file_size(file);
    close_file(file);
    if (size >= 0 && size % 64 == 16) return true;
    std::fprintf(stderr, "Incomplete tablebase file %s.%s\n", name, extension + 1);
    std::printf("info string Incomplete tablebase file %s.%s\n", name, extension + 1);
    return false;
}

bool tb_map_table(TbEntry& entry, const char* name, int kind) {
    const char* extension = TB_EXTENSION[kind];
    FileHandle file = tb_open_file(name, extension);
    if (file == NO_FILE) return false;

    MappedFile view;
    MapResult result = map_open_file(file, view);
    if (result != MapResult::OK) {
        std::fprintf(stderr, result == MapResult::CANNOT_MAP ? "CreateFileMapping() failed, error = %lu.\n"
                                                               : "MapViewOfFile() failed, error = %lu.\n",
                     (unsigned long)view.error);
        std::fprintf(stderr, "Could not map %s%s into memory.\n", name, extension);
        std::exit(1);
    }
    close_file(file);

    entry.mapping[kind] = view.size;
    if (!tb_parse_table(entry, kind, view.data, view.size)) {
        std::fprintf(stderr, "Corrupted table.\n");
        tb_free_codebooks(entry, kind);
        entry.data[kind] = view.data;
        unmap_kind(entry, kind);
        return false;
    }
    entry.data[kind] = view.data;
    return true;
}

void tb_release_entry(TbEntry& entry) {
    for (int kind = 0; kind < 3; kind++) {
        if (!entry.ready[kind]) continue;
        unmap_kind(entry, kind);
        tb_free_codebooks(entry, kind);
        entry.ready[kind] = 0;
    }
}
