// The registry of material signatures whose table files exist under the
// SyzygyPath directories, the material keys that find them, and loading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tablebase/indexing.h"

// File kinds; every per-kind array is indexed by them.
enum TbKind : int { TB_WDL = 0, TB_DTM = 1, TB_DTZ = 2 };
inline constexpr const char* TB_EXTENSION[3] = {".rtbw", ".rtbm", ".rtbz"};

// Piece kinds as the tables and their probes number them.
enum TbPieceKind : int { TB_PAWN = 1, TB_KNIGHT, TB_BISHOP, TB_ROOK, TB_QUEEN, TB_KING };

// One material signature, named with its first side as white (KRPvKR).
struct TbEntry {
    uint64_t key;                // material key of the signature as its file is named
    const uint8_t* data[3];      // mapped file per kind, set once mapped
    size_t mapping[3];           // length of each mapped view, which unmapping needs
    uint32_t ready[3];           // 1 once that kind is mapped and parsed
    uint8_t num;                 // pieces, both kings included
    bool symmetric;              // key equals the colour-swapped key (KRvKR)
    bool has_pawns;
    bool has_dtm;                // complete files seen; DTM files are never read
    bool has_dtz;
    bool kk_enc;                 // pawnless, and the kings are the only unique pieces
    uint8_t pawn_count[2];       // with pawns: leading colour's pawns, then the other's
};

// Encodings: WDL side 0, WDL side 1, DTZ.
struct TbPieceEntry : TbEntry {
    TbEncoding enc[3];
    const uint8_t* dtz_map;
    uint16_t dtz_map_index[4];
    uint8_t dtz_flags;
};

// Encodings: WDL side 0 for file groups 0..3, WDL side 1 for 0..3, DTZ for 0..3.
struct TbPawnEntry : TbEntry {
    TbEncoding enc[12];
    const uint8_t* dtz_map;
    uint16_t dtz_map_index[4][4];
    uint8_t dtz_flags[4];
};

// Encoding of one table: WDL by side and file group, DTZ by file group (t 0 when pawnless).
inline TbEncoding& tb_encoding(TbEntry& e, int kind, int side, int t) {
    if (e.has_pawns) {
        TbPawnEntry& p = static_cast<TbPawnEntry&>(e);
        return kind == TB_DTZ ? p.enc[8 + t] : p.enc[side * 4 + t];
    }
    TbPieceEntry& p = static_cast<TbPieceEntry&>(e);
    return kind == TB_DTZ ? p.enc[2] : p.enc[side];
}

// DTZ flags of file group t: bit 0 side stored, 1 value maps, 2/3 exact win/loss distances, 4 16-bit maps.
inline uint8_t& tb_dtz_flags(TbEntry& e, int t) {
    return e.has_pawns ? static_cast<TbPawnEntry&>(e).dtz_flags[t] : static_cast<TbPieceEntry&>(e).dtz_flags;
}

// Start of the four value maps (win, loss, cursed win, blessed loss) of file group t.
inline uint16_t* tb_dtz_map_index(TbEntry& e, int t) {
    return e.has_pawns ? static_cast<TbPawnEntry&>(e).dtz_map_index[t] : static_cast<TbPieceEntry&>(e).dtz_map_index;
}

inline const uint8_t*& tb_dtz_map(TbEntry& e) {
    return e.has_pawns ? static_cast<TbPawnEntry&>(e).dtz_map : static_cast<TbPieceEntry&>(e).dtz_map;
}

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

extern int tb_largest;
// The directories of the loaded path, in order.
extern std::vector<std::string> tb_paths;
extern TbPieceEntry* tb_piece_entries;
extern TbPawnEntry* tb_pawn_entries;
extern int tb_piece_count;
extern int tb_pawn_count;

// Home slot of a key, its top 12 bits: KQvK's 0xa3ec1abc71e90863 -> 2622.
inline int tb_home_slot(uint64_t key) { return int(key >> 52); }

// The slot holding key, or the free slot where the search for it ends.
TbHashSlot& tb_find_slot(uint64_t key);

// Weight of one piece in the material key, by colour (0 white) and kind:
// tb_key_weight[0][TB_QUEEN] = 0xa3ec1abc71e90863; kings weigh 0.
extern const uint64_t tb_key_weight[2][7];

// Material key of piece counts [colour][kind]; swapped weighs white with
// the black constants and the reverse. KQvK -> 0xa3ec1abc71e90863.
uint64_t tb_key_from_counts(const int counts[2][7], bool swapped);

// Every signature of up to seven pieces in registration order:
// [0] "KQvK", [4] "KPvK", [5] "KQvKQ".
const char (&tb_signature_names())[TB_SIGNATURES][16];

// Registers one signature such as KRPvKR when its WDL file is complete.
void tb_register(const char* name);

bool tb_load(const char* path);
