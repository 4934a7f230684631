#include <gtest/gtest.h>

#include "board/position.h"
#include "board/zobrist.h"
#include "board_test_util.h"

TEST(Zobrist, GeneratorProducesThePublishedKeys) {
    EXPECT_EQ(zobrist_piece[W_PAWN][A1], 0xD71C00A34D25E912ULL);
    EXPECT_EQ(zobrist_piece[W_PAWN][B1], 0xA40D861AB367A640ULL);
    EXPECT_EQ(zobrist_castling[0], 0x5F998ED742965DBEULL);
    EXPECT_EQ(zobrist_castling[15], 0x76A116F6E9598FC0ULL);
    EXPECT_EQ(zobrist_ep[0], 0x3C43F26BFAAECCDFULL);
    EXPECT_EQ(zobrist_side, 0xE89C266A54A6A5F2ULL);
}

TEST(Fen, StartPositionFields) {
    Position& pos = position_from(START_FEN);
    EXPECT_TRUE(pos.side == WHITE && pos.castling == 15 && pos.ep_square == NO_SQUARE);
    EXPECT_TRUE(pos.halfmove_clock == 0 && pos.fullmove_number == 1 && pos.history_len == 0);
    EXPECT_EQ(pos.hash, 0xE2ADAAD23B96D882ULL);
    EXPECT_EQ(pos.psq_score, 0);
    EXPECT_EQ(popcount(pos.occupied), 32);
    EXPECT_EQ(pos.color_bb[WHITE] | pos.color_bb[BLACK], pos.occupied);
    EXPECT_TRUE(pos.board[E1] == W_KING && pos.board[D8] == B_QUEEN);
}

TEST(Fen, MissingFieldsTakeDefaultsAndGivenOnesAreRead) {
    // No castling field still keys the rights value 0.
    const uint64_t kings = zobrist_piece[W_KING][E1] ^ zobrist_piece[B_KING][E8] ^ zobrist_castling[0];
    Position& pos = position_from("4k3/8/8/8/8/8/8/4K3");
    EXPECT_TRUE(pos.side == WHITE && pos.castling == 0 && pos.ep_square == NO_SQUARE);
    EXPECT_TRUE(pos.halfmove_clock == 0 && pos.fullmove_number == 1);
    EXPECT_EQ(pos.hash, kings);
    position_from("4k3/8/8/8/8/8/8/4K3 b - - 37 112");
    EXPECT_TRUE(pos.side == BLACK && pos.castling == 0 && pos.halfmove_clock == 37 && pos.fullmove_number == 112);
    EXPECT_EQ(pos.hash, kings ^ zobrist_side);
}

TEST(Fen, EnPassantSquareIsKeyedWhetherOrNotUsable) {
    Position& with_ep = position_from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_EQ(with_ep.ep_square, E3);
    EXPECT_EQ(with_ep.hash, 0x9920CA2C579D60A6ULL);
    uint64_t key_with = with_ep.hash;
    Position& without = position_from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(key_with ^ without.hash, zobrist_ep[4]);
}

TEST(Fen, UnplaceableCharacterStopsWithPartialRecord) {
    Position pos;
    EXPECT_FALSE(parse_fen(pos, "4k3/8/8/8/8/8/8/4K2X w KQ - 5 9"));
    EXPECT_TRUE(pos.board[E8] == B_KING && pos.board[E1] == W_KING && pos.side == WHITE);
    EXPECT_TRUE(pos.castling == 0 && pos.halfmove_clock == 0 && pos.ep_square == 0);
    EXPECT_FALSE(parse_fen(pos, "4k3/9/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(parse_fen(pos, "4k3/0/8/8/8/8/8/4K3 w - - 0 1"));
}

TEST(Fen, HostileFieldsStayInsideTheBoard) {
    Position pos;
    // Too many squares in a rank, too many ranks: refused, nothing placed off the board.
    EXPECT_FALSE(parse_fen(pos, "rnbqkbnrr/8/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_FALSE(parse_fen(pos, "8/8/8/8/8/8/8/8/k7 w - - 0 1"));
    EXPECT_EQ(pos.occupied, 0u);
    // En-passant text off the board is ignored, not used as an index.
    EXPECT_TRUE(parse_fen(pos, "4k3/8/8/8/8/8/8/4K3 w - z9 0 1"));
    EXPECT_EQ(pos.ep_square, NO_SQUARE);
    EXPECT_TRUE(parse_fen(pos, "4k3/8/8/8/8/8/8/4K3 w - e"));
    EXPECT_EQ(pos.ep_square, NO_SQUARE);
    // Non-digits in the clocks and huge numbers do not overflow.
    EXPECT_TRUE(parse_fen(pos, "4k3/8/8/8/8/8/8/4K3 w - - x7 99999999999999999999"));
    EXPECT_EQ(pos.halfmove_clock, 7);
    EXPECT_GT(pos.fullmove_number, 0);
}

TEST(Fen, CastlingRightsNeedKingAndRookAtHome) {
    Position& pos = position_from("r3k3/8/8/8/8/8/8/4K2R w KQkq - 0 1");
    EXPECT_EQ(pos.castling, WHITE_OO | BLACK_OOO);
    Position& bare = position_from("8/8/8/8/8/8/8/8 w KQkq - 0 1");
    EXPECT_EQ(bare.castling, 0);
    EXPECT_EQ(bare.hash, zobrist_castling[0]);
}
