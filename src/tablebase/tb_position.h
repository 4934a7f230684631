// The probes' own compact position record and its move generator, built on
// the engine's attack tables; moves are played on copies, never in place.
#pragma once

#include <cstdint>

#include "board/position.h"
#include "board/types.h"

struct TbPosition {
    Bitboard white, black;
    Bitboard kings, queens, rooks, bishops, knights, pawns;  // both colours
    uint8_t rule50;  // plies since the last capture or pawn move
    uint8_t ep;      // en-passant target square, 0 when there is none
    bool turn;       // true when white is to move
};

// Target in bits 0-5, origin in bits 6-11, promotion in bits 12-14.
using TbMove = uint16_t;
enum TbPromotion : int { TB_NO_PROMOTION, TB_PROMOTE_QUEEN, TB_PROMOTE_ROOK, TB_PROMOTE_BISHOP, TB_PROMOTE_KNIGHT };

// Room for every move of any position; the generators never write past it.
constexpr int TB_MAX_MOVES = 256;

constexpr TbMove tb_make_move(int from, int to, int promotion) { return TbMove(to | from << 6 | promotion << 12); }
constexpr int tb_move_to(TbMove m) { return m & 63; }
constexpr int tb_move_from(TbMove m) { return (m >> 6) & 63; }
constexpr int tb_move_promotion(TbMove m) { return (m >> 12) & 7; }

// The engine position as the probes see it; rule50 is the counter to use.
TbPosition tb_position_from(const Position& pos, int rule50);

// That colour's pieces of a kind (1 pawn .. 6 king), empty for other kinds.
Bitboard tb_pieces(const TbPosition& pos, bool white, int kind);

// Kind (1..6) of the side to move's piece on the square, or 0.
int tb_moved_kind(const TbPosition& pos, int square);

// Pseudo-legal moves: king, queens, rooks, bishops, knights, pawns; each
// kind's pieces and targets from the lowest square up. Returns the list's end.
TbMove* tb_gen_moves(const TbPosition& pos, TbMove* moves);
// The same restricted to captures (en passant and promotions by capture included).
TbMove* tb_gen_captures(const TbPosition& pos, TbMove* moves);
// The legal moves of tb_gen_moves, in its order.
TbMove* tb_gen_legal(const TbPosition& pos, TbMove* moves);

// Target holds an enemy piece, or the move is a pawn's en-passant capture.
bool tb_is_capture(const TbPosition& pos, TbMove move);
bool tb_is_en_passant(const TbPosition& pos, TbMove move);

// Writes the position after the move into next; false when the mover's
// king is missing or left attacked.
bool tb_do_move(TbPosition& next, const TbPosition& pos, TbMove move);

bool tb_in_check(const TbPosition& pos);
// The side to move is in check and has no legal move.
bool tb_is_mate(const TbPosition& pos);

// One king per colour, consistent bitboards, no pawn on rank 1 or 8, and
// the side not to move not in check.
bool tb_is_valid(const TbPosition& pos);
