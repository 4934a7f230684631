#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "book/book.h"
#include "book_builder.h"
#include "data_table.h"

namespace {

const std::string PERFORMANCE_BOOK = std::string(TEST_DATA_DIR) + "/books/performance.bin";
const uint64_t START_KEY = 0x463B96181691FC9CULL;

// How often each move comes out of `draws` probes of the start position, with a fixed seed.
std::map<std::string, int> start_draw_counts(int draws) {
    Position pos = position_after("position startpos");
    std::srand(20240517);
    std::map<std::string, int> counts;
    for (int i = 0; i < draws; ++i) ++counts[move_to_str(book_probe(pos))];
    return counts;
}

std::string start_probe() { return start_draw_counts(1).begin()->first; }

TEST(BookProbe, DrawsFollowTheWeights) {
    // The real book holds e2e4, d2d4 and c2c4 for the start position, each with weight 1.
    ASSERT_TRUE(book_load(PERFORMANCE_BOOK.c_str()));
    auto counts = start_draw_counts(3000);
    ASSERT_EQ(counts.size(), 3u);
    for (const char* move : {"e2e4", "d2d4", "c2c4"}) EXPECT_NEAR(counts[move], 1000, 150) << move;

    ASSERT_TRUE(load_test_book({{START_KEY, polyglot_move("a2a3"), 1},
                                {START_KEY, polyglot_move("e2e4"), 3},
                                {START_KEY, polyglot_move("g1f3"), 6}}));
    counts = start_draw_counts(10000);
    // The bounds are about seven standard deviations wide.
    EXPECT_NEAR(counts["a2a3"], 1000, 200);
    EXPECT_NEAR(counts["e2e4"], 3000, 300);
    EXPECT_NEAR(counts["g1f3"], 6000, 350);
    EXPECT_EQ(counts.size(), 3u);
}

TEST(BookProbe, ZeroWeightsAndEntriesPastTheSixtyFourthAreNeverDrawn) {
    ASSERT_TRUE(load_test_book({{START_KEY, polyglot_move("a2a3"), 0},
                                {START_KEY, polyglot_move("e2e4"), 5},
                                {START_KEY, polyglot_move("h2h3"), 0}}));
    EXPECT_EQ(start_draw_counts(500), (std::map<std::string, int>{{"e2e4", 500}}));
    // All weights zero: nothing to play, the search has to run.
    ASSERT_TRUE(load_test_book({{START_KEY, polyglot_move("a2a3"), 0}, {START_KEY, polyglot_move("e2e4"), 0}}));
    EXPECT_EQ(start_probe(), "0000");
    // Entries 65 and 66 outweigh all the rest together, yet may never come out.
    std::vector<TestBookEntry> entries(64, {START_KEY, polyglot_move("a2a3"), 1});
    entries.push_back({START_KEY, polyglot_move("e2e4"), 60000});
    entries.push_back({START_KEY, polyglot_move("d2d4"), 60000});
    ASSERT_TRUE(load_test_book(entries));
    EXPECT_EQ(start_draw_counts(500), (std::map<std::string, int>{{"a2a3", 500}}));
}

TEST(BookProbe, FindsTheKeyAmongNeighbours) {
    // Runs of the same key at both ends and in the middle of a sorted book.
    for (int before : {0, 1, 2, 7, 100}) {
        std::vector<TestBookEntry> entries;
        for (int i = 0; i < before; ++i) entries.push_back({START_KEY - 1000 + i, polyglot_move("a2a3"), 1});
        for (int i = 0; i < 5; ++i) entries.push_back({START_KEY, polyglot_move("b1c3"), 1});
        for (int i = 0; i < 3; ++i) entries.push_back({START_KEY + 1 + i, polyglot_move("a2a3"), 1});
        ASSERT_TRUE(load_test_book(entries));
        EXPECT_EQ(start_probe(), "b1c3") << before;
    }
    // A key absent from the book, below, between and above its keys.
    ASSERT_TRUE(load_test_book({{1, polyglot_move("e2e4"), 1},
                                {START_KEY - 1, polyglot_move("e2e4"), 1},
                                {START_KEY + 1, polyglot_move("e2e4"), 1}}));
    EXPECT_EQ(start_probe(), "0000");
}

TEST(BookProbe, StoredMovesBecomeTheEnginesMovesOrNothing) {
    for (const TableRow& row : read_table("book_moves.txt")) {
        Position pos = position_after(row[0].c_str());
        ASSERT_TRUE(load_test_book({{polyglot_key(pos), polyglot_move(row[1].c_str()), 1}}));
        const Move m = book_probe(pos);
        EXPECT_EQ(move_to_str(m), row[2]) << row[0] << " " << row[1];
        const bool castle = row[2] != row[1] && row[2] != "0000" && row[2].size() == 4;
        EXPECT_EQ(move_kind(m) == KING_CASTLE || move_kind(m) == QUEEN_CASTLE, castle) << row[1];
    }
}

}  // namespace
