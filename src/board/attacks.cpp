#include "board/attacks.h"

#include <cstddef>

#include "board/magic_search.h"

Bitboard pawn_attacks[2][64];
Bitboard knight_attacks[64];
Bitboard king_attacks[64];
MagicEntry bishop_magics[64];
MagicEntry rook_magics[64];
Bitboard bishop_table[32768];
Bitboard rook_table[262144];

namespace {

// Square reached by a (file, rank) step, or -1 when it leaves the board.
int step(int sq, int df, int dr) {
    int f = file_of(sq) + df, r = rank_of(sq) + dr;
    return (f < 0 || f > 7 || r < 0 || r > 7) ? -1 : make_square(f, r);
}

Bitboard leaper_attacks(int sq, const int (*deltas)[2], int count) {
    Bitboard b = 0;
    for (int i = 0; i < count; ++i) {
        int to = step(sq, deltas[i][0], deltas[i][1]);
        if (to >= 0) b |= square_bb(to);
    }
    return b;
}

// A direction as a shift of the whole board, with the squares kept after it:
// a step sideways must not wrap around to the other side.
struct RayStep {
    int shift;
    Bitboard keep;
};

constexpr RayStep BISHOP_STEPS[4] = {{9, ~FILE_A_BB}, {7, ~FILE_H_BB}, {-7, ~FILE_A_BB}, {-9, ~FILE_H_BB}};
constexpr RayStep ROOK_STEPS[4] = {{8, ~0ULL}, {-8, ~0ULL}, {1, ~FILE_A_BB}, {-1, ~FILE_H_BB}};

Bitboard ray_attacks(int sq, Bitboard occ, const RayStep* steps) {
    Bitboard b = 0;
    for (int d = 0; d < 4; ++d) {
        const RayStep dir = steps[d];
        Bitboard s = square_bb(sq);
        while ((s = (dir.shift > 0 ? s << dir.shift : s >> -dir.shift) & dir.keep) != 0) {
            b |= s;
            if (occ & s) break;
        }
    }
    return b;
}

Bitboard bishop_mask(int sq) {
    Bitboard rim = FILE_A_BB | FILE_H_BB | RANK_1_BB | RANK_8_BB;
    return bishop_attacks_slow(sq, 0) & ~rim;
}

Bitboard rook_mask(int sq) {
    Bitboard ranks = rank_bb(rank_of(sq)) & ~(FILE_A_BB | FILE_H_BB);
    Bitboard files = file_bb(file_of(sq)) & ~(RANK_1_BB | RANK_8_BB);
    return (ranks | files) & ~square_bb(sq);
}

void init_slider(MagicEntry* entries, Bitboard*& next_slice, Bitboard (*mask_fn)(int), AttackFn attack_fn) {
    for (int sq = 0; sq < 64; ++sq) {
        MagicEntry& e = entries[sq];
        e.mask = mask_fn(sq);
        int n = popcount(e.mask);
        e.shift = 64 - n;
        e.attacks = next_slice;
        next_slice += std::size_t(1) << n;
        e.magic = find_magic(sq, e.mask, n, attack_fn, nullptr, e.attacks);
    }
}

}  // namespace

Bitboard bishop_attacks_slow(int sq, Bitboard occ) { return ray_attacks(sq, occ, BISHOP_STEPS); }
Bitboard rook_attacks_slow(int sq, Bitboard occ) { return ray_attacks(sq, occ, ROOK_STEPS); }

void init_attack_tables() {
    static constexpr int KNIGHT_DELTAS[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    static constexpr int KING_DELTAS[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    static constexpr int WHITE_PAWN_DELTAS[2][2] = {{-1, 1}, {1, 1}};
    static constexpr int BLACK_PAWN_DELTAS[2][2] = {{-1, -1}, {1, -1}};
    for (int sq = 0; sq < 64; ++sq) {
        pawn_attacks[WHITE][sq] = leaper_attacks(sq, WHITE_PAWN_DELTAS, 2);
        pawn_attacks[BLACK][sq] = leaper_attacks(sq, BLACK_PAWN_DELTAS, 2);
    }
    for (int sq = 0; sq < 64; ++sq) knight_attacks[sq] = leaper_attacks(sq, KNIGHT_DELTAS, 8);
    for (int sq = 0; sq < 64; ++sq) king_attacks[sq] = leaper_attacks(sq, KING_DELTAS, 8);

    Bitboard* next_bishop = bishop_table;
    init_slider(bishop_magics, next_bishop, bishop_mask, bishop_attacks_slow);
    Bitboard* next_rook = rook_table;
    init_slider(rook_magics, next_rook, rook_mask, rook_attacks_slow);
}
