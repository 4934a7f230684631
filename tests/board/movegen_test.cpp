#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "board/movegen.h"
#include "board_test_util.h"

namespace {

std::vector<std::string> texts(const Move* begin, const Move* end) {
    std::vector<std::string> out;
    for (const Move* m = begin; m < end; ++m) out.push_back(move_to_str(*m));
    return out;
}

std::vector<std::string> pseudo_legal(const char* fen) {
    Move moves[MAX_MOVES];
    Position& pos = position_from(fen);
    return texts(moves, generate_moves(pos, moves));
}

bool contains(const std::vector<std::string>& list, const std::string& move) {
    return std::find(list.begin(), list.end(), move) != list.end();
}

}  // namespace

TEST(Move, ValuesAndTexts) {
    const struct {
        int from, to, kind;
        Move value;
        const char* text;
    } cases[] = {{E2, E4, DOUBLE_PUSH, 0x170C, "e2e4"},
                 {E1, G1, KING_CASTLE, 0x2184, "e1g1"},
                 {E8, C8, QUEEN_CASTLE, 0x3EBC, "e8c8"},
                 {A7, A8, PROMO_QUEEN, 0xBE30, "a7a8q"},
                 {B7, A8, PROMO_CAPTURE_KNIGHT, 0xCE31, "b7a8n"}};
    for (const auto& c : cases) {
        EXPECT_EQ(make_move_value(c.from, c.to, c.kind), c.value) << c.text;
        EXPECT_STREQ(move_to_str(c.value), c.text);
    }
    EXPECT_STREQ(move_to_str(NO_MOVE), "0000");
    EXPECT_STREQ(move_to_str(NULL_MOVE), "0000");
    EXPECT_TRUE(is_capture(0xCE31) && is_promotion(0xCE31) && !is_capture(0xBE30));
    EXPECT_EQ(promotion_type(0xCE31), KNIGHT);
    EXPECT_EQ(promotion_type(0xBE30), QUEEN);
}

TEST(MoveGen, StartPositionOrder) {
    std::vector<std::string> expected = {"a2a3", "b2b3", "c2c3", "d2d3", "e2e3", "f2f3", "g2g3", "h2h3",
                                         "a2a4", "b2b4", "c2c4", "d2d4", "e2e4", "f2f4", "g2g4", "h2h4",
                                         "b1a3", "b1c3", "g1f3", "g1h3"};
    EXPECT_EQ(pseudo_legal(START_FEN), expected);
}

TEST(MoveGen, PromotionsComeQueenFirstPushBeforeCaptures) {
    // Black mirrors White: push first, then origin target+7 (towards h), then target+9.
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"n1n4k/1P6/8/8/8/8/8/K7 w - - 0 1",
         {"b7b8q", "b7b8r", "b7b8b", "b7b8n", "b7a8q", "b7a8r", "b7a8b", "b7a8n", "b7c8q", "b7c8r", "b7c8b", "b7c8n"}},
        {"k7/8/8/8/8/8/1p6/N1N4K b - - 0 1",
         {"b2b1q", "b2b1r", "b2b1b", "b2b1n", "b2c1q", "b2c1r", "b2c1b", "b2c1n", "b2a1q", "b2a1r", "b2a1b", "b2a1n"}},
    };
    for (const auto& [fen, expected] : cases) {
        auto moves = pseudo_legal(fen);
        ASSERT_GE(moves.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(moves.begin(), moves.begin() + 12), expected) << fen;
    }
}

TEST(MoveGen, EnPassantNeedsAnAdjacentPawn) {
    EXPECT_TRUE(contains(pseudo_legal("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"), "e5d6"));
    auto lonely = pseudo_legal("4k3/8/8/3p4/8/8/4P3/4K3 w - d6 0 1");
    EXPECT_FALSE(contains(lonely, "e5d6"));
    for (const std::string& m : lonely) EXPECT_NE(m.substr(2), "d6");
}

TEST(MoveGen, CastlingThroughAttacks) {
    // A bishop eyeing b1 alone does not stop queen-side castling; one on d1's diagonal does.
    EXPECT_TRUE(contains(pseudo_legal("4k3/8/8/8/8/8/b7/R3K3 w Q - 0 1"), "e1c1"));
    EXPECT_FALSE(contains(pseudo_legal("4k3/8/8/8/8/5b2/8/R3K3 w Q - 0 1"), "e1c1"));
    EXPECT_FALSE(contains(pseudo_legal("4k3/8/8/8/8/8/8/RN2K3 w Q - 0 1"), "e1c1"));
    EXPECT_FALSE(contains(pseudo_legal("4k3/8/8/8/8/8/8/4K2R w - - 0 1"), "e1g1"));
    EXPECT_FALSE(contains(pseudo_legal("4k3/4r3/8/8/8/8/8/4K2R w K - 0 1"), "e1g1"));
    EXPECT_TRUE(contains(pseudo_legal("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1"), "e8g8"));
    EXPECT_TRUE(contains(pseudo_legal("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1"), "e8c8"));
}

TEST(MoveGen, CapturesIncludeQuietPromotionsButNoQuietMoves) {
    Move moves[MAX_MOVES];
    Position& pos = position_from("4k3/P7/8/8/8/8/8/R3K3 w - - 0 1");
    auto caps = texts(moves, generate_captures(pos, moves));
    std::vector<std::string> expected = {"a7a8q", "a7a8r", "a7a8b", "a7a8n"};
    EXPECT_EQ(caps, expected);
    Position& start = position_from(START_FEN);
    EXPECT_EQ(generate_captures(start, moves), moves);
}

TEST(MoveGen, NoKingMeansNoLegalMoves) {
    MoveList list;
    generate_legal_moves(position_from("4k3/8/8/8/8/8/8/R7 w - - 0 1"), list);
    EXPECT_EQ(list.count, 0);
}

TEST(MoveGen, HugeMoveCountsAreCappedNotOverflowed) {
    Move moves[MAX_MOVES + 16];
    for (Move& m : moves) m = 0xFFFF;
    // A wall of queens with 263 pseudo-legal moves: the list stops at its capacity.
    Position& pos = position_from("nQQQQQQQ/1Q5Q/Q6Q/Q6Q/Q2Q2QQ/Q6Q/Q5QQ/kQQNQQ1K w - - 0 1");
    Move* end = generate_moves(pos, moves);
    EXPECT_EQ(end - moves, MAX_MOVES);
    for (int i = MAX_MOVES; i < MAX_MOVES + 16; ++i) EXPECT_EQ(moves[i], 0xFFFF);
}
