#include "search/tt.h"

#include <cstdlib>
#include <cstring>

TTEntry* tt_table = nullptr;
uint64_t tt_count = 0;
uint8_t tt_generation = 0;

void tt_free() {
    std::free(tt_table);
    tt_table = nullptr;
    tt_count = 0;
}

void tt_resize(int megabytes) {
    tt_free();
    uint64_t bytes = uint64_t(megabytes < 0 ? 0 : megabytes) << 20;
    uint64_t count = 1;
    if (bytes >= 32)
        while (count * 32 <= bytes) count *= 2;
    // calloc of a large block maps fresh zero pages, so start-up does not touch the memory.
    tt_table = static_cast<TTEntry*>(std::calloc(count, sizeof(TTEntry)));
    tt_count = tt_table ? count : 0;
}

void tt_clear() {
    if (tt_table) std::memset(static_cast<void*>(tt_table), 0, tt_count * sizeof(TTEntry));
    tt_generation = 0;
}
