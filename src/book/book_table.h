// The loaded book as it sits in memory, shared by the loader and the prober.
#pragma once

#include <cstdint>
#include <memory>

// One book move; the file's learn field is not kept.
struct BookEntry {
    uint64_t key;
    uint16_t move;  // Polyglot move bits, not an engine Move
    uint16_t weight;
};

// Entries in file order (sorted by key in any well-formed book).
extern std::unique_ptr<BookEntry[]> book_entries;
extern int32_t book_count;
