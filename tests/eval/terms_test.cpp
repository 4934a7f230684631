// Term values worked out by hand for small positions.
#include <gtest/gtest.h>

#include "eval/pawns.h"
#include "eval/terms.h"

namespace {

Position pos;

const Position& setup(const char* fen) {
    parse_fen(pos, fen);
    return pos;
}

TEST(EvalTerms, PawnStructure) {
    // a2 and a3: each doubled and isolated; passed on relative ranks 1 and 2.
    EXPECT_EQ(eval_pawns(setup("4k3/8/8/8/8/P7/P7/4K3 w - - 0 1")), make_score(-15, -13));
    // d4 connected (e3 one rank behind) and a candidate (e3 against e5); e3 plain;
    // Black's e5 isolated.
    EXPECT_EQ(eval_pawns(setup("4k3/8/8/4p3/3P4/4P3/8/4K3 w - - 0 1")), make_score(26, 38));
    // d3 and e5 are mirror images: each isolated and backward.
    EXPECT_EQ(eval_pawns(setup("4k3/8/8/4p3/8/3P4/8/4K3 w - - 0 1")), 0);
    EXPECT_EQ(pawn_structure(setup("4k3/8/8/4p3/8/3P4/8/4K3 w - - 0 1")), 0);
    EXPECT_EQ(pawn_structure(setup("4k3/8/8/8/8/3P4/8/4K3 w - - 0 1")), make_score(-11 + 12, -15 + 23));
    // d4 is connected through c3 and e3 behind it; c3 and e3 are not (d4 is ahead of them).
    EXPECT_EQ(pawn_structure(setup("4k3/8/8/8/3P4/2P1P3/8/4K3 w - - 0 1")),
              make_score(12 + 12 + 24 + 5, 23 + 23 + 31 + 8));
}

TEST(EvalTerms, Mobility) {
    // Knight d4 on an empty board reaches 8 squares.
    EXPECT_EQ(eval_mobility(setup("4k3/8/8/8/3N4/8/8/4K3 w - - 0 1"), WHITE), make_score(37, 25));
    // Its own pawn on c2 and the square f5 covered by g6 leave 6.
    EXPECT_EQ(eval_mobility(setup("4k3/8/6p1/8/3N4/8/2P5/4K3 w - - 0 1"), WHITE), make_score(21, 16));
    // The own king's square is outside the area: knight c2 keeps 5 of its 6 squares.
    EXPECT_EQ(eval_mobility(setup("4k3/8/8/8/8/8/2N5/4K3 w - - 0 1"), WHITE), make_score(12, 13));
    // A queen's 27 squares use the last entry.
    EXPECT_EQ(eval_mobility(setup("k7/8/8/8/3Q4/8/8/7K w - - 0 1"), WHITE), make_score(7, 28));
    EXPECT_EQ(eval_mobility(setup("k7/8/8/8/3Q4/8/8/7K w - - 0 1"), BLACK), 0);
}

TEST(EvalTerms, Outposts) {
    EXPECT_EQ(eval_outposts(setup("4k3/8/8/4N3/3P4/8/8/4K3 w - - 0 1"), WHITE), make_score(30, 18));
    EXPECT_EQ(eval_outposts(setup("4k3/8/8/N7/8/8/8/4K3 w - - 0 1"), WHITE), make_score(10, 5));
    // A black pawn on d7 could still drive the knight away: e5 lies below e6, which d7 covers.
    EXPECT_EQ(eval_outposts(setup("4k3/3p4/8/4N3/3P4/8/8/4K3 w - - 0 1"), WHITE), 0);
    // Dark bishop c1 behind the blocked light-squared pawn e4.
    EXPECT_EQ(eval_outposts(setup("4k3/8/8/4p3/4P3/8/8/2B1K3 w - - 0 1"), WHITE), make_score(-4, -6));
    // Black's outposts are on its fifth to third ranks: a knight on d4 supported by e5.
    EXPECT_EQ(eval_outposts(setup("4k3/8/8/4p3/3n4/8/8/4K3 b - - 0 1"), BLACK), make_score(30, 18));
}

TEST(EvalTerms, Rooks) {
    EXPECT_EQ(eval_rooks(setup("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), WHITE), make_score(47, 26));
    EXPECT_EQ(eval_rooks(setup("4k3/8/8/p7/8/8/8/R3K3 w - - 0 1"), WHITE), make_score(20, 13));
    EXPECT_EQ(eval_rooks(setup("4k3/8/8/8/8/8/P7/R3K3 w - - 0 1"), WHITE), 0);
    EXPECT_EQ(eval_rooks(setup("4k3/3R4/8/8/8/8/8/4K3 w - - 0 1"), WHITE), make_score(74, 59));
    // Seventh rank without a king on the eighth or pawns on the seventh: only the open file.
    EXPECT_EQ(eval_rooks(setup("8/3R4/4k3/8/8/8/8/4K3 w - - 0 1"), WHITE), make_score(47, 26));
    // ... but a pawn there makes it count (the pawn is on another file).
    EXPECT_EQ(eval_rooks(setup("8/3R1p2/4k3/8/8/8/8/4K3 w - - 0 1"), WHITE), make_score(74, 59));
    EXPECT_EQ(eval_rooks(setup("4k3/8/8/8/8/8/3r4/6K1 b - - 0 1"), BLACK), make_score(74, 59));
}

TEST(EvalTerms, Threats) {
    EXPECT_EQ(eval_threats(setup("4k3/2r1q3/8/3N4/8/8/8/4K3 w - - 0 1"), WHITE), make_score(95, 45));
    // Pawns hitting a knight and a rook, each bonus once.
    EXPECT_EQ(eval_threats(setup("4k3/8/8/n1r5/1P1P4/8/8/4K3 w - - 0 1"), WHITE), make_score(115, 45));
    EXPECT_EQ(eval_threats(setup("4k3/8/8/n1r5/1P1P4/8/8/4K3 w - - 0 1"), BLACK), 0);
    EXPECT_EQ(eval_threats(setup("4k3/8/4r3/8/8/1B6/8/4K3 w - - 0 1"), WHITE), make_score(45, 20));
    // A bishop's attacks stop at the first piece.
    EXPECT_EQ(eval_threats(setup("4k3/8/4r3/8/2P5/1B6/8/4K3 w - - 0 1"), WHITE), 0);
}

TEST(EvalTerms, KingDanger) {
    // Queen h4 reaches h2 in the zone (5) and checks safely on h2 (6): 11 units.
    EXPECT_EQ(eval_king_danger(setup("4k3/8/8/8/7q/8/5PPP/6K1 w - - 0 1"), WHITE), 24);
    // With two queens only the one on the lower square (a3) is asked for a check:
    // h4 still reaches the zone (5 units) but its check on h2 does not count.
    EXPECT_EQ(eval_king_danger(setup("4k3/8/8/8/7q/q7/5PPP/4R1K1 w - - 0 1"), WHITE), 5);
    // Shelter only: two missing files on the rim, three in the centre, 10 where the enemy has a pawn.
    EXPECT_EQ(eval_king_danger(setup("4k3/8/8/8/8/8/8/K7 w - - 0 1"), WHITE), 40);
    EXPECT_EQ(eval_king_danger(setup("4k3/8/8/8/8/8/8/K7 w - - 0 1"), BLACK), 60);
    EXPECT_EQ(eval_king_danger(setup("4k3/8/8/8/3p4/8/8/K7 w - - 0 1"), BLACK), 40);
    EXPECT_EQ(eval_king_danger(setup("4k3/4p3/8/8/3P4/8/8/K7 w - - 0 1"), BLACK), 30);
    // No king, no danger.
    EXPECT_EQ(eval_king_danger(setup("8/8/8/8/8/8/8/K7 w - - 0 1"), BLACK), 0);
}

TEST(EvalTerms, PassedPawnExtras) {
    // d7 against kings e1 (own, distance 6) and a8 (enemy, distance 3), relative rank 6:
    // (24 - 30) * 6 / 6 = -6; the black queen makes the bare-king race void.
    EXPECT_EQ(eval_passed_extras(setup("k7/3P4/8/8/8/8/8/4K2q w - - 0 1")), make_score(0, -6));
    // d5 with kings at 4 and 3: (24 - 20) * 4 / 6 = 2. A rook behind the pawn adds 3 per
    // rank, the enemy's queen behind it costs 5 per rank.
    EXPECT_EQ(eval_passed_extras(setup("k7/8/8/3P4/8/8/8/3RK2q w - - 0 1")), make_score(0, 2 + 12));
    EXPECT_EQ(eval_passed_extras(setup("k7/8/8/3P4/8/8/8/3qK3 w - - 0 1")), make_score(0, 2 - 20));
    // Against a bare king: h2 needs 5 moves (double step); the king on a4 is 7 steps from h8.
    EXPECT_EQ(eg_value(eval_passed_extras(setup("8/8/8/8/k7/8/7P/7K w - - 0 1"))), 600 + (8 * 7 - 5 * 1) * 1 / 6);
    // The king on b5 is 6 steps from h8: enough with White to move, one short with Black to move.
    EXPECT_EQ(eg_value(eval_passed_extras(setup("8/8/8/1k6/8/8/7P/7K w - - 0 1"))), 600 + (8 * 6 - 5) / 6);
    EXPECT_EQ(eg_value(eval_passed_extras(setup("8/8/8/1k6/8/8/7P/7K b - - 0 1"))), (8 * 6 - 5) / 6);
    // The king on d4 is 4 steps away: no bonus.
    EXPECT_EQ(eg_value(eval_passed_extras(setup("8/8/8/8/3k4/8/7P/7K w - - 0 1"))), (8 * 4 - 5) / 6);
}

}  // namespace
