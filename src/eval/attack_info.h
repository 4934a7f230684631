// Attack sets of both colours' pawns and of every knight, bishop, rook and
// queen, gathered once per evaluation for the terms that read them.
#pragma once

#include "board/position.h"

struct EvalAttacks {
    Bitboard pawns[2];  // squares attacked by the colour's pawns
    // Per colour: knights, then bishops, rooks, queens, each kind by ascending
    // square; sliders see the full occupancy.
    Bitboard pieces[2][64];
    int begin[2][5];         // slots of kind k: begin[c][k - KNIGHT] .. begin[c][k - KNIGHT + 1]
    Bitboard by_kind[2][4];  // union of the attacks of each kind, knight to queen
    int zone_hits[2][4];     // pieces of each kind whose attacks reach a square next to the enemy king
};

void collect_attacks(const Position& pos, EvalAttacks& out);

// First slot of a kind in EvalAttacks::pieces: first_slot(at, WHITE, BISHOP) = number of White knights.
inline int first_slot(const EvalAttacks& at, int color, int type) { return at.begin[color][type - KNIGHT]; }
// One past the last slot of a kind.
inline int end_slot(const EvalAttacks& at, int color, int type) { return at.begin[color][type - KNIGHT + 1]; }
