// Endings the evaluation knows by material: dead draws, mates against a
// bare king, two won patterns, and the scale factors for endings that are
// hard to win. Values are White-relative unless noted; all need both kings.
#pragma once

#include "board/position.h"

constexpr int NORMAL_SCALE = 256;

// True for minor-piece endings without pawns that nobody can win.
bool is_insufficient_material(const Position& pos);

// Rooks and queens against a bare king: 10000 and more from the side to
// move's point of view (negative when the bare king is to move); 0 otherwise.
int bare_king_mate_value(const Position& pos);

// Bonus for bishop and knight against king, and rook and pawn against rook won.
int eval_special_endgames(const Position& pos);

// How much of the White-relative value to keep, in 256ths.
int eval_scale_factor(const Position& pos, int value);

// 0 for the drawn rook-and-pawn-against-rook placements with `strong` owning the pawn, else 256.
int krpkr_scale(const Position& pos, int strong);
