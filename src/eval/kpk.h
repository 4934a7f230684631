// King and pawn against king, decided exactly: one byte per placement of the
// two kings and the pawn with either side to move, built once at start-up.
// Placements are seen from the pawn's side as White, pawn on files a to d.
#pragma once

#include <cstdint>

#include "board/types.h"

constexpr int KPK_SIZE = 24 * 2 * 64 * 64;

// Entry values; KPK_UNKNOWN exists only while the table is being built.
enum KpkValue : uint8_t { KPK_INVALID = 0, KPK_UNKNOWN = 1, KPK_DRAW = 2, KPK_WIN = 4 };

extern uint8_t kpk_bitbase[KPK_SIZE];

// Slot of a placement; side 0 = pawn's side to move, 1 = bare king's side.
// kpk_index(A2, 0, A8, A1) = 0 * 8192 + 0 * 4096 + 56 * 64 + 0 = 3584.
constexpr int kpk_index(int pawn, int side, int weak_king, int strong_king) {
    return ((rank_of(pawn) - 1) * 4 + file_of(pawn)) * 8192 + side * 4096 + weak_king * 64 + strong_king;
}

// Fills kpk_bitbase; no entry is left at KPK_UNKNOWN.
void kpk_init();

// Value of one placement from the chess rules and the entries of its
// successors as they stand in kpk_bitbase (pawn on files a to d, ranks 2 to 7).
// A test seam: the engine never calls it; the tests check kpk_init's result
// against repeated passes of it.
uint8_t kpk_classify(int strong_king, int weak_king, int side, int pawn);

// True when the side owning the pawn wins; squares as on the real board.
bool kpk_is_win(int strong_king, int pawn, int weak_king, int strong_color, bool strong_to_move);
