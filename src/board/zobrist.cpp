#include "board/zobrist.h"

uint64_t zobrist_piece[12][64];
uint64_t zobrist_castling[16];
uint64_t zobrist_ep[8];
uint64_t zobrist_side;

void init_zobrist() {
    uint64_t x = 0x246C7B3A9E5F1D28ULL;
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    };
    for (auto& piece : zobrist_piece)
        for (auto& key : piece) key = next();
    for (auto& key : zobrist_castling) key = next();
    for (auto& key : zobrist_ep) key = next();
    zobrist_side = next();
}
