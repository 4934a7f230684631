// Pseudo-legal move generation in a fixed order (perft divide, duplicate
// indices and move ordering depend on it), and the legality test.
#pragma once

#include "board/attacks.h"
#include "board/move.h"
#include "board/position.h"

// Bounded writer over a caller's array: a FEN full of extra queens can exceed
// MAX_MOVES, and the surplus is dropped rather than written past the array.
struct MoveSink {
    Move* cur;
    const Move* end;
    void add(int from, int to, int kind) {
        if (cur < end) *cur++ = make_move_value(from, to, kind);
    }
    void add_promotions(int from, int to, int base_kind) {
        for (int k = 3; k >= 0; --k) add(from, to, base_kind + k);  // queen, rook, bishop, knight
    }
};

// The side to move's moves of one kind, appended to the sink. generate_moves
// is these in order: pawns, each piece type from knight to king, castling.
void generate_pawn_moves(const Position& pos, MoveSink& sink, bool captures_only);
// Pieces of one type (KNIGHT..KING) moving to a square of target.
void generate_piece_moves(const Position& pos, MoveSink& sink, int type, Bitboard target);
void generate_castling_moves(const Position& pos, MoveSink& sink);

// Each list generator writes into a caller's array of MAX_MOVES moves, never
// past it, and returns the position just past the last move written.
Move* generate_moves(const Position& pos, Move* out);
// Captures, en passant and every promotion: the quiescence search's moves.
Move* generate_captures(const Position& pos, Move* out);
// Everything else, in the same order: non-promoting pushes, piece moves to
// empty squares, castling. Captures plus quiets = generate_moves as a set.
Move* generate_quiets(const Position& pos, Move* out);
void generate_legal_moves(Position& pos, MoveList& list);

// True when a piece of colour `by` attacks the square, sliders seen over `occ`.
inline bool is_square_attacked(int sq, int by, Bitboard occ, const Position& pos) {
    const Bitboard* p = pieces_of(pos, by);
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

// True when the side to move's king is attacked (false without a king).
inline bool in_check(const Position& pos) {
    Bitboard king = pos.piece_bb[make_piece(pos.side, KING)];
    return king && is_square_attacked(lsb(king), pos.side ^ 1, pos.occupied, pos);
}

// Makes the move, tests the mover's king, and takes the move back.
bool move_is_legal(Position& pos, Move m);

// Squares from which a move may leave the side to move's king attacked: the
// king's own square and the own pieces pinned to it by an enemy slider; every
// square when that king is in check or not the only one. Any other move, en
// passant aside, only blocks or captures, so it keeps an unattacked king safe.
inline Bitboard exposing_squares(const Position& pos, bool checked) {
    const int us = pos.side, them = us ^ 1;
    const Bitboard king = pos.piece_bb[make_piece(us, KING)];
    if (checked || !king || (king & (king - 1))) return ~Bitboard(0);
    const int k = lsb(king);
    const Bitboard occ = pos.occupied, own = pos.color_bb[us];
    const Bitboard* p = pieces_of(pos, them);
    Bitboard exposing = king;
    // A slider that sees the king once the king's nearest own pieces are lifted pins one of them.
    if (Bitboard diagonal = p[BISHOP] | p[QUEEN]) {
        const Bitboard blockers = bishop_attacks(k, occ) & own;
        for (Bitboard pinners = bishop_attacks(k, occ ^ blockers) & diagonal; pinners;)
            exposing |= bishop_attacks(pop_lsb(pinners), occ) & blockers;
    }
    if (Bitboard straight = p[ROOK] | p[QUEEN]) {
        const Bitboard blockers = rook_attacks(k, occ) & own;
        for (Bitboard pinners = rook_attacks(k, occ ^ blockers) & straight; pinners;)
            exposing |= rook_attacks(pop_lsb(pinners), occ) & blockers;
    }
    return exposing;
}

// True when the move cannot leave its own king attacked, exposing being the
// exposing_squares of the position it is played from.
inline bool cannot_expose_king(Move m, Bitboard exposing) {
    return !(exposing & square_bb(move_from(m))) && move_kind(m) != EN_PASSANT;
}

// The legality test for a move just made, cut short where the position before it settles the answer.
inline bool made_move_legal(const Position& pos, Move m, Bitboard exposing) {
    return cannot_expose_king(m, exposing) || mover_king_safe(pos);
}

// move_is_legal, playing the move only when the exposing squares leave the answer open.
inline bool move_is_legal(Position& pos, Move m, Bitboard exposing) {
    return cannot_expose_king(m, exposing) || move_is_legal(pos, m);
}
