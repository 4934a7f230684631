#include "book/book.h"
#include "book/random64.h"
#include "board/attacks.h"

namespace {

// Polyglot kind of each engine piece code: W_PAWN -> 1 (white pawn), B_PAWN -> 0.
constexpr int POLYGLOT_KIND[12] = {1, 3, 5, 7, 9, 11, 0, 2, 4, 6, 8, 10};

}  // namespace

uint64_t polyglot_key(const Position& pos) {
    uint64_t key = 0;
    for (int piece = W_PAWN; piece <= B_KING; ++piece) {
        const int kind_offset = 64 * POLYGLOT_KIND[piece];
        for (Bitboard b = pos.piece_bb[piece]; b;) key ^= polyglot_random64[kind_offset + pop_lsb(b)];
    }

    for (int right = 0; right < 4; ++right)
        if (pos.castling & (1 << right)) key ^= polyglot_random64[POLYGLOT_CASTLING_OFFSET + right];

    // The en-passant file only counts when a pawn of the side to move could
    // take there; the squares a pawn of the other colour attacks from ep are
    // exactly where such a pawn would stand.
    int ep = pos.ep_square;
    if (ep >= 0 && ep < 64 && (pawn_attacks[pos.side ^ 1][ep] & pieces(pos, pos.side, PAWN)))
        key ^= polyglot_random64[POLYGLOT_EP_OFFSET + file_of(ep)];

    if (pos.side == WHITE) key ^= polyglot_random64[POLYGLOT_TURN_OFFSET];
    return key;
}
