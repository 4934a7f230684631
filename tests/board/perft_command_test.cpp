// The perft family of console commands, through the real binary.
#include <gtest/gtest.h>

#include "uci/engine_process.h"

TEST(PerftCommand, DivideTotalsAndSelfChecks) {
    auto lines = run_engine("perft 1\nperft 3\nperft\ndupcheck\nillegalcheck\nperfttest now\n"
                            "position fen rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3\nperft 1\n");
    ASSERT_EQ(lines.size(), 87u);
    EXPECT_EQ(lines[0], "a2a3: 1");  // generation order
    EXPECT_EQ(lines[19], "g1h3: 1");
    EXPECT_EQ(lines[20], "Total: 20");
    EXPECT_EQ(lines[41], "Total: 8902");
    EXPECT_EQ(lines[62], "Total: 20");  // no number means depth 1
    EXPECT_EQ(lines[63], "Total pseudo-legal: 20, Duplicates: 0");
    EXPECT_EQ(lines[64], "No illegal moves found among move_is_legal=true set.");
    EXPECT_EQ(lines[85], "Total: 20");  // perfttest with a trailing word is divide at depth 1
    EXPECT_EQ(lines[86], "Total: 0");   // the checkmated side lists no move
}

TEST(PerftCommand, SuiteModePassesEveryRow) {
    const std::vector<std::string> expected = {
        "Running perft test suite (6 positions)...",
        "",
        "[PASS] startpos depth 5  got 4865609  expected 4865609",
        "[PASS] duskmoor depth 5  got 193690690  expected 193690690",
        "[PASS] pos3 depth 6  got 11030083  expected 11030083",
        "[PASS] pos4 depth 5  got 15833292  expected 15833292",
        "[PASS] pos5 depth 5  got 89941194  expected 89941194",
        "[PASS] pos6 depth 5  got 180719404  expected 180719404",
        "",
        "6/6 passed",
    };
    EXPECT_EQ(run_engine("", {"perfttest"}, "", 120000), expected);
}
