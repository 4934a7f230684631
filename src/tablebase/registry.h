// The registry of material signatures whose table files exist under the
// SyzygyPath directories: their entries, the hash that finds an entry by
// material key, and registration.
#pragma once

#include <cstdint>

#include "tablebase/entry.h"

// Numbers of pawnless and pawn signatures of up to seven pieces.
constexpr int TB_PIECE_ENTRIES = 650;
constexpr int TB_PAWN_ENTRIES = 861;
constexpr int TB_SIGNATURES = TB_PIECE_ENTRIES + TB_PAWN_ENTRIES;

struct TbHashSlot {
    uint64_t key;
    TbEntry* entry;   // null when free
    uint32_t failed;  // 1 once loading a file through this slot has failed
};

constexpr int TB_HASH_SIZE = 4096;
extern TbHashSlot tb_hash[TB_HASH_SIZE];

extern TbPieceEntry* tb_piece_entries;
extern TbPawnEntry* tb_pawn_entries;
extern int tb_piece_count;
extern int tb_pawn_count;

// Home slot of a key, its top 12 bits: KQvK's 0xa3ec1abc71e90863 -> 2622.
inline int tb_home_slot(uint64_t key) { return int(key >> 52); }

// The slot holding key, or the free slot where the search for it ends.
TbHashSlot& tb_find_slot(uint64_t key);

// Every signature of up to seven pieces in registration order:
// [0] "KQvK", [4] "KPvK", [5] "KQvKQ".
const char (&tb_signature_names())[TB_SIGNATURES][16];

// Registers one signature such as KRPvKR when its WDL file is complete;
// returns its piece count, 0 when it was not registered.
int tb_register(const char* name);

// Releases any earlier registration, then registers every signature whose
// files are under path (';'-separated directories). Returns the largest
// piece count registered, 0 when none or when path is empty or "<empty>".
int tb_register_tables(const char* path);
