// Helpers shared by the board tests.
#pragma once

#include <cstring>

#include "board/position.h"

// A heap-free Position set from FEN (the record is large, so tests keep it static per call site).
inline Position& position_from(const char* fen) {
    static Position pos;
    parse_fen(pos, fen);
    return pos;
}

// Field-by-field equality of everything a move may touch, history entries in use included.
inline bool same_position(const Position& a, const Position& b) {
    return std::memcmp(a.piece_bb, b.piece_bb, sizeof(a.piece_bb)) == 0 &&
           std::memcmp(a.color_bb, b.color_bb, sizeof(a.color_bb)) == 0 && a.occupied == b.occupied &&
           std::memcmp(a.board, b.board, sizeof(a.board)) == 0 && a.side == b.side &&
           a.ep_square == b.ep_square && a.castling == b.castling && a.halfmove_clock == b.halfmove_clock &&
           a.fullmove_number == b.fullmove_number && a.history_len == b.history_len && a.hash == b.hash &&
           a.pawn_hash == b.pawn_hash && a.psq_score == b.psq_score &&
           std::memcmp(a.history, b.history, sizeof(UndoRecord) * size_t(a.history_len)) == 0;
}
