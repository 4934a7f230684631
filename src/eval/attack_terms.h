// One pass over both colours' pawns and pieces per evaluation. What a piece
// earns from its own attacks (mobility, threats, king-zone units) is scored
// as its attacks are found, rather than each attack set kept to be read
// again; kept are only the unions the king-danger and outpost terms read.
#pragma once

#include "board/position.h"

struct EvalAttacks {
    Bitboard pawns[2];        // squares attacked by the colour's pawns
    Bitboard by_kind[2][4];   // union of the attacks of each kind, knight to queen; sliders see the full occupancy
    Bitboard first_queen[2];  // attacks of the queen on the lowest square, 0 without a queen
    int pawn_files[2];        // bit f set when the colour has a pawn on file f
    int zone_units[2];        // king-danger units of the pieces whose attacks reach a square next to the enemy king
    Score mobility[2];        // the colour's mobility term
    Score threats[2];         // the colour's threat term
};

void score_attack_terms(const Position& pos, EvalAttacks& out);
