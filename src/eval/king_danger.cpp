#include <algorithm>
#include <array>
#include <bit>

#include "board/attacks.h"
#include "eval/terms.h"

namespace {

constexpr int MAX_ATTACK_UNITS = 99;

// Danger in centipawns by attack units: slow growth up to 91 at 22 units,
// then 100 + 10 per unit, so KING_DANGER[99] = 860.
constexpr auto KING_DANGER = [] {
    constexpr int start[23] = {0, 0, 1, 2, 3, 5, 7, 10, 13, 16, 20, 24, 28, 33, 38, 44, 50, 56, 62, 68, 75, 83, 91};
    std::array<int, MAX_ATTACK_UNITS + 1> t{};
    for (int i = 0; i <= MAX_ATTACK_UNITS; ++i) t[i] = i < 23 ? start[i] : 100 + 10 * (i - 23);
    return t;
}();
static_assert(KING_DANGER[99] == 860);

// The king's file and its neighbours as bits 0 (file a) to 7 (file h).
constexpr int KING_FILES[8] = {0x03, 0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC0};

}  // namespace

int eval_king_danger(const Position& pos, const EvalAttacks& at, int color) {
    const Bitboard king = pos.piece_bb[make_piece(color, KING)];
    if (!king) return 0;
    const int ksq = lsb(king), enemy = color ^ 1;
    // Checking squares the enemy could use without being taken by a pawn.
    const Bitboard safe = ~at.pawns[color] & ~pos.color_bb[enemy];
    const Bitboard diagonal = bishop_attacks(ksq, pos.occupied) & safe;
    const Bitboard straight = rook_attacks(ksq, pos.occupied) & safe;
    const Bitboard jumps = knight_attacks[ksq] & safe;
    const Bitboard* enemy_kinds = at.by_kind[enemy];

    // Every addition of zone units is capped at 99; as all are positive, one cap at the end is the same.
    int units = std::min(at.zone_units[enemy], MAX_ATTACK_UNITS);

    // Of several queens only the one on the lowest square is asked.
    if (at.first_queen[enemy] & (diagonal | straight)) units += 6;
    if (enemy_kinds[ROOK - KNIGHT] & straight) units += 3;
    if (enemy_kinds[BISHOP - KNIGHT] & diagonal) units += 2;
    if (enemy_kinds[KNIGHT - KNIGHT] & jumps) units += 2;

    int danger = KING_DANGER[std::min(units, MAX_ATTACK_UNITS)];

    // Missing shelter on the king's file and its neighbours, one bit per file.
    const int bare = KING_FILES[file_of(ksq)] & ~at.pawn_files[color];
    const int enemy_files = at.pawn_files[enemy];
    return danger + 10 * std::popcount(unsigned(bare & enemy_files)) + 20 * std::popcount(unsigned(bare & ~enemy_files));
}

int eval_king_danger(const Position& pos, int color) {
    EvalAttacks at;
    collect_attacks(pos, at);
    return eval_king_danger(pos, at, color);
}
