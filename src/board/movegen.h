// Pseudo-legal move generation in a fixed order (perft divide, duplicate
// indices and move ordering depend on it), and the legality test.
#pragma once

#include "board/attacks.h"
#include "board/move.h"
#include "board/position.h"

// Each generator writes into a caller's array of MAX_MOVES moves, never past
// it, and returns the position just past the last move written.
Move* generate_pawn_moves(const Position& pos, Move* out, bool captures_only);
Move* generate_piece_moves(const Position& pos, Move* out, int type, Bitboard target);
Move* generate_castling_moves(const Position& pos, Move* out);
Move* generate_moves(const Position& pos, Move* out);
// Captures, en passant and every promotion: the quiescence search's moves.
Move* generate_captures(const Position& pos, Move* out);
// Everything else, in the same order: non-promoting pushes, piece moves to
// empty squares, castling. Captures plus quiets = generate_moves as a set.
Move* generate_quiets(const Position& pos, Move* out);
void generate_legal_moves(Position& pos, MoveList& list);

// True when a piece of colour `by` attacks the square, sliders seen over `occ`.
inline bool is_square_attacked(int sq, int by, Bitboard occ, const Position& pos) {
    const Bitboard* p = pos.piece_bb + 6 * by;
    return (pawn_attacks[by ^ 1][sq] & p[PAWN]) || (knight_attacks[sq] & p[KNIGHT]) ||
           (king_attacks[sq] & p[KING]) || (bishop_attacks(sq, occ) & (p[BISHOP] | p[QUEEN])) ||
           (rook_attacks(sq, occ) & (p[ROOK] | p[QUEEN]));
}

// After a move: the side that just moved still has a king and it is not attacked.
inline bool mover_king_safe(const Position& pos) {
    int mover = pos.side ^ 1;
    Bitboard king = pos.piece_bb[make_piece(mover, KING)];
    return king && !is_square_attacked(lsb(king), pos.side, pos.occupied, pos);
}

// Makes the move, tests the mover's king, and takes the move back.
bool move_is_legal(Position& pos, Move m);

// True when the side to move's king is attacked (false without a king).
inline bool in_check(const Position& pos) {
    Bitboard king = pos.piece_bb[make_piece(pos.side, KING)];
    return king && is_square_attacked(lsb(king), pos.side ^ 1, pos.occupied, pos);
}
