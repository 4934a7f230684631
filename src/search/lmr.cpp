#include <cmath>

#include "search/search.h"

int32_t lmr_table[128][256];

void init_lmr_table() {
    double ln[256];
    for (int i = 1; i < 256; ++i) ln[i] = std::log(double(i));
    for (int d = 1; d < 128; ++d)
        for (int m = 1; m < 256; ++m) lmr_table[d][m] = int32_t(ln[d] * ln[m] / 2.25 + 0.75);
}
