#include "board/playable.h"

#include "board/movegen.h"

bool position_is_playable(const Position& pos) {
    if (popcount(pieces(pos, WHITE, KING)) != 1 || popcount(pieces(pos, BLACK, KING)) != 1) return false;
    if ((pieces(pos, WHITE, PAWN) | pieces(pos, BLACK, PAWN)) & (RANK_1_BB | RANK_8_BB)) return false;
    const int waiting = pos.side ^ 1;
    return !is_square_attacked(king_square(pos, waiting), pos.side, pos.occupied, pos);
}
