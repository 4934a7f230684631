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

const Position& setup(const std::string& fen) {
    parse_fen(pos, fen.c_str());
    return pos;
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
        if (has_two_queens(setup(fen))) continue;
        parse_fen(twin, mirrored_fen(pos).c_str());
        ASSERT_EQ(twin.psq_score, -pos.psq_score) << fen;  // the piece-square sum exactly
        const int a = evaluate(pos), b = evaluate(twin);
        ASSERT_LE(std::abs(a - b), 1) << fen << " value " << a << ", mirrored " << b;
        off_by_one += a != b;
        ++checked;
    }
    EXPECT_GT(checked, 5000);
    EXPECT_GT(off_by_one, 0);  // the shift's asymmetry does show up
}

TEST(EvalSymmetry, PawnCacheNeverChangesAValue) {
    // Values through a warm cache, shared by the whole corpus, against each from an empty cache.
    std::vector<int> warm;
    for (const std::string& fen : corpus()) warm.push_back(evaluate(setup(fen)));
    for (size_t i = 0; i < corpus().size(); ++i) {
        setup(corpus()[i]);
        clear_pawn_cache();
        ASSERT_EQ(evaluate(pos), warm[i]) << corpus()[i];
    }
    // Positions without pawns share key 0, which an empty entry already matches.
    clear_pawn_cache();
    EXPECT_EQ(eval_pawns(setup("4k3/8/8/8/8/8/8/R3K3 w - - 0 1")), 0);
}

}  // namespace
