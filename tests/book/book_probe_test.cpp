#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "book/book.h"
#include "book_builder.h"

namespace {

const std::string PERFORMANCE_BOOK = std::string(TEST_DATA_DIR) + "/books/performance.bin";
const std::string LASKER_TRAP_BOOK = std::string(TEST_DATA_DIR) + "/books/lasker-trap.bin";
const uint64_t START_KEY = 0x463B96181691FC9CULL;

// How often each move comes out of `draws` probes of the start position, with a fixed seed.
std::map<std::string, int> start_draw_counts(int draws) {
    Position pos = position_from("position startpos");
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
    const char* castles = "position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1";
    const char* castles_black = "position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1";
    const char* promotion = "position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1";
    struct Case {
        const char* position;
        const char* stored;
        const char* played;
    } cases[] = {
        // The book stores a castle as king takes own rook.
        {castles, "e1h1", "e1g1"},
        {castles, "e1a1", "e1c1"},
        {castles_black, "e8h8", "e8g8"},
        {castles_black, "e8a8", "e8c8"},
        // Only a king on the e-file castles: b1a1 is a plain king step.
        {"position fen 4k3/8/8/8/8/8/8/1K6 w - - 0 1", "b1a1", "b1a1"},
        // Illegal: blocked, wrong piece, empty square, castling through pieces, a null step,
        // and a castle without the right.
        {"position startpos", "e2e5", "0000"},
        {"position startpos", "a1a3", "0000"},
        {"position startpos", "e4e5", "0000"},
        {"position startpos", "e1h1", "0000"},
        {"position startpos", "a1a1", "0000"},
        {"position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w - - 0 1", "e1h1", "0000"},
        // Promotions match the piece kind; without one the first generated promotion is
        // taken, and a code no promotion uses matches nothing.
        {promotion, "b7b8n", "b7b8n"},
        {promotion, "b7b8b", "b7b8b"},
        {promotion, "b7b8r", "b7b8r"},
        {promotion, "b7b8q", "b7b8q"},
        {promotion, "b7b8", "b7b8q"},
        {promotion, "b7b8k", "0000"},
    };
    for (const Case& c : cases) {
        Position pos = position_from(c.position);
        ASSERT_TRUE(load_test_book({{polyglot_key(pos), polyglot_move(c.stored), 1}}));
        Move m = book_probe(pos);
        EXPECT_STREQ(move_to_str(m), c.played) << c.position << " " << c.stored;
        const std::string played = c.played;
        const bool castle = played.size() == 4 && played != c.stored && played != "0000";
        EXPECT_EQ(move_kind(m) == KING_CASTLE || move_kind(m) == QUEEN_CASTLE, castle) << c.stored;
    }
}

TEST(BookProbe, FollowsTheLaskerTrapLine) {
    // The book holds only Black's replies along this line, ending in the knight promotion.
    const char* line[] = {"d2d4", "d7d5", "c2c4", "e7e5", "d4e5", "d5d4", "e2e3", "f8b4",
                          "c1d2", "d4e3", "d2b4", "e3f2", "e1e2", "f2g1n"};
    ASSERT_TRUE(book_load(LASKER_TRAP_BOOK.c_str()));
    std::string command = "position startpos moves";
    for (int ply = 0; ply < 14; ++ply) {
        Position pos = position_from(command.c_str());
        EXPECT_STREQ(move_to_str(book_probe(pos)), ply % 2 ? line[ply] : "0000") << ply;
        command += std::string(" ") + line[ply];
    }
}

}  // namespace
