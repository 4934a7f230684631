// Whole-evaluation properties over a few thousand positions: the perft file's and the benchmark's
// positions and everything reached from them in two plies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "board/makemove.h"
#include "board/legality.h"
#include "data_table.h"
#include "eval/evaluate.h"
#include "eval/pawns.h"
#include "uci/commands.h"

namespace {

// FEN of the twin with the board flipped vertically, colours and side to move swapped (castling
// and en passant play no part in the evaluation).
std::string mirrored_fen(const Position& pos) {
    std::string out;
    for (int rank = 0; rank < 8; ++rank) {
        for (int file = 0, empty = 0; file < 8; ++file) {
            const int piece = pos.board[make_square(file, rank)];
            if (piece != NO_PIECE) out += (empty ? std::to_string(empty) : "") + "PNBRQKpnbrqk"[(piece + 6) % 12];
            empty = piece == NO_PIECE ? empty + 1 : 0;
            if (file == 7 && empty) out += std::to_string(empty);
        }
        out += rank < 7 ? "/" : pos.side == WHITE ? " b - - 0 1" : " w - - 0 1";
    }
    return out;
}

template <class Visit>
void expand(Position& pos, int plies, Visit& visit) {
    visit(pos);
    if (plies == 0) return;
    MoveList list;
    generate_legal_moves(pos, list);
    for (int i = 0; i < list.count; ++i) {
        make_move(pos, list.moves[i]);
        expand(pos, plies - 1, visit);
        unmake_move(pos, list.moves[i]);
    }
}

template <class Visit>
void for_each_corpus_position(Visit visit) {
    std::vector<std::string> roots;
    for (int i = 0; BENCH_FENS[i][0] != '\0'; ++i) roots.push_back(BENCH_FENS[i]);
    std::ifstream epd(std::string(TEST_DATA_DIR) + "/perft.epd");
    for (std::string line; std::getline(epd, line);)
        if (auto cut = line.find(" ;"); cut != std::string::npos) roots.push_back(line.substr(0, cut));
    static Position pos;
    for (const std::string& fen : roots) {
        parse_fen(pos, fen.c_str());
        expand(pos, 2, visit);
    }
}

// Several queens on a side make the king-danger queen choice one-sided: such positions are not compared.
bool has_twin(const Position& pos) {
    return popcount(pos.piece_bb[W_QUEEN]) < 2 && popcount(pos.piece_bb[B_QUEEN]) < 2;
}

// Value of the colour-swapped twin minus the position's, each for its side to move: flipping keeps
// the value up to the one centipawn the end-game half's reading may lose.
int twin_difference(const Position& pos) {
    static Position twin;
    parse_fen(twin, mirrored_fen(pos).c_str());
    EXPECT_EQ(twin.psq_score, -pos.psq_score) << mirrored_fen(pos);  // the piece-square sum exactly
    return evaluate(twin) - evaluate(pos);
}

TEST(EvalSymmetry, MirroredTwinHasTheSameValue) {
    int checked = 0, off_by_one = 0;
    for_each_corpus_position([&](const Position& pos) {
        if (!has_twin(pos)) return;
        const int d = twin_difference(pos);
        ASSERT_LE(std::abs(d), 1) << "twin " << mirrored_fen(pos) << ": " << evaluate(pos) + d << ", not "
                                  << evaluate(pos);
        off_by_one += d != 0;
        ++checked;
    });
    EXPECT_GT(checked, 5000);
    EXPECT_GT(off_by_one, 0);  // the shift's asymmetry does show up
}

// Each ending the evaluation recognises, with either side the stronger: the endings table and its twins.
TEST(EvalSymmetry, RecognisedEndingsInBothColours) {
    static Position pos;
    for (const TableRow& row : read_table("endgames.txt")) {
        parse_fen(pos, row[1].c_str());
        if (!has_twin(pos)) continue;
        const int d = twin_difference(pos);
        EXPECT_LE(std::abs(d), 1) << row[0] << " | " << row[1] << ": " << evaluate(pos) << ", twin "
                                  << mirrored_fen(pos) << ": " << evaluate(pos) + d;
    }
}

TEST(EvalSymmetry, PawnCacheNeverChangesAValue) {
    // Values through a cache warmed by the whole corpus, against each from an empty cache.
    std::vector<int> warm;
    for_each_corpus_position([&](const Position& pos) { warm.push_back(evaluate(pos)); });
    size_t i = 0;
    for_each_corpus_position([&](const Position& pos) {
        clear_pawn_cache();
        ASSERT_EQ(evaluate(pos), warm[i++]) << mirrored_fen(pos);
    });
}

}  // namespace
