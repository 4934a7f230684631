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

// How often each move comes out of `draws` probes, with a fixed seed so the counts never change.
std::map<std::string, int> draw_counts(Position& pos, int draws) {
    std::srand(20240517);
    std::map<std::string, int> counts;
    for (int i = 0; i < draws; ++i) ++counts[move_to_str(book_probe(pos))];
    return counts;
}

uint64_t key_of(const char* command) { return polyglot_key(position_from(command)); }

TEST(BookProbe, RealBookAnswersTheStartPositionWithItsOwnMoves) {
    ASSERT_TRUE(book_load(PERFORMANCE_BOOK.c_str()));
    Position pos = position_from("position startpos");
    // The book holds e2e4, d2d4 and c2c4 for the start position, each with weight 1.
    std::map<std::string, int> counts = draw_counts(pos, 3000);
    ASSERT_EQ(counts.size(), 3u);
    for (const char* move : {"e2e4", "d2d4", "c2c4"}) {
        EXPECT_GT(counts[move], 850) << move;
        EXPECT_LT(counts[move], 1150) << move;
    }
}

TEST(BookProbe, DrawsFollowTheWeights) {
    uint64_t key = key_of("position startpos");
    std::string path = write_temp_book("weights.bin", {{key, polyglot_move("a2a3"), 1},
                                                       {key, polyglot_move("e2e4"), 3},
                                                       {key, polyglot_move("g1f3"), 6}});
    ASSERT_TRUE(book_load(path.c_str()));
    Position pos = position_from("position startpos");
    std::map<std::string, int> counts = draw_counts(pos, 10000);
    // Expected 1000, 3000 and 6000; the bounds are about seven standard deviations wide.
    EXPECT_NEAR(counts["a2a3"], 1000, 200);
    EXPECT_NEAR(counts["e2e4"], 3000, 300);
    EXPECT_NEAR(counts["g1f3"], 6000, 350);
    EXPECT_EQ(counts["a2a3"] + counts["e2e4"] + counts["g1f3"], 10000);
}

TEST(BookProbe, ZeroWeightEntriesAreNeverDrawn) {
    uint64_t key = key_of("position startpos");
    std::string path = write_temp_book("zero.bin", {{key, polyglot_move("a2a3"), 0},
                                                    {key, polyglot_move("e2e4"), 5},
                                                    {key, polyglot_move("h2h3"), 0}});
    ASSERT_TRUE(book_load(path.c_str()));
    Position pos = position_from("position startpos");
    std::map<std::string, int> counts = draw_counts(pos, 500);
    EXPECT_EQ(counts["e2e4"], 500);

    // All weights zero: nothing to play, the search has to run.
    path = write_temp_book("all_zero.bin", {{key, polyglot_move("a2a3"), 0}, {key, polyglot_move("e2e4"), 0}});
    ASSERT_TRUE(book_load(path.c_str()));
    EXPECT_EQ(book_probe(pos), NO_MOVE);
}

TEST(BookProbe, OnlyTheFirstSixtyFourEntriesOfAKeyAreDrawn) {
    uint64_t key = key_of("position startpos");
    std::vector<TestBookEntry> entries(64, {key, polyglot_move("a2a3"), 1});
    // Entry 65 outweighs all the rest together, yet may never come out.
    entries.push_back({key, polyglot_move("e2e4"), 60000});
    entries.push_back({key, polyglot_move("d2d4"), 60000});
    ASSERT_TRUE(book_load(write_temp_book("many.bin", entries).c_str()));
    Position pos = position_from("position startpos");
    std::map<std::string, int> counts = draw_counts(pos, 500);
    EXPECT_EQ(counts["a2a3"], 500);
}

TEST(BookProbe, FindsTheKeyAmongNeighbours) {
    // Runs of the same key at both ends and in the middle of a sorted book.
    uint64_t key = key_of("position startpos");
    for (int before : {0, 1, 2, 7, 100}) {
        std::vector<TestBookEntry> entries;
        for (int i = 0; i < before; ++i) entries.push_back({key - 1000 + i, polyglot_move("a2a3"), 1});
        for (int i = 0; i < 5; ++i) entries.push_back({key, polyglot_move("b1c3"), 1});
        for (int i = 0; i < 3; ++i) entries.push_back({key + 1 + i, polyglot_move("a2a3"), 1});
        ASSERT_TRUE(book_load(write_temp_book("run.bin", entries).c_str()));
        Position pos = position_from("position startpos");
        EXPECT_STREQ(move_to_str(book_probe(pos)), "b1c3") << before;
    }
    // A key absent from the book, below, between and above its keys.
    ASSERT_TRUE(book_load(write_temp_book("miss.bin", {{1, polyglot_move("e2e4"), 1},
                                                       {key - 1, polyglot_move("e2e4"), 1},
                                                       {key + 1, polyglot_move("e2e4"), 1}})
                              .c_str()));
    Position pos = position_from("position startpos");
    EXPECT_EQ(book_probe(pos), NO_MOVE);
}

TEST(BookProbe, CastlingEntriesBecomeKingMovesOfTwoSquares) {
    // Both sides may castle either way; the book stores king takes own rook.
    const char* fen = "position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R %s KQkq - 0 1";
    struct Case {
        const char* side;
        const char* book_move;
        const char* played;
    } cases[] = {
        {"w", "e1h1", "e1g1"},
        {"w", "e1a1", "e1c1"},
        {"b", "e8h8", "e8g8"},
        {"b", "e8a8", "e8c8"},
    };
    for (const Case& c : cases) {
        char command[128];
        std::snprintf(command, sizeof command, fen, c.side);
        Position pos = position_from(command);
        ASSERT_TRUE(book_load(write_temp_book("castle.bin", {{polyglot_key(pos), polyglot_move(c.book_move), 1}}).c_str()));
        Move m = book_probe(pos);
        EXPECT_STREQ(move_to_str(m), c.played) << c.book_move;
        EXPECT_TRUE(move_kind(m) == KING_CASTLE || move_kind(m) == QUEEN_CASTLE) << c.book_move;
    }
}

TEST(BookProbe, KingMoveToAnEdgeFileIsTranslatedOnlyFromTheEFile) {
    // Only a king on the e-file castles: b1a1 is a plain king step, not a castle to c1.
    Position pos = position_from("position fen 4k3/8/8/8/8/8/8/1K6 w - - 0 1");
    ASSERT_TRUE(book_load(write_temp_book("edge.bin", {{polyglot_key(pos), polyglot_move("b1a1"), 1}}).c_str()));
    EXPECT_STREQ(move_to_str(book_probe(pos)), "b1a1");
}

TEST(BookProbe, IllegalBookMovesGiveNoMove) {
    Position pos = position_from("position startpos");
    uint64_t key = polyglot_key(pos);
    // Blocked, wrong piece, empty square, and castling through pieces.
    for (const char* move : {"e2e5", "a1a3", "e4e5", "e1h1", "a1a1"}) {
        ASSERT_TRUE(book_load(write_temp_book("illegal.bin", {{key, polyglot_move(move), 1}}).c_str()));
        EXPECT_EQ(book_probe(pos), NO_MOVE) << move;
    }
    // Castling rights lost: a stored castle is not played.
    Position no_rights = position_from("position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w - - 0 1");
    ASSERT_TRUE(book_load(write_temp_book("illegal.bin", {{polyglot_key(no_rights), polyglot_move("e1h1"), 1}}).c_str()));
    EXPECT_EQ(book_probe(no_rights), NO_MOVE);
}

TEST(BookProbe, PromotionsMatchThePieceKind) {
    Position pos = position_from("position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    uint64_t key = polyglot_key(pos);
    for (const char* move : {"b7b8n", "b7b8b", "b7b8r", "b7b8q"}) {
        ASSERT_TRUE(book_load(write_temp_book("promo.bin", {{key, polyglot_move(move), 1}}).c_str()));
        EXPECT_STREQ(move_to_str(book_probe(pos)), move);
    }
    // Without a piece the first generated promotion is taken; a bad piece code matches nothing.
    ASSERT_TRUE(book_load(write_temp_book("promo.bin", {{key, polyglot_move("b7b8"), 1}}).c_str()));
    Move first = book_probe(pos);
    EXPECT_TRUE(is_promotion(first));
    EXPECT_EQ(move_to(first), 57);
    ASSERT_TRUE(book_load(write_temp_book("promo.bin", {{key, static_cast<uint16_t>(polyglot_move("b7b8") | (5 << 12)), 1}}).c_str()));
    EXPECT_EQ(book_probe(pos), NO_MOVE);
}

TEST(BookProbe, FollowsTheLaskerTrapLine) {
    // The book holds only Black's replies along this line, ending in the knight promotion.
    const char* line[] = {"d2d4", "d7d5", "c2c4", "e7e5", "d4e5", "d5d4", "e2e3", "f8b4",
                          "c1d2", "d4e3", "d2b4", "e3f2", "e1e2", "f2g1n"};
    ASSERT_TRUE(book_load(LASKER_TRAP_BOOK.c_str()));
    std::string command = "position startpos moves";
    for (int ply = 0; ply < 14; ++ply) {
        Position pos = position_from(command.c_str());
        Move m = book_probe(pos);
        if (ply % 2 == 0) EXPECT_EQ(m, NO_MOVE) << line[ply];
        else EXPECT_STREQ(move_to_str(m), line[ply]);
        command += std::string(" ") + line[ply];
    }
}

}  // namespace
