#include <algorithm>
#include <bit>

#include "board/attacks.h"
#include "eval/attack_weights.h"
#include "eval/terms.h"

namespace {

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
    if (at.first_queen[enemy] & (diagonal | straight)) units += QUEEN_CHECK_UNITS;
    if (enemy_kinds[ROOK - KNIGHT] & straight) units += ROOK_CHECK_UNITS;
    if (enemy_kinds[BISHOP - KNIGHT] & diagonal) units += BISHOP_CHECK_UNITS;
    if (enemy_kinds[KNIGHT - KNIGHT] & jumps) units += KNIGHT_CHECK_UNITS;

    const int danger = KING_DANGER[std::min(units, MAX_ATTACK_UNITS)];

    // Missing shelter on the king's file and its neighbours, one bit per file.
    const int bare = KING_FILES[file_of(ksq)] & ~at.pawn_files[color];
    const int enemy_files = at.pawn_files[enemy];
    return danger + HALF_OPEN_FILE_DANGER * std::popcount(unsigned(bare & enemy_files)) +
           OPEN_FILE_DANGER * std::popcount(unsigned(bare & ~enemy_files));
}
