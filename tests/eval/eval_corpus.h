// Positions for evaluation tests: the perft suite and the benchmark list with
// everything reached from them in a few plies, and colour-mirrored twins.
#pragma once

#include <string>
#include <vector>

#include "board/position.h"

// Board and side to move of the position as FEN text.
std::string position_fen(const Position& pos);

// FEN of the twin with the board flipped vertically, colours and side to move swapped.
std::string mirrored_fen(const Position& pos);

// FENs of the roots and of every position reached from them in 1..plies legal moves.
std::vector<std::string> evaluation_corpus(int plies);
