// Zobrist keys, drawn once at start-up from a fixed-seed xorshift generator,
// so the same build always prints the same hashes.
#pragma once

#include <cstdint>

extern uint64_t zobrist_piece[12][64];
extern uint64_t zobrist_castling[16];  // one key per whole rights value 0..15
extern uint64_t zobrist_ep[8];         // by file of the en-passant square
extern uint64_t zobrist_side;          // black to move

void init_zobrist();
