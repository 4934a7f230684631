// The Polyglot random keys that book files are hashed with, and where each
// group of keys starts in the table.
#pragma once

#include <cstdint>

constexpr int POLYGLOT_RANDOM_COUNT = 781;
// Piece-square keys sit at 64 * polyglot kind + square, kinds 0..11.
constexpr int POLYGLOT_CASTLING_OFFSET = 768;  // white O-O, white O-O-O, black O-O, black O-O-O
constexpr int POLYGLOT_EP_OFFSET = 772;        // en-passant file a..h
constexpr int POLYGLOT_TURN_OFFSET = 780;      // white to move

extern const uint64_t polyglot_random64[POLYGLOT_RANDOM_COUNT];
