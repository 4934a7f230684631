#include <gtest/gtest.h>

#include "book/book.h"
#include "book_builder.h"
#include "data_table.h"

namespace {

TEST(PolyglotKey, MatchesPublishedKeys) {
    for (const TableRow& row : read_table("polyglot_keys.txt"))
        EXPECT_EQ(polyglot_key(position_after(row[0].c_str())), std::stoull(row[1], nullptr, 16)) << row[0];
}

TEST(PolyglotKey, EnPassantSquareCountsOnlyWithACapturer) {
    const struct {
        const char* board;  // placement and side to move
        const char* ep;
        bool counts;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq", "e3", false},  // no black pawn beside e4
        {"4k3/8/8/8/Pp6/8/8/4K3 b -", "a3", true},                              // capturers on the edge files
        {"4k3/8/8/6pP/8/8/8/4K3 w -", "g6", true},
        {"4k3/8/8/8/PP6/8/8/4K3 b -", "a3", false},  // a pawn of the other colour beside it
        {"4k3/8/8/8/8/8/8/4K3 w -", "b1", false},    // first rank: only from a broken FEN
    };
    for (const auto& c : cases) {
        const std::string fen = std::string("position fen ") + c.board;
        const uint64_t with = polyglot_key(position_after((fen + " " + c.ep + " 0 1").c_str()));
        EXPECT_EQ(with != polyglot_key(position_after((fen + " - 0 1").c_str())), c.counts) << c.board;
    }
}

}  // namespace
