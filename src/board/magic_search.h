// The search for the slider tables' magic multipliers: candidates from a
// fixed-seed generator, each checked against every occupancy subset of a
// square's mask, so that every run finds the same multipliers.
#pragma once

#include <cstdint>

#include "board/types.h"

using AttackFn = Bitboard (*)(int sq, Bitboard occ);

// State of the search's generator; all searches draw from it in turn.
extern uint64_t magic_rng_state;

// Searches a magic multiplier for the square, whose mask has n squares; 0
// after the try limit. tries_out, when given, receives the number of
// candidates drawn; slice, when given, the square's attack sets at their
// indices under the multiplier found.
uint64_t find_magic(int sq, Bitboard mask, int n, AttackFn attack_fn, uint64_t* tries_out = nullptr,
                    Bitboard* slice = nullptr);
