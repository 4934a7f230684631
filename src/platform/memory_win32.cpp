#include <windows.h>

#include "platform/memory.h"

size_t huge_page_size() { return size_t(2) << 20; }

void* allocate_large_zeroed(size_t bytes) {
    if (bytes == 0) return nullptr;
    // Large pages succeed only when the process already holds the right to lock
    // pages in memory; any refusal falls back to ordinary pages.
    static const size_t large_page = GetLargePageMinimum();
    static bool large_pages_refused = large_page == 0;
    if (!large_pages_refused) {
        const size_t rounded = (bytes + large_page - 1) / large_page * large_page;
        void* block = VirtualAlloc(nullptr, rounded, MEM_RESERVE | MEM_COMMIT | MEM_LARGE_PAGES, PAGE_READWRITE);
        if (block) return block;
        large_pages_refused = true;
    }
    // Committed ordinary pages are still zero-filled one at a time on first touch.
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

// Rewriting a byte of every page with its own value makes the page resident
// and keeps the contents. Large pages are resident from the start.
void commit_large(void* part, size_t bytes) {
    constexpr size_t SMALL_PAGE = 4096;
    volatile char* bytes_of_part = static_cast<volatile char*>(part);
    for (size_t i = 0; i < bytes; i += SMALL_PAGE) bytes_of_part[i] = bytes_of_part[i];
}

void free_large(void* block, size_t) {
    if (block) VirtualFree(block, 0, MEM_RELEASE);
}
