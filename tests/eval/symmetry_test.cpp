// Whole-evaluation properties over a few thousand positions reached from the
// perft suite and the benchmark list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "eval/eval_corpus.h"
#include "eval/evaluate.h"
#include "eval/pawns.h"

namespace {

Position pos, twin;

const std::vector<std::string>& corpus() {
    static const std::vector<std::string> fens = evaluation_corpus(2);
    return fens;
}

bool has_two_queens(const Position& p) {
    return popcount(p.piece_bb[W_QUEEN]) >= 2 || popcount(p.piece_bb[B_QUEEN]) >= 2;
}

// Flipping the board and swapping colours keeps the value for the side to
// move, up to the one centipawn the end-game half's reading may lose. (Several
// queens on a side make the king-danger queen choice one-sided.)
TEST(EvalSymmetry, MirroredTwinHasTheSameValue) {
    int checked = 0, off_by_one = 0;
    for (const std::string& fen : corpus()) {
        parse_fen(pos, fen.c_str());
        if (has_two_queens(pos)) continue;
        parse_fen(twin, mirrored_fen(pos).c_str());
        const int a = evaluate(pos), b = evaluate(twin);
        ASSERT_LE(std::abs(a - b), 1) << fen << " value " << a << ", mirrored " << b;
        off_by_one += a != b;
        ++checked;
    }
    EXPECT_GT(checked, 5000);
    EXPECT_GT(off_by_one, 0);  // the shift's asymmetry does show up
}

TEST(EvalSymmetry, PawnCacheNeverChangesAValue) {
    std::vector<int> warm;
    clear_pawn_cache();
    // Two passes through a warm cache, then every call from an empty cache.
    for (int pass = 0; pass < 2; ++pass)
        for (const std::string& fen : corpus()) {
            parse_fen(pos, fen.c_str());
            int v = evaluate(pos);
            if (pass == 0)
                warm.push_back(v);
            else
                ASSERT_EQ(v, warm[&fen - &corpus()[0]]) << fen;
        }
    size_t i = 0;
    for (const std::string& fen : corpus()) {
        parse_fen(pos, fen.c_str());
        clear_pawn_cache();
        ASSERT_EQ(evaluate(pos), warm[i++]) << fen;
    }
    // Positions without pawns share key 0, which an empty entry already matches.
    clear_pawn_cache();
    parse_fen(pos, "4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    EXPECT_EQ(eval_pawns(pos), 0);
}

}  // namespace
