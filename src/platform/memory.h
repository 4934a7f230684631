// Large zero-filled memory blocks for big tables, backed by huge pages where
// the system offers them (fewer TLB misses on random access).
#pragma once

#include <cstddef>

// A zero-filled block of `bytes`, or nullptr; small pages are committed on first touch.
void* allocate_large_zeroed(size_t bytes);
// Releases a block from allocate_large_zeroed (nullptr is ignored).
void free_large(void* block, size_t bytes);
