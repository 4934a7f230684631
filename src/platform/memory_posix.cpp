#include <sys/mman.h>

#include <cstdint>
#include <cstdio>

#include "platform/memory.h"

// Linux 5.14 and 6.1 answer these; C library headers older than the kernel lack the names.
#if defined(__linux__) && !defined(MADV_POPULATE_WRITE)
#define MADV_POPULATE_WRITE 23
#endif
#if defined(__linux__) && !defined(MADV_COLLAPSE)
#define MADV_COLLAPSE 25
#endif

size_t huge_page_size() {
    static const size_t size = [] {
        constexpr size_t COMMON = size_t(2) << 20;
        size_t bytes = 0;
        if (FILE* file = std::fopen("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size", "r")) {
            if (std::fscanf(file, "%zu", &bytes) != 1) bytes = 0;
            std::fclose(file);
        }
        return bytes >= COMMON && (bytes & (bytes - 1)) == 0 ? bytes : COMMON;
    }();
    return size;
}

void* allocate_large_zeroed(size_t bytes) {
    if (bytes == 0) return nullptr;
    // Over-allocate so the block can start on a huge-page boundary, then trim.
    const size_t huge_page = huge_page_size();
    const size_t span = bytes + huge_page;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const size_t misalignment = reinterpret_cast<uintptr_t>(raw) % huge_page;
    const size_t head = misalignment ? huge_page - misalignment : 0;
    const size_t tail = span - head - bytes;
    char* const block = static_cast<char*>(raw) + head;
    if (head) munmap(raw, head);
    if (tail) munmap(block + bytes, tail);
    // Until commit_large has run, a first touch faults in one small page: a
    // huge page faulted in by a search costs milliseconds (more where a
    // virtual machine's host has to back it first), and a few of those
    // between two clock checks overrun the search's time.
#ifdef MADV_NOHUGEPAGE
    madvise(block, bytes, MADV_NOHUGEPAGE);
#endif
    return block;
}

void commit_large(void* part, size_t bytes) {
#if defined(MADV_HUGEPAGE) && defined(MADV_POPULATE_WRITE) && defined(MADV_COLLAPSE)
    madvise(part, bytes, MADV_HUGEPAGE);
    // Small pages that a search has already touched are merged, contents kept.
    if (madvise(part, bytes, MADV_COLLAPSE) == 0) return;
    // Untouched memory is faulted in as a huge page, without writing to it.
    if (madvise(part, bytes, MADV_POPULATE_WRITE) == 0) return;
    // A kernel that cannot commit ahead: stay with small pages on first touch.
    madvise(part, bytes, MADV_NOHUGEPAGE);
#else
    (void)part;
    (void)bytes;
#endif
}

void free_large(void* block, size_t bytes) {
    if (block) munmap(block, bytes);
}
