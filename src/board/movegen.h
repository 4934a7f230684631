// Pseudo-legal move generation in a fixed order (perft divide, duplicate
// indices and move ordering depend on it), and the attack tests it and the
// legality tests (board/legality.h) ask.
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

// True when a piece of colour `by` attacks the square, sliders seen over `occ`.
inline bool is_square_attacked(int sq, int by, Bitboard occ, const Position& pos) {
    assert(is_square(sq) && (by == WHITE || by == BLACK));
    const Bitboard* p = pieces_of(pos, by);
    return (pawn_attacks[by ^ 1][sq] & p[PAWN]) || (knight_attacks[sq] & p[KNIGHT]) ||
           (king_attacks[sq] & p[KING]) || (bishop_attacks(sq, occ) & (p[BISHOP] | p[QUEEN])) ||
           (rook_attacks(sq, occ) & (p[ROOK] | p[QUEEN]));
}

// Pieces of colour `by` that attack the square, sliders seen over `occ`: with
// White's rook on e1 and nothing between, attackers_to(E8, WHITE, ...) holds e1.
inline Bitboard attackers_to(int sq, int by, Bitboard occ, const Position& pos) {
    assert(is_square(sq) && (by == WHITE || by == BLACK));
    const Bitboard* p = pieces_of(pos, by);
    return (pawn_attacks[by ^ 1][sq] & p[PAWN]) | (knight_attacks[sq] & p[KNIGHT]) | (king_attacks[sq] & p[KING]) |
           (bishop_attacks(sq, occ) & (p[BISHOP] | p[QUEEN])) | (rook_attacks(sq, occ) & (p[ROOK] | p[QUEEN]));
}

// True when the side to move's king is attacked (false without a king).
inline bool in_check(const Position& pos) {
    Bitboard king = pos.piece_bb[make_piece(pos.side, KING)];
    return king && is_square_attacked(lsb(king), pos.side ^ 1, pos.occupied, pos);
}
