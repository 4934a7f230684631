#include "board/makemove.h"

int castling_mask[64];

void init_castling_mask() {
    for (int& m : castling_mask) m = ALL_CASTLING;
    castling_mask[A1] = 13;
    castling_mask[E1] = 12;
    castling_mask[H1] = 14;
    castling_mask[A8] = 7;
    castling_mask[E8] = 3;
    castling_mask[H8] = 11;
}

void make_null_move(Position& pos) {
    using namespace move_detail;
    assert(pos.history_len < MAX_HISTORY);
    push_undo(pos);
    pos.hash ^= zobrist_side;
    pos.side ^= 1;
    pos.halfmove_clock++;
    pos.history_len++;
}

void unmake_null_move(Position& pos) {
    assert(pos.history_len > 0);
    pos.side ^= 1;
    const UndoRecord& undo = pos.history[--pos.history_len];
    pos.ep_square = undo.ep_square;
    pos.castling = undo.castling;
    pos.halfmove_clock = undo.halfmove_clock;
    pos.hash = undo.hash;
    pos.pawn_hash = undo.pawn_hash;
}
