#include <gtest/gtest.h>

#include "search/history.h"
#include "search/search.h"

namespace {

TEST(History, GravitySlowsGrowthNearTheLimit) {
    int32_t v = 10000;
    apply_gravity(v, 64);
    EXPECT_EQ(v, 10025);
    v = -10000;
    apply_gravity(v, -64);
    EXPECT_EQ(v, -10025);
    v = 0;
    for (int i = 0; i < 10000; ++i) apply_gravity(v, 127 * 127);
    EXPECT_LE(v, 16384);
    EXPECT_GT(v, 16000);
}

TEST(History, AgingHalvesTowardZeroAndClearsKillersOnly) {
    clear_search_tables();
    quiet_history[WHITE][E2][E4] = -7;
    quiet_history[BLACK][E7][E5] = 7;
    cont_history[W_KNIGHT][F3][B_PAWN][D5] = -9;
    killers[3][0] = 123;
    counter_moves[W_KNIGHT][F3] = 456;
    age_search_tables();
    EXPECT_EQ(quiet_history[WHITE][E2][E4], -3);
    EXPECT_EQ(quiet_history[BLACK][E7][E5], 3);
    EXPECT_EQ(cont_history[W_KNIGHT][F3][B_PAWN][D5], -4);
    EXPECT_EQ(killers[3][0], 0);
    EXPECT_EQ(counter_moves[W_KNIGHT][F3], 456);
    clear_search_tables();
    EXPECT_EQ(counter_moves[W_KNIGHT][F3], 0);
    EXPECT_EQ(cont_history[W_KNIGHT][F3][B_PAWN][D5], 0);
}

TEST(History, CutoffRewardsTheBestMoveAndPenalisesTheOthers) {
    clear_search_tables();
    Position pos;
    parse_fen(pos, "4k3/8/8/8/8/5N2/4P3/4K3 w - - 0 1");
    const Move best = make_move_value(F3, G5, QUIET);
    const Move tried = make_move_value(E2, E3, QUIET);
    const Move quiets[] = {tried, best};
    // Black's last move was a pawn arriving on d5.
    record_quiet_cutoff(pos, best, 4, quiets, 2, 5, B_PAWN, D5);
    EXPECT_EQ(quiet_history[WHITE][F3][G5], 25);
    EXPECT_EQ(quiet_history[WHITE][E2][E3], -25);
    EXPECT_EQ(cont_history[B_PAWN][D5][W_KNIGHT][G5], 25);
    EXPECT_EQ(cont_history[B_PAWN][D5][W_PAWN][E3], -25);
    EXPECT_EQ(killers[4][0], best);
    EXPECT_EQ(counter_moves[B_PAWN][D5], best);

    // A second killer pushes the first into slot 1; repeating the newest changes nothing.
    record_quiet_cutoff(pos, tried, 4, quiets, 0, 1, NO_PIECE, 0);
    record_quiet_cutoff(pos, tried, 4, quiets, 0, 1, NO_PIECE, 0);
    EXPECT_EQ(killers[4][0], tried);
    EXPECT_EQ(killers[4][1], best);
    EXPECT_EQ(counter_moves[B_PAWN][D5], best) << "no previous move: counter moves untouched";
    clear_search_tables();
}

}  // namespace
