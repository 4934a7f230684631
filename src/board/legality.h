// Whether a pseudo-legal move leaves its own king attacked. Each name says
// when it asks: legal_after_make of the position make_move has left,
// legal_before_make of the position the move is about to be played from.
#pragma once

#include "board/lines.h"
#include "board/makemove.h"
#include "board/movegen.h"

// After make_move: the side that just moved still has a king, and it is not
// attacked. The rule itself; the tests hold every shortcut below to it.
inline bool legal_after_make(const Position& pos) {
    const int mover = pos.side ^ 1;
    const Bitboard king = pos.piece_bb[make_piece(mover, KING)];
    return king && !is_square_attacked(lsb(king), pos.side, pos.occupied, pos);
}

// Before make_move, the same answer: the king (moved, if the move is its own)
// tested against the enemy pieces but the one taken, over the occupancy
// with the piece gone from its square, something on the target and the taken
// piece gone. Castling's rook can be left where it stands: it lands between
// the king's two squares, where it could only shield the king from a slider
// that would have attacked the king's starting square, which castling needs
// safe; and the corner it leaves has nothing behind it.
inline bool legal_before_make(const Position& pos, Move m) {
    assert(moves_own_piece(pos, m));
    const int us = pos.side, to = move_to(m);
    const Bitboard from_bb = square_bb(move_from(m)), to_bb = square_bb(to);
    Bitboard king = pos.piece_bb[make_piece(us, KING)];
    if (king & from_bb) king ^= from_bb | to_bb;
    if (!king) return false;
    const Bitboard taken =
        move_kind(m) == EN_PASSANT ? square_bb(en_passant_victim(us, to)) : is_capture(m) ? to_bb : 0;
    const Bitboard occ = (pos.occupied ^ from_bb ^ taken) | to_bb;
    return !(attackers_to(lsb(king), us ^ 1, occ, pos) & ~taken);
}

// What settles most moves' legality before they are played, worked out once
// per position. With exactly one king, a move can leave it attacked only
// when it is the king's own, a pinned piece's or en passant: any other move
// only blocks or captures. Out of check those others are legal; in check,
// exactly when they take the one checker or step between it and the king.
// A pinned piece must in addition stay on the line through it and the king.
struct LegalityMasks {
    Bitboard exposing;      // the king's square and the pinned pieces; every square without exactly one king
    Bitboard safe_targets;  // every square out of check; the checker and the squares up to the king; none in double check
    int king;               // the king's square; NO_SQUARE without exactly one king
};

// checked: the side to move's king is attacked (in_check).
inline LegalityMasks legality_masks(const Position& pos, bool checked) {
    const int us = pos.side, them = us ^ 1;
    const Bitboard king = pos.piece_bb[make_piece(us, KING)];
    if (!king || (king & (king - 1))) return {~Bitboard(0), ~Bitboard(0), NO_SQUARE};
    const int k = lsb(king);
    const Bitboard occ = pos.occupied, own = pos.color_bb[us];
    const Bitboard* p = pieces_of(pos, them);
    const Bitboard diagonal_sliders = p[BISHOP] | p[QUEEN], straight_sliders = p[ROOK] | p[QUEEN];
    // The sliders that see the king once its nearest own pieces are lifted pin
    // the piece between (a checker has none between).
    Bitboard pinners = 0;
    if (diagonal_sliders) pinners |= bishop_attacks(k, occ ^ (bishop_attacks(k, occ) & own)) & diagonal_sliders;
    if (straight_sliders) pinners |= rook_attacks(k, occ ^ (rook_attacks(k, occ) & own)) & straight_sliders;
    LegalityMasks masks{king, ~Bitboard(0), k};
    while (pinners) masks.exposing |= BETWEEN[k][pop_lsb(pinners)] & own;
    if (checked) {
        const Bitboard checkers = attackers_to(k, them, occ, pos);
        assert(checkers);
        masks.safe_targets = (checkers & (checkers - 1)) ? 0 : checkers | BETWEEN[k][lsb(checkers)];
    }
    return masks;
}

// legal_before_make with the masks of the position: every move but the
// king's own and en passant is settled by its two squares, unless the side
// has no king or several.
inline bool legal_before_make(const Position& pos, Move m, const LegalityMasks& masks) {
    const int from = move_from(m);
    const Bitboard to_bb = square_bb(move_to(m));
    const bool en_passant = move_kind(m) == EN_PASSANT;
    if (!(masks.exposing & square_bb(from)) && !en_passant) return (masks.safe_targets & to_bb) != 0;
    if (from != masks.king && masks.king != NO_SQUARE && !en_passant)  // a pinned piece
        return (masks.safe_targets & LINE_THROUGH[masks.king][from] & to_bb) != 0;
    return legal_before_make(pos, m);
}

// The legal moves in generation order: the root search's, the position
// command's, the opening book's and the tablebase root probe's list.
void generate_legal_moves(const Position& pos, MoveList& list);
