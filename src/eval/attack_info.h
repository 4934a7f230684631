// What the evaluation terms need from the attacks of both colours' pawns and
// of every knight, bishop, rook and queen, gathered in one pass per evaluation.
#pragma once

#include "board/position.h"

struct EvalAttacks {
    Bitboard pawns[2];        // squares attacked by the colour's pawns
    Bitboard by_kind[2][4];   // union of the attacks of each kind, knight to queen; sliders see the full occupancy
    Bitboard first_queen[2];  // attacks of the queen on the lowest square, 0 without a queen
    int pawn_files[2];        // bit f set when the colour has a pawn on file f
    int zone_units[2];        // king-danger units of the pieces whose attacks reach a square next to the enemy king
    Score mobility[2];        // the colour's mobility term
    Score minor_threats[2];   // its knights and bishops attacking enemy rooks and queens
};

void collect_attacks(const Position& pos, EvalAttacks& out);
