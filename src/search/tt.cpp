#include "search/tt.h"

#include <algorithm>
#include <cstring>

#include "platform/memory.h"

TTEntry* tt_table = nullptr;
uint64_t tt_count = 0;
uint8_t tt_generation = 0;
uint32_t tt_filled[TT_FILLED_CAPACITY];
uint64_t tt_filled_count = 0;

namespace {
uint64_t committed_bytes = 0;  // of the table, from its start
}

void tt_free() {
    free_large(tt_table, tt_count * sizeof(TTEntry));
    tt_table = nullptr;
    tt_count = 0;
}

void tt_resize(int megabytes) {
    tt_free();
    uint64_t bytes = uint64_t(megabytes < 0 ? 0 : megabytes) << 20;
    uint64_t count = 1;
    if (bytes >= 32)
        while (count * 32 <= bytes) count *= 2;
    // Fresh zero pages, committed later: start-up and a Hash change stay fast.
    tt_table = static_cast<TTEntry*>(allocate_large_zeroed(count * sizeof(TTEntry)));
    tt_count = tt_table ? count : 0;
    tt_filled_count = 0;
    committed_bytes = 0;
}

bool tt_commit_step() {
    const uint64_t bytes = tt_count * sizeof(TTEntry);
    if (committed_bytes >= bytes) return false;
    const uint64_t step = std::min<uint64_t>(huge_page_size(), bytes - committed_bytes);
    commit_large(reinterpret_cast<char*>(tt_table) + committed_bytes, step);
    committed_bytes += step;
    return true;
}

void tt_commit_all() {
    while (tt_commit_step()) {
    }
}

void tt_clear() {
    if (tt_table) {
        if (tt_filled_count <= TT_FILLED_CAPACITY) {
            for (uint64_t i = 0; i < tt_filled_count; ++i) tt_table[tt_filled[i]] = TTEntry{};
        } else {
            std::memset(static_cast<void*>(tt_table), 0, tt_count * sizeof(TTEntry));
        }
    }
    tt_filled_count = 0;
    tt_generation = 0;
}
