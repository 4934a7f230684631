#include "tablebase/material_key.h"

#include "tablebase/entry.h"

const uint64_t tb_key_weight[2][7] = {
    {0, 0xec0ade190c0f6003ULL, 0xd2fb81862830191fULL, 0xaadc1a2be446234dULL, 0x985deb9fc49333f9ULL,
     0xa3ec1abc71e90863ULL, 0},
    {0, 0xa24f0f571bb202e7ULL, 0xbaeb854cd3259441ULL, 0xd5a4c95928f2fbe3ULL, 0xfd7866b439b94495ULL,
     0xd6e4e47d24962951ULL, 0},
};

uint64_t tb_key_from_counts(const int counts[2][7], bool swapped) {
    uint64_t key = 0;
    for (int color = 0; color < 2; color++)
        for (int kind = TB_PAWN; kind <= TB_KING; kind++)
            key += uint64_t(counts[color][kind]) * tb_key_weight[color ^ int(swapped)][kind];
    return key;
}

uint64_t tb_material_key(const TbPosition& pos, bool mirror) {
    uint64_t key = 0;
    for (int kind = TB_PAWN; kind <= TB_QUEEN; kind++) {
        key += uint64_t(std::popcount(tb_pieces(pos, true, kind))) * tb_key_weight[mirror ? 1 : 0][kind];
        key += uint64_t(std::popcount(tb_pieces(pos, false, kind))) * tb_key_weight[mirror ? 0 : 1][kind];
    }
    return key;
}
