// Large zero-filled memory blocks for big tables. A block starts out in small
// pages committed on first touch (so that no single first touch stalls for
// long) unless it is resident in large pages from the start; commit_large
// then makes it resident ahead of use, backed by huge pages where the system
// offers them (fewer TLB misses on random access).
#pragma once

#include <cstddef>

// The size of a huge page; committing one is one short stall. 2 MB on
// x86-64; 64-bit ARM Linux has 2, 32 or 512 MB by the kernel's page size.
size_t huge_page_size();

// A zero-filled block of `bytes`, or nullptr.
void* allocate_large_zeroed(size_t bytes);
// Commits [part, part + bytes) of a block, keeping what it holds; `part` lies
// a whole number of huge pages into the block.
void commit_large(void* part, size_t bytes);
// Releases a block from allocate_large_zeroed (nullptr is ignored).
void free_large(void* block, size_t bytes);
