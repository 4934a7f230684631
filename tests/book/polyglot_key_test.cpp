#include <gtest/gtest.h>

#include "book/book.h"
#include "book_builder.h"

namespace {

TEST(PolyglotKey, MatchesPublishedKeys) {
    // Keys published with the book format, including the two en-passant cases
    // where a pawn of the side to move really can capture.
    const struct {
        const char* command;
        uint64_t key;
    } published[] = {
        {"position startpos", 0x463B96181691FC9CULL},
        {"position startpos moves e2e4", 0x823C9B50FD114196ULL},
        {"position startpos moves e2e4 d7d5", 0x0756B94461C50FB0ULL},
        {"position startpos moves e2e4 d7d5 e4e5", 0x662FAFB965DB29D4ULL},
        {"position startpos moves e2e4 d7d5 e4e5 f7f5", 0x22A48B5A8E47FF78ULL},
        {"position startpos moves e2e4 d7d5 e4e5 f7f5 e1e2", 0x652A607CA3F242C1ULL},
        {"position startpos moves e2e4 d7d5 e4e5 f7f5 e1e2 e8f7", 0x00FDD303C946BDD9ULL},
        {"position startpos moves a2a4 b7b5 h2h4 b5b4 c2c4", 0x3C8123EA7B067637ULL},
    };
    for (const auto& p : published) EXPECT_EQ(polyglot_key(position_from(p.command)), p.key) << p.command;
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
        const uint64_t with = polyglot_key(position_from((fen + " " + c.ep + " 0 1").c_str()));
        EXPECT_EQ(with != polyglot_key(position_from((fen + " - 0 1").c_str())), c.counts) << c.board;
    }
}

}  // namespace
