#include "board/attacks.h"

#include <cstdio>
#include <utility>

Bitboard pawn_attacks[2][64];
Bitboard knight_attacks[64];
Bitboard king_attacks[64];
MagicEntry bishop_magics[64];
MagicEntry rook_magics[64];
Bitboard bishop_table[32768];
Bitboard rook_table[262144];
uint64_t magic_rng_state = 0x1234567890ABCDEFULL;

namespace {

constexpr uint64_t MAGIC_TRY_LIMIT = 100000000;

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

Bitboard ray_attacks(int sq, Bitboard occ, const int (*dirs)[2]) {
    Bitboard b = 0;
    for (int d = 0; d < 4; ++d) {
        for (int s = step(sq, dirs[d][0], dirs[d][1]); s >= 0; s = step(s, dirs[d][0], dirs[d][1])) {
            b |= square_bb(s);
            if (occ & square_bb(s)) break;
        }
    }
    return b;
}

constexpr int BISHOP_DIRS[4][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
constexpr int ROOK_DIRS[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};

uint64_t magic_random() {
    magic_rng_state ^= magic_rng_state >> 12;
    magic_rng_state ^= magic_rng_state << 25;
    magic_rng_state ^= magic_rng_state >> 27;
    return magic_rng_state * 0x2545F4914F6CDD1DULL;
}

// Occupancy subset number `index` of the mask: bit j of index picks the j-th lowest mask square.
Bitboard mask_subset(Bitboard mask, int index) {
    Bitboard occ = 0;
    for (int j = 0; mask; ++j) {
        int sq = pop_lsb(mask);
        if (index & (1 << j)) occ |= square_bb(sq);
    }
    return occ;
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
        next_slice += size_t(1) << n;
        e.magic = find_magic(sq, e.mask, n, attack_fn);
        for (int i = 0; i < (1 << n); ++i) {
            Bitboard occ = mask_subset(e.mask, i);
            e.attacks[(occ * e.magic) >> e.shift] = attack_fn(sq, occ);
        }
    }
}

}  // namespace

Bitboard bishop_attacks_slow(int sq, Bitboard occ) { return ray_attacks(sq, occ, BISHOP_DIRS); }
Bitboard rook_attacks_slow(int sq, Bitboard occ) { return ray_attacks(sq, occ, ROOK_DIRS); }

uint64_t find_magic(int sq, Bitboard mask, int n, AttackFn attack_fn, uint64_t* tries_out) {
    struct Sample {
        Bitboard occ, att;
    };
    // A slot is empty unless stamped with the current try, which spares
    // clearing the whole scratch table for every candidate.
    struct Slot {
        uint64_t stamp;
        Bitboard att;
    };
    static Sample samples[4096];
    static Slot slots[4096];
    static uint64_t current_stamp = 0;
    int size = 1 << n;
    for (int i = 0; i < size; ++i) {
        samples[i].occ = mask_subset(mask, i);
        samples[i].att = attack_fn(sq, samples[i].occ);
    }
    for (uint64_t tries = 1; tries <= MAGIC_TRY_LIMIT; ++tries) {
        uint64_t candidate = magic_random() & magic_random() & magic_random();
        if (popcount((mask * candidate) & 0xFF00000000000000ULL) < 6) continue;
        ++current_stamp;
        int failed_at = -1;
        for (int i = 0; i < size; ++i) {
            Slot& slot = slots[(samples[i].occ * candidate) >> (64 - n)];
            if (slot.stamp != current_stamp) {
                slot.stamp = current_stamp;
                slot.att = samples[i].att;
            } else if (slot.att != samples[i].att) {
                failed_at = i;
                break;
            }
        }
        if (failed_at < 0) {
            if (tries_out) *tries_out = tries;
            return candidate;
        }
        // Whether a candidate works does not depend on the order the subsets
        // are tried in, so subsets that cause collisions move forward and
        // reject later candidates sooner.
        std::swap(samples[failed_at], samples[failed_at >> 1]);
    }
    if (tries_out) *tries_out = MAGIC_TRY_LIMIT;
    std::fprintf(stderr, "FATAL: failed to find magic for sq %d\n", sq);
    return 0;
}

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
