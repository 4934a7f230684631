// Shared helpers of the tablebase tests: the real 3- and 4-piece tables,
// scratch directories, and positions built piece by piece.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tablebase/material_key.h"
#include "tablebase/registry.h"
#include "tablebase/tablebase.h"
#include "tablebase/tb_position.h"
#include "uci/engine_process.h"

inline const std::string TB_REAL_DIR = std::string(TEST_DATA_DIR) + "/syzygy";

// A fresh directory under the system's temporary area, removed afterwards.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir() : path(make_temp_dir()) {}
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string str() const { return path.string(); }
    // Writes a file of `size` bytes whose first four bytes are `magic`.
    void write(const std::string& name, size_t size, uint32_t magic = 0) const {
        std::vector<char> bytes(size, 0);
        for (size_t i = 0; i < 4 && i < size; i++) bytes[i] = char(magic >> (8 * i));
        std::ofstream(path / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    void copy_real(const std::string& name) const {
        std::filesystem::copy_file(std::filesystem::path(TB_REAL_DIR) / name, path / name);
    }
};

inline void load_real_tables() { tb_load(TB_REAL_DIR.c_str()); }

// A piece of a test position: colour (true white) and kind 1..6.
struct TbPiece {
    bool white;
    int kind;
};

inline void place(TbPosition& pos, TbPiece piece, int sq) {
    Bitboard* by_kind[] = {nullptr, &pos.pawns, &pos.knights, &pos.bishops, &pos.rooks, &pos.queens, &pos.kings};
    (piece.white ? pos.white : pos.black) |= square_bb(sq);
    *by_kind[piece.kind] |= square_bb(sq);
}

// The position with the pieces on the squares, or false when two share a
// square or a pawn stands on rank 1 or 8.
inline bool build(TbPosition& pos, const std::vector<TbPiece>& pieces, const int* squares, bool white_to_move) {
    pos = TbPosition{};
    pos.turn = white_to_move;
    Bitboard used = 0;
    for (size_t i = 0; i < pieces.size(); i++) {
        Bitboard b = square_bb(squares[i]);
        if (used & b) return false;
        if (pieces[i].kind == TB_PAWN && (squares[i] < 8 || squares[i] >= 56)) return false;
        used |= b;
        place(pos, pieces[i], squares[i]);
    }
    return true;
}

// Squares of the a1-d1-d4 triangle: with the first piece there, the
// positions of a pawnless ending cover all others up to the board's symmetries.
constexpr Bitboard TRIANGLE_BB = 0x080C0E0FULL;
// Files a-d: the same for endings with pawns, which only mirror left to right.
constexpr Bitboard QUEEN_SIDE_BB = 0x0F0F0F0F0F0F0F0FULL;

// Calls visit(pos) for every valid position (side not to move not in check)
// of the pieces with the first piece inside `first`, both sides to move.
template <class Visit>
void for_each_position(const std::vector<TbPiece>& pieces, Bitboard first, Visit visit) {
    const int n = int(pieces.size());
    int sq[TB_MAX_PIECES] = {};
    for (;;) {
        for (bool white : {true, false}) {
            TbPosition pos;
            if ((first & square_bb(sq[0])) && build(pos, pieces, sq, white) && tb_is_valid(pos)) visit(pos);
        }
        int i = 0;
        while (i < n && ++sq[i] == 64) sq[i++] = 0;
        if (i == n) return;
    }
}

// A seeded sample of `count` valid positions of the pieces.
template <class Visit>
void for_sample_positions(const std::vector<TbPiece>& pieces, int count, uint64_t seed, Visit visit) {
    uint64_t s = seed;
    auto next = [&s] {
        s ^= s << 13, s ^= s >> 7, s ^= s << 17;
        return s;
    };
    int sq[TB_MAX_PIECES];
    for (int found = 0; found < count;) {
        for (size_t i = 0; i < pieces.size(); i++) sq[i] = int(next() & 63);
        TbPosition pos;
        if (build(pos, pieces, sq, next() & 1) && tb_is_valid(pos)) {
            visit(pos);
            found++;
        }
    }
}

inline const TbPiece WK{true, TB_KING}, WQ{true, TB_QUEEN}, WR{true, TB_ROOK}, WB{true, TB_BISHOP},
    WN{true, TB_KNIGHT}, WP{true, TB_PAWN}, BK{false, TB_KING}, BQ{false, TB_QUEEN}, BR{false, TB_ROOK},
    BB{false, TB_BISHOP}, BN{false, TB_KNIGHT}, BP{false, TB_PAWN};

// Registered entry of a signature name, or null.
inline TbEntry* entry_of(const char* name) {
    int counts[2][7] = {};
    int color = 0;
    for (const char* c = name; *c; c++) {
        if (*c == 'v') { color = 1; continue; }
        const char* letters = " PNBRQK";
        for (int k = 1; k <= 6; k++)
            if (letters[k] == *c) counts[color][k]++;
    }
    return tb_find_slot(tb_key_from_counts(counts, false)).entry;
}
