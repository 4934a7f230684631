#include <gtest/gtest.h>

#include "book/book.h"
#include "book_builder.h"

namespace {

struct PublishedKey {
    const char* command;
    uint64_t key;
};

// Keys published with the book format, including the two en-passant cases
// where a pawn of the side to move really can capture.
constexpr PublishedKey PUBLISHED_KEYS[] = {
    {"position startpos", 0x463B96181691FC9CULL},
    {"position startpos moves e2e4", 0x823C9B50FD114196ULL},
    {"position startpos moves e2e4 d7d5", 0x0756B94461C50FB0ULL},
    {"position startpos moves e2e4 d7d5 e4e5", 0x662FAFB965DB29D4ULL},
    {"position startpos moves e2e4 d7d5 e4e5 f7f5", 0x22A48B5A8E47FF78ULL},
    {"position startpos moves e2e4 d7d5 e4e5 f7f5 e1e2", 0x652A607CA3F242C1ULL},
    {"position startpos moves e2e4 d7d5 e4e5 f7f5 e1e2 e8f7", 0x00FDD303C946BDD9ULL},
    {"position startpos moves a2a4 b7b5 h2h4 b5b4 c2c4", 0x3C8123EA7B067637ULL},
};

TEST(PolyglotKey, MatchesPublishedKeys) {
    for (const PublishedKey& published : PUBLISHED_KEYS) {
        Position pos = position_from(published.command);
        EXPECT_EQ(polyglot_key(pos), published.key) << published.command;
    }
}

TEST(PolyglotKey, EnPassantSquareWithoutCapturerIsIgnored) {
    // After e2e4 no black pawn stands beside e4, so the e3 square adds nothing.
    Position with_ep = position_from("position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    Position without_ep = position_from("position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(polyglot_key(with_ep), polyglot_key(without_ep));

    // A capturer on either side counts, also on the board's edge files.
    Position a_file = position_from("position fen 4k3/8/8/8/Pp6/8/8/4K3 b - a3 0 1");
    Position a_file_none = position_from("position fen 4k3/8/8/8/Pp6/8/8/4K3 b - - 0 1");
    EXPECT_NE(polyglot_key(a_file), polyglot_key(a_file_none));
    Position h_file = position_from("position fen 4k3/8/8/6pP/8/8/8/4K3 w - g6 0 1");
    Position h_file_none = position_from("position fen 4k3/8/8/6pP/8/8/8/4K3 w - - 0 1");
    EXPECT_NE(polyglot_key(h_file), polyglot_key(h_file_none));
    // A pawn of the other colour beside the square does not.
    Position wrong_colour = position_from("position fen 4k3/8/8/8/PP6/8/8/4K3 b - a3 0 1");
    Position wrong_colour_none = position_from("position fen 4k3/8/8/8/PP6/8/8/4K3 b - - 0 1");
    EXPECT_EQ(polyglot_key(wrong_colour), polyglot_key(wrong_colour_none));
}

TEST(PolyglotKey, StrayEnPassantSquareStaysInsideTheTable) {
    // An en-passant square on the first rank can only come from a broken FEN.
    Position pos = position_from("position fen 4k3/8/8/8/8/8/8/4K3 w - b1 0 1");
    Position plain = position_from("position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(polyglot_key(pos), polyglot_key(plain));
}

}  // namespace
