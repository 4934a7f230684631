#include <sys/mman.h>

#include <cstdint>

#include "platform/memory.h"

namespace {
constexpr size_t HUGE_PAGE = size_t(2) << 20;
}

void* allocate_large_zeroed(size_t bytes) {
    if (bytes == 0) return nullptr;
    // Over-allocate so the block can start on a huge-page boundary, then trim.
    const size_t span = bytes + HUGE_PAGE;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + HUGE_PAGE - 1) & ~uintptr_t(HUGE_PAGE - 1);
    const size_t head = aligned - start;
    const size_t tail = span - head - bytes;
    if (head) munmap(raw, head);
    if (tail) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
    return block;
}

void free_large(void* block, size_t bytes) {
    if (block) munmap(block, bytes);
}
