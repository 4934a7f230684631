// The one board record: bitboards plus mailbox, incrementally kept keys and
// packed material/placement score, and the undo history. Plain data, so a
// Position may be copied whole.
#pragma once

#include <cstdint>

#include "board/types.h"
#include "board/score.h"

constexpr int MAX_HISTORY = 1024;

inline constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// State before a move (or null move) was made.
struct UndoRecord {
    int32_t ep_square;
    int32_t castling;
    int32_t halfmove_clock;
    int32_t captured;  // piece type taken, NO_PIECE_TYPE if none
    uint64_t hash;
    uint64_t pawn_hash;
};

struct Position {
    Bitboard piece_bb[12];
    Bitboard color_bb[2];
    Bitboard occupied;
    int32_t board[64];
    int32_t side;
    int32_t ep_square;
    int32_t castling;
    int32_t halfmove_clock;
    int32_t fullmove_number;
    int32_t history_len;
    uint64_t hash;
    uint64_t pawn_hash;
    Score psq_score;
    UndoRecord history[MAX_HISTORY];
};

inline Bitboard pieces(const Position& pos, int color, int type) {
    return pos.piece_bb[make_piece(color, type)];
}

// The colour's six piece bitboards, indexed by piece type.
inline const Bitboard* pieces_of(const Position& pos, int color) {
    return pos.piece_bb + make_piece(color, PAWN);
}

// The colour's king must be on the board.
inline int king_square(const Position& pos, int color) {
    assert(pos.piece_bb[make_piece(color, KING)]);
    return lsb(pos.piece_bb[make_piece(color, KING)]);
}

// Sets pos from FEN text; false when the placement held a character it cannot place.
bool parse_fen(Position& pos, const char* text);

// Writes the board diagram, side, castling, en-passant square, clock and key.
void print_board(const Position& pos);
