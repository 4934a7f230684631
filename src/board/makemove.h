// Playing moves on the Position in place, and taking them back. make_move
// and unmake_move are inline: perft and the search call them at every node.
#pragma once

#include "board/move.h"
#include "board/position.h"
#include "board/zobrist.h"
#include "board/psq_table.h"

// Rights kept when a move starts or ends on the square: e1 12 drops both white rights.
extern int castling_mask[64];
void init_castling_mask();

void make_null_move(Position& pos);
void unmake_null_move(Position& pos);

// The precondition of make_move and of the tests of a move before it: the
// move lifts a piece of the side to move, and a capture other than en
// passant takes an enemy piece. Every generated move meets it.
inline bool moves_own_piece(const Position& pos, Move m) {
    const int piece = pos.board[move_from(m)], victim = pos.board[move_to(m)];
    const bool takes_enemy = move_kind(m) == EN_PASSANT || !is_capture(m) ||
                             (victim != NO_PIECE && color_of(victim) != pos.side);
    return piece != NO_PIECE && color_of(piece) == pos.side && takes_enemy;
}

// Square of the pawn an en-passant capture takes, behind its target from the
// mover's side: en_passant_victim(WHITE, D6) = d5.
constexpr int en_passant_victim(int us, int to) { return us == WHITE ? to - 8 : to + 8; }

namespace move_detail {

// Flips the squares of b in the piece's, its colour's and the occupancy
// bitboards. The colour is passed in by callers that know it, sparing a
// division by six in the hottest code.
inline void flip_bits(Position& pos, int piece, int color, Bitboard b) {
    pos.piece_bb[piece] ^= b;
    pos.color_bb[color] ^= b;
    pos.occupied ^= b;
}

inline bool is_pawn(int piece) { return piece == W_PAWN || piece == B_PAWN; }

// Piece key into hash, and into pawn_hash for pawns.
inline void flip_keys(Position& pos, int piece, uint64_t key) {
    pos.hash ^= key;
    if (is_pawn(piece)) pos.pawn_hash ^= key;
}

// Board-only updates, used as they are by unmake: the keys come back from the undo record.
inline void lift_piece(Position& pos, int piece, int color, int sq) {
    flip_bits(pos, piece, color, square_bb(sq));
    pos.board[sq] = NO_PIECE;
    pos.psq_score -= psq_table[piece][sq];
}

inline void restore_piece(Position& pos, int piece, int color, int sq) {
    flip_bits(pos, piece, color, square_bb(sq));
    pos.board[sq] = piece;
    pos.psq_score += psq_table[piece][sq];
}

inline void move_piece_back(Position& pos, int piece, int color, int from, int to) {
    flip_bits(pos, piece, color, square_bb(from) | square_bb(to));
    pos.board[from] = NO_PIECE;
    pos.board[to] = piece;
    pos.psq_score += psq_table[piece][to] - psq_table[piece][from];
}

// The same with the keys kept up to date, for make.
inline void remove_piece(Position& pos, int piece, int color, int sq) {
    lift_piece(pos, piece, color, sq);
    flip_keys(pos, piece, zobrist_piece[piece][sq]);
}

inline void put_piece(Position& pos, int piece, int color, int sq) {
    restore_piece(pos, piece, color, sq);
    flip_keys(pos, piece, zobrist_piece[piece][sq]);
}

inline void move_piece(Position& pos, int piece, int color, int from, int to) {
    move_piece_back(pos, piece, color, from, to);
    flip_keys(pos, piece, zobrist_piece[piece][from] ^ zobrist_piece[piece][to]);
}

// Rook squares of a castling move: king side h-file to f-file, queen side a-file to d-file.
inline void castling_rook_squares(int us, int kind, int& rook_from, int& rook_to) {
    int base = us == WHITE ? 0 : 56;
    rook_from = base + (kind == KING_CASTLE ? 7 : 0);
    rook_to = base + (kind == KING_CASTLE ? 5 : 3);
}

// The type of a piece code without a division: codes 0..5 and 6..11.
inline int piece_type(int piece) { return piece >= 6 ? piece - 6 : piece; }

// Saves the state a move changes and takes the en-passant square (and its key) away.
inline UndoRecord& push_undo(Position& pos) {
    UndoRecord& undo = pos.history[pos.history_len];
    undo.ep_square = pos.ep_square;
    undo.castling = pos.castling;
    undo.halfmove_clock = pos.halfmove_clock;
    undo.captured = NO_PIECE_TYPE;
    undo.hash = pos.hash;
    undo.pawn_hash = pos.pawn_hash;
    if (pos.ep_square != NO_SQUARE) {
        pos.hash ^= zobrist_ep[file_of(pos.ep_square)];
        pos.ep_square = NO_SQUARE;
    }
    return undo;
}

}  // namespace move_detail

[[gnu::always_inline]] inline void make_move(Position& pos, Move m) {
    using namespace move_detail;
    assert(moves_own_piece(pos, m) && pos.history_len < MAX_HISTORY);
    const int us = pos.side;
    const int from = move_from(m), to = move_to(m), kind = move_kind(m);
    const int piece = pos.board[from];

    UndoRecord& undo = push_undo(pos);
    pos.halfmove_clock++;
    pos.hash ^= zobrist_castling[pos.castling];

    if (kind == EN_PASSANT) {
        remove_piece(pos, make_piece(us ^ 1, PAWN), us ^ 1, en_passant_victim(us, to));
        undo.captured = PAWN;
        pos.halfmove_clock = 0;
    } else if (is_capture(m)) {
        int victim = pos.board[to];
        remove_piece(pos, victim, us ^ 1, to);
        undo.captured = piece_type(victim);
        pos.halfmove_clock = 0;
    }
    if (is_pawn(piece)) pos.halfmove_clock = 0;

    if (is_promotion(m)) {
        remove_piece(pos, piece, us, from);
        put_piece(pos, make_piece(us, promotion_type(m)), us, to);
    } else {
        move_piece(pos, piece, us, from, to);
    }

    if (kind == KING_CASTLE || kind == QUEEN_CASTLE) {
        int rook_from, rook_to;
        castling_rook_squares(us, kind, rook_from, rook_to);
        move_piece(pos, make_piece(us, ROOK), us, rook_from, rook_to);
    } else if (kind == DOUBLE_PUSH) {
        pos.ep_square = us == WHITE ? from + 8 : from - 8;
        pos.hash ^= zobrist_ep[file_of(from)];
    }

    pos.castling &= castling_mask[from] & castling_mask[to];
    pos.hash ^= zobrist_castling[pos.castling] ^ zobrist_side;
    pos.side = us ^ 1;
    if (us == BLACK) pos.fullmove_number++;
    pos.history_len++;
}

[[gnu::always_inline]] inline void unmake_move(Position& pos, Move m) {
    using namespace move_detail;
    assert(pos.history_len > 0 && pos.board[move_to(m)] != NO_PIECE && color_of(pos.board[move_to(m)]) != pos.side);
    const UndoRecord& undo = pos.history[--pos.history_len];
    const int us = pos.side ^ 1, them = us ^ 1;
    pos.side = us;
    const int from = move_from(m), to = move_to(m), kind = move_kind(m);

    if (kind == KING_CASTLE || kind == QUEEN_CASTLE) {
        int rook_from, rook_to;
        castling_rook_squares(us, kind, rook_from, rook_to);
        move_piece_back(pos, make_piece(us, ROOK), us, rook_to, rook_from);
    }
    if (is_promotion(m)) {
        lift_piece(pos, pos.board[to], us, to);
        restore_piece(pos, make_piece(us, PAWN), us, from);
    } else {
        move_piece_back(pos, pos.board[to], us, to, from);
    }
    if (kind == EN_PASSANT)
        restore_piece(pos, make_piece(them, PAWN), them, en_passant_victim(us, to));
    else if (is_capture(m))
        restore_piece(pos, make_piece(them, undo.captured), them, to);

    pos.ep_square = undo.ep_square;
    pos.castling = undo.castling;
    pos.halfmove_clock = undo.halfmove_clock;
    pos.hash = undo.hash;
    pos.pawn_hash = undo.pawn_hash;
    if (us == BLACK) pos.fullmove_number--;
}
