#include <cmath>

#include "search/search.h"

int32_t lmr_table[128][256];

void init_lmr_table() {
    for (int d = 1; d < 128; ++d)
        for (int m = 1; m < 256; ++m) lmr_table[d][m] = int32_t(std::log(double(d)) * std::log(double(m)) / 2.25 + 0.75);
}
