// Pseudo-legal move generation in a fixed order (perft divide, duplicate
// indices and move ordering depend on it), and the legality test.
#pragma once

#include "board/attacks.h"
#include "board/makemove.h"
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

// Pieces of colour `by` that attack the square, sliders seen over `occ`: with
// White's rook on e1 and nothing between, attackers_to(E8, WHITE, ...) holds e1.
inline Bitboard attackers_to(int sq, int by, Bitboard occ, const Position& pos) {
    const Bitboard* p = pieces_of(pos, by);
    return (pawn_attacks[by ^ 1][sq] & p[PAWN]) | (knight_attacks[sq] & p[KNIGHT]) | (king_attacks[sq] & p[KING]) |
           (bishop_attacks(sq, occ) & (p[BISHOP] | p[QUEEN])) | (rook_attacks(sq, occ) & (p[ROOK] | p[QUEEN]));
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

// The same answer without playing the move: the occupancy and the mover's
// king are changed as make_move would change them, the piece it takes is
// left out of the attackers, and the king is tested against the rest.
inline bool king_safe_after(const Position& pos, Move m) {
    const int us = pos.side, them = us ^ 1;
    const int from = move_from(m), to = move_to(m), kind = move_kind(m);
    const Bitboard from_to = square_bb(from) | square_bb(to);
    Bitboard occ = pos.occupied ^ from_to, taken = 0;
    if (kind == EN_PASSANT) {
        taken = square_bb(us == WHITE ? to - 8 : to + 8);
        occ ^= taken;
    } else if (is_capture(m)) {
        taken = square_bb(to);
        occ ^= taken;
    } else if (kind == KING_CASTLE || kind == QUEEN_CASTLE) {
        int rook_from, rook_to;
        move_detail::castling_rook_squares(us, kind, rook_from, rook_to);
        occ ^= square_bb(rook_from) | square_bb(rook_to);
    }
    Bitboard king = pos.piece_bb[make_piece(us, KING)];
    if (pos.board[from] == make_piece(us, KING)) king ^= is_promotion(m) ? square_bb(from) : from_to;
    if (!king) return false;
    return !(attackers_to(lsb(king), them, occ, pos) & ~taken);
}

// What settles most moves' legality before they are played. Out of check, a
// move can leave its own king attacked only when it starts on the king's
// square or on one of the own pieces pinned to it by an enemy slider, or
// takes en passant: any other move only blocks or captures. In check, such
// other moves are legal exactly when they take the one checker or step
// between it and the king.
struct LegalityMasks {
    Bitboard exposing;      // the king's square and the pinned pieces; every square without exactly one own king
    Bitboard safe_targets;  // every square out of check; the checker and the squares up to the king; none in double check
};

// checked: the side to move's king is attacked (in_check).
inline LegalityMasks legality_masks(const Position& pos, bool checked) {
    const int us = pos.side, them = us ^ 1;
    const Bitboard king = pos.piece_bb[make_piece(us, KING)];
    if (!king || (king & (king - 1))) return {~Bitboard(0), ~Bitboard(0)};
    const int k = lsb(king);
    const Bitboard occ = pos.occupied, own = pos.color_bb[us];
    const Bitboard* p = pieces_of(pos, them);
    const Bitboard diagonal_sliders = p[BISHOP] | p[QUEEN], straight_sliders = p[ROOK] | p[QUEEN];
    LegalityMasks masks{king, ~Bitboard(0)};
    // A slider that sees the king once the king's nearest own pieces are lifted pins one of them.
    // (A checker counts itself in, which at worst marks a piece that is not pinned: that only means a test.)
    Bitboard diagonal = 0, straight = 0;
    if (diagonal_sliders) {
        diagonal = bishop_attacks(k, occ);
        const Bitboard blockers = diagonal & own;
        for (Bitboard pinners = bishop_attacks(k, occ ^ blockers) & diagonal_sliders; pinners;)
            masks.exposing |= bishop_attacks(pop_lsb(pinners), occ) & blockers;
    }
    if (straight_sliders) {
        straight = rook_attacks(k, occ);
        const Bitboard blockers = straight & own;
        for (Bitboard pinners = rook_attacks(k, occ ^ blockers) & straight_sliders; pinners;)
            masks.exposing |= rook_attacks(pop_lsb(pinners), occ) & blockers;
    }
    if (checked) {
        const Bitboard checkers = attackers_to(k, them, occ, pos);
        if (checkers & (checkers - 1)) {
            masks.safe_targets = 0;
        } else {
            // The squares both the king and a sliding checker see lie on the line between them.
            const int c = lsb(checkers);
            const Bitboard between = (diagonal & checkers)   ? diagonal & bishop_attacks(c, occ)
                                     : (straight & checkers) ? straight & rook_attacks(c, occ)
                                                             : 0;
            masks.safe_targets = checkers | between;
        }
    }
    return masks;
}

// True when the masks settle the move's legality without playing it: any
// move but the king's, a pinned piece's and an en-passant capture.
inline bool legality_settled(Move m, const LegalityMasks& masks) {
    return !(masks.exposing & square_bb(move_from(m))) && move_kind(m) != EN_PASSANT;
}

// The legality test for a move just made, cut short where the masks of the position before it settle it.
inline bool made_move_legal(const Position& pos, Move m, const LegalityMasks& masks) {
    return legality_settled(m, masks) ? (masks.safe_targets & square_bb(move_to(m))) != 0 : mover_king_safe(pos);
}

// move_is_legal without playing the move.
inline bool move_is_legal(const Position& pos, Move m, const LegalityMasks& masks) {
    return legality_settled(m, masks) ? (masks.safe_targets & square_bb(move_to(m))) != 0 : king_safe_after(pos, m);
}
