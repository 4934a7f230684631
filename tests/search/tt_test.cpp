#include <gtest/gtest.h>

#include "platform/memory.h"
#include "search/tt.h"

namespace {

struct TranspositionTable : ::testing::Test {
    void SetUp() override {
        tt_resize(1);
        tt_clear();
    }
    void TearDown() override { tt_resize(256); }
};

// Two keys that share slot 5 of a 65536-slot table.
constexpr uint64_t KEY_A = 0x1234000000000005ULL;
constexpr uint64_t KEY_B = 0x9876000000000005ULL;

bool table_is_zero() {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(tt_table);
    for (uint64_t i = 0; i < tt_count * sizeof(TTEntry); ++i)
        if (bytes[i]) return false;
    return true;
}

TEST_F(TranspositionTable, ProbeReturnsWhatWasStoredUnderTheSameKey) {
    tt_store(KEY_A, 50, BOUND_EXACT, 9, 1, 0);
    tt_store(KEY_A, -123, BOUND_UPPER, 7, 0x1234, 0);  // same key: a shallower result overwrites
    TTProbe p = tt_probe(KEY_A, 0);
    ASSERT_TRUE(p.hit);
    EXPECT_EQ(p.score, -123);
    EXPECT_EQ(p.bound, BOUND_UPPER);
    EXPECT_EQ(p.depth, 7);
    EXPECT_EQ(p.move, 0x1234);
    EXPECT_FALSE(tt_probe(KEY_B, 0).hit) << "same slot, other key";
    tt_store(KEY_A, 0, BOUND_EXACT, 300, 0, 0);
    EXPECT_EQ(tt_probe(KEY_A, 0).depth, 255) << "depth is capped";
}

TEST_F(TranspositionTable, ReplacementByDepthAndGeneration) {
    // Any two keys sharing a slot, small ones included: only 0 marks an empty slot.
    for (auto [a, b] : {std::pair<uint64_t, uint64_t>{KEY_A, KEY_B}, {1, 65537}}) {
        tt_clear();
        tt_store(a, 50, BOUND_EXACT, 9, 1, 0);
        tt_store(b, 60, BOUND_EXACT, 8, 2, 0);  // shallower, same search: kept out
        EXPECT_TRUE(tt_probe(a, 0).hit && !tt_probe(b, 0).hit) << a;
        tt_store(b, 60, BOUND_EXACT, 9, 2, 0);  // equal depth replaces
        EXPECT_TRUE(tt_probe(b, 0).hit) << a;
        tt_store(a, 50, BOUND_EXACT, 9, 1, 0);
        ++tt_generation;  // the next go
        tt_store(b, 60, BOUND_EXACT, 1, 2, 0);
        EXPECT_TRUE(tt_probe(b, 0).hit) << a;
    }
    // The generation wraps at 256, and entries of generation 0 count as current again.
    tt_generation = 0;
    tt_store(KEY_A, 1, BOUND_EXACT, 9, 1, 0);
    tt_generation = 255;
    ++tt_generation;
    EXPECT_EQ(tt_generation, 0);
    tt_store(KEY_B, 2, BOUND_EXACT, 3, 2, 0);
    EXPECT_TRUE(tt_probe(KEY_A, 0).hit);
    // A quiescence store (depth 0) yields to search entries only.
    tt_store(KEY_A, 5, BOUND_EXACT, 1, 1, 0);
    tt_store(KEY_B, 6, BOUND_EXACT, 0, 2, 0);
    EXPECT_FALSE(tt_probe(KEY_B, 0).hit);
    tt_store(KEY_A, 5, BOUND_EXACT, 0, 1, 0);
    tt_store(KEY_B, 6, BOUND_EXACT, 0, 2, 0);
    EXPECT_TRUE(tt_probe(KEY_B, 0).hit);
}

TEST_F(TranspositionTable, MateScoresAreStoredFromTheNode) {
    struct Case {
        int score, store_ply, stored, probe_ply, probed;
    };
    const Case cases[] = {
        {30995, 5, 31000, 3, 30997},
        {-30990, 4, -30994, 6, -30988},
        {29999, 9, 29999, 2, 29999},     // not a mate: unchanged
        {-30871, 10, -30881, 10, -30871},  // tablebase losses count as mates here
    };
    for (const Case& c : cases) {
        tt_store(KEY_A, c.score, BOUND_EXACT, 4, 0, c.store_ply);
        EXPECT_EQ(tt_table[KEY_A & (tt_count - 1)].score, c.stored) << c.score;
        EXPECT_EQ(tt_probe(KEY_A, c.probe_ply).score, c.probed) << c.score;
    }
}

TEST_F(TranspositionTable, ClearEmptiesEverySlotFewOrMany) {
    tt_generation = 7;
    tt_store(KEY_A, 10, BOUND_EXACT, 3, 0x170C, 0);
    tt_store(KEY_A, 11, BOUND_LOWER, 4, 0x170C, 0);  // same slot twice
    tt_clear();
    EXPECT_TRUE(table_is_zero());
    EXPECT_EQ(tt_generation, 0);

    // More filled slots than the fill record holds: the clear falls back to zeroing everything.
    tt_resize(32);
    for (uint64_t i = 1; i <= uint64_t(TT_FILLED_CAPACITY) + 1000; ++i)
        tt_store(i, 1, BOUND_EXACT, 1, 0, 0);  // consecutive keys fill distinct slots
    ASSERT_GT(tt_filled_count, uint64_t(TT_FILLED_CAPACITY));
    tt_clear();
    EXPECT_TRUE(table_is_zero());
}

// Committing runs between searches on a table already in use: it must keep
// every entry, leave the rest zero, and start again on a resized table.
TEST_F(TranspositionTable, CommittingKeepsTheContents) {
    for (int mb : {1, 2, 32}) {  // with 2 MB huge pages: half a commit step, one step, sixteen steps
        tt_resize(mb);
        const uint64_t keys[] = {KEY_A, tt_count / 2 + 3, tt_count - 1};
        tt_store(keys[0], 10, BOUND_EXACT, 3, 100, 0);
        ASSERT_TRUE(tt_commit_step()) << mb;
        tt_store(keys[1], 11, BOUND_LOWER, 4, 101, 0);
        tt_store(keys[2], 12, BOUND_UPPER, 5, 102, 0);
        int steps = 1;
        while (tt_commit_step()) ++steps;
        const uint64_t huge_page = huge_page_size();
        EXPECT_EQ(uint64_t(steps), ((uint64_t(mb) << 20) + huge_page - 1) / huge_page) << "one step per huge page";
        tt_commit_all();
        for (int i = 0; i < 3; ++i) {
            TTProbe p = tt_probe(keys[i], 0);
            EXPECT_TRUE(p.hit && p.score == 10 + i && p.bound == i && p.depth == 3 + i && p.move == 100 + i) << mb;
        }
        tt_clear();
        EXPECT_TRUE(table_is_zero()) << "nothing but the entries was written, " << mb;
    }
}

TEST_F(TranspositionTable, NoTableMeansMissesAndIgnoredStores) {
    tt_free();
    tt_store(KEY_A, 1, BOUND_EXACT, 1, 1, 0);
    EXPECT_FALSE(tt_probe(KEY_A, 0).hit);
    EXPECT_FALSE(tt_commit_step());
    tt_clear();
    EXPECT_EQ(tt_generation, 0);
}

}  // namespace
