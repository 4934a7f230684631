// The search's score scale, in centipawns from the side to move.
#pragma once

constexpr int MATE = 31000;          // mated at ply p scores p - MATE
constexpr int MATE_BOUND = 30000;    // at or beyond: a mate or tablebase result
constexpr int TB_WIN_SCORE = 30871;  // MATE - 129: below every real mate distance
constexpr int INFINITE_SCORE = 32000;
constexpr int NO_SCORE = 32001;      // no static evaluation / no table score
constexpr int MAX_PLY = 128;
