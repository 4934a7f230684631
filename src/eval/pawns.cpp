#include "eval/pawns.h"

#include <cstring>

#include "eval/masks.h"

PawnCacheEntry pawn_cache[PAWN_CACHE_SIZE];

namespace {

constexpr Score DOUBLED = make_score(-5, -12);
constexpr Score ISOLATED = make_score(-11, -15);
constexpr Score CONNECTED = make_score(5, 8);
constexpr Score BACKWARD = make_score(-10, -12);

// By relative rank.
constexpr Score PASSED_BONUS[8] = {make_score(0, 0),   make_score(5, 18),   make_score(12, 23),   make_score(24, 31),
                                   make_score(46, 54), make_score(97, 111), make_score(173, 182), make_score(0, 0)};
constexpr Score CANDIDATE_BONUS[8] = {make_score(0, 0),   make_score(3, 8),   make_score(5, 10), make_score(10, 15),
                                      make_score(20, 28), make_score(40, 55), make_score(0, 0),  make_score(0, 0)};

Score colour_structure(Bitboard own, Bitboard enemy, int c) {
    const Bitboard enemy_covers = pawn_attack_set(enemy, c ^ 1);
    Score s = 0;
    for (Bitboard b = own; b;) {
        const int sq = pop_lsb(b);
        const int f = file_of(sq), r = relative_rank(c, sq);
        const Bitboard neighbours = own & ADJACENT_FILES[f];
        const Bitboard behind_adjacent = ADJACENT_AHEAD[c ^ 1][sq];

        if (own & file_bb(f) & ~square_bb(sq)) s += DOUBLED;
        if (!neighbours) s += ISOLATED;

        Bitboard row = rank_bb(rank_of(sq));
        if (neighbours & (row | shift_up(row, c ^ 1))) s += CONNECTED;

        if (!(enemy & (FORWARD_FILE[c][sq] | ADJACENT_AHEAD[c][sq]))) {
            s += PASSED_BONUS[r];
        } else if (!(enemy & FORWARD_FILE[c][sq])) {
            int supporters = popcount(own & behind_adjacent);
            if (popcount(enemy & ADJACENT_AHEAD[c][sq]) <= supporters) s += CANDIDATE_BONUS[r];
        }

        // shift_up drops a square pushed off the board, so a pawn on its last rank has no front.
        if (!(own & behind_adjacent) && (shift_up(square_bb(sq), c) & enemy_covers)) s += BACKWARD;
    }
    return s;
}

}  // namespace

Score pawn_structure(const Position& pos) {
    const Bitboard white = pos.piece_bb[W_PAWN], black = pos.piece_bb[B_PAWN];
    return colour_structure(white, black, WHITE) - colour_structure(black, white, BLACK);
}

Score eval_pawns(const Position& pos) {
    PawnCacheEntry& e = pawn_cache[pos.pawn_hash % PAWN_CACHE_SIZE];
    if (e.key == pos.pawn_hash) return e.score;
    e.key = pos.pawn_hash;
    e.score = pawn_structure(pos);
    return e.score;
}

// cppcheck-suppress unusedFunction ; test seam (pawns.h)
void clear_pawn_cache() { std::memset(pawn_cache, 0, sizeof(pawn_cache)); }
