// The records of the tables: one entry per material signature, and the
// encodings it holds, one per stored table.
#pragma once

#include <cstddef>
#include <cstdint>

// File kinds; every per-kind array is indexed by them.
enum TbKind : int { TB_WDL = 0, TB_DTM = 1, TB_DTZ = 2 };

// Piece kinds as the tables and their probes number them.
enum TbPieceKind : int { TB_PAWN = 1, TB_KNIGHT, TB_BISHOP, TB_ROOK, TB_QUEEN, TB_KING };

constexpr int TB_MAX_PIECES = 7;

struct TbCodebook;

// One stored table: its decompression record and how positions are numbered.
struct TbEncoding {
    TbCodebook* codebook;          // null for side 1 of an unsplit WDL file
    uint64_t factor[TB_MAX_PIECES];  // multiplier of the group starting at each place
    uint8_t pieces[TB_MAX_PIECES];   // file piece code per place: 1..6 first-named side, 9..14 other
    uint8_t norm[TB_MAX_PIECES];     // size of the group starting at each place, 0 inside a group
};

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
