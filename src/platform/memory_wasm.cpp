// WebAssembly has one linear memory, which grows zero-filled and is never
// given back: there are no pages to map or unmap, and no page sizes to ask
// for. What costs is the first touch of each page, when the system backs it
// (slowly in some virtual machines: a second for 256 MB).
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/memory.h"

// The step in which the transposition table is committed while the engine waits.
size_t huge_page_size() { return size_t(2) << 20; }

// Emscripten's allocator never lowers the break (it cannot trim), so memory
// at or above the break has never been handed out and is still zero as the
// memory grew: only the part of the block below it needs clearing. A fresh
// table is then not touched before the search reaches it.
void* allocate_large_zeroed(size_t bytes) {
    if (bytes == 0) return nullptr;
    char* const untouched = static_cast<char*>(sbrk(0));
    char* const block = static_cast<char*>(std::malloc(bytes));
    if (block && block < untouched) std::memset(block, 0, std::min(bytes, size_t(untouched - block)));
    return block;
}

// A byte of each system page written back as it is: the system backs the
// pages now, while the engine waits for input, rather than at a search's
// first touch, and whatever a search stored there stays.
void commit_large(void* part, size_t bytes) {
    constexpr size_t SYSTEM_PAGE = 4096;
    volatile char* const bytes_of = static_cast<char*>(part);
    for (size_t offset = 0; offset < bytes; offset += SYSTEM_PAGE) bytes_of[offset] = bytes_of[offset];
}

void free_large(void* block, size_t bytes) {
    (void)bytes;
    std::free(block);
}
