#include <gtest/gtest.h>

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

TEST_F(TranspositionTable, SizesArePowersOfTwoOfSixteenByteSlots) {
    tt_resize(1);
    EXPECT_EQ(tt_count, 65536u);
    tt_resize(256);
    EXPECT_EQ(tt_count, uint64_t(1) << 24);
    tt_resize(2048);
    EXPECT_EQ(tt_count, uint64_t(1) << 27);
    ASSERT_NE(tt_table, nullptr);
    tt_resize(3);  // not a power of two: 3 MB hold 2^17 slots with room to spare
    EXPECT_EQ(tt_count, uint64_t(1) << 17);
}

TEST_F(TranspositionTable, ResizeKeepsGenerationAndEmptiesTheTable) {
    tt_generation = 7;
    tt_store(KEY_A, 10, BOUND_EXACT, 3, 100, 0);
    tt_resize(2);
    EXPECT_EQ(tt_generation, 7);
    EXPECT_FALSE(tt_probe(KEY_A, 0).hit);
}

TEST_F(TranspositionTable, ProbeReturnsWhatWasStored) {
    tt_store(KEY_A, -123, BOUND_UPPER, 7, 0x1234, 0);
    TTProbe p = tt_probe(KEY_A, 0);
    ASSERT_TRUE(p.hit);
    EXPECT_EQ(p.score, -123);
    EXPECT_EQ(p.bound, BOUND_UPPER);
    EXPECT_EQ(p.depth, 7);
    EXPECT_EQ(p.move, 0x1234);
    EXPECT_FALSE(tt_probe(KEY_B, 0).hit) << "same slot, other key";
}

TEST_F(TranspositionTable, SameKeyIsOverwrittenEvenByAShallowerResult) {
    tt_store(KEY_A, 50, BOUND_EXACT, 9, 1, 0);
    tt_store(KEY_A, 60, BOUND_LOWER, 2, 2, 0);
    TTProbe p = tt_probe(KEY_A, 0);
    EXPECT_EQ(p.depth, 2);
    EXPECT_EQ(p.score, 60);
}

TEST_F(TranspositionTable, DeeperEntryOfCurrentSearchSurvivesUntilTheNextGeneration) {
    tt_store(KEY_A, 50, BOUND_EXACT, 9, 1, 0);
    tt_store(KEY_B, 60, BOUND_EXACT, 8, 2, 0);
    EXPECT_TRUE(tt_probe(KEY_A, 0).hit);
    EXPECT_FALSE(tt_probe(KEY_B, 0).hit);
    tt_store(KEY_B, 60, BOUND_EXACT, 9, 2, 0);  // equal depth replaces
    EXPECT_TRUE(tt_probe(KEY_B, 0).hit);

    tt_store(KEY_A, 50, BOUND_EXACT, 9, 1, 0);
    ++tt_generation;  // the next go
    tt_store(KEY_B, 60, BOUND_EXACT, 1, 2, 0);
    EXPECT_TRUE(tt_probe(KEY_B, 0).hit);
}

TEST_F(TranspositionTable, QuiescenceStoreYieldsToSearchEntriesOnly) {
    tt_store(KEY_A, 5, BOUND_EXACT, 1, 1, 0);
    tt_store(KEY_B, 6, BOUND_EXACT, 0, 2, 0);
    EXPECT_FALSE(tt_probe(KEY_B, 0).hit);
    tt_store(KEY_A, 5, BOUND_EXACT, 0, 1, 0);
    tt_store(KEY_B, 6, BOUND_EXACT, 0, 2, 0);
    EXPECT_TRUE(tt_probe(KEY_B, 0).hit);
}

TEST_F(TranspositionTable, MateScoresAreStoredFromTheNode) {
    tt_store(KEY_A, 30995, BOUND_EXACT, 4, 0, 5);
    EXPECT_EQ(tt_table[KEY_A & (tt_count - 1)].score, 31000);
    EXPECT_EQ(tt_probe(KEY_A, 3).score, 30997);

    tt_store(KEY_A, -30990, BOUND_EXACT, 4, 0, 4);
    EXPECT_EQ(tt_table[KEY_A & (tt_count - 1)].score, -30994);
    EXPECT_EQ(tt_probe(KEY_A, 6).score, -30988);

    tt_store(KEY_A, 29999, BOUND_EXACT, 4, 0, 9);  // not a mate: unchanged
    EXPECT_EQ(tt_probe(KEY_A, 2).score, 29999);
    tt_store(KEY_A, -30871, BOUND_UPPER, 4, 0, 10);  // tablebase losses count as mates here
    EXPECT_EQ(tt_table[KEY_A & (tt_count - 1)].score, -30881);
    EXPECT_EQ(tt_probe(KEY_A, 10).score, -30871);
}

TEST_F(TranspositionTable, DepthIsCappedAt255) {
    tt_store(KEY_A, 0, BOUND_EXACT, 300, 0, 0);
    EXPECT_EQ(tt_probe(KEY_A, 0).depth, 255);
}

TEST_F(TranspositionTable, ClearEmptiesEverySlotAndResetsTheGeneration) {
    tt_generation = 42;
    tt_store(KEY_A, 1, BOUND_EXACT, 1, 1, 0);
    tt_clear();
    EXPECT_FALSE(tt_probe(KEY_A, 0).hit);
    EXPECT_EQ(tt_generation, 0);
}

TEST_F(TranspositionTable, GenerationWrapsAndOldEntriesCountAsCurrentAgain) {
    tt_generation = 0;
    tt_store(KEY_A, 1, BOUND_EXACT, 9, 1, 0);
    tt_generation = 255;
    ++tt_generation;
    EXPECT_EQ(tt_generation, 0);
    tt_store(KEY_B, 2, BOUND_EXACT, 3, 2, 0);
    EXPECT_TRUE(tt_probe(KEY_A, 0).hit);
}

TEST_F(TranspositionTable, NoTableMeansMissesAndIgnoredStores) {
    tt_free();
    tt_store(KEY_A, 1, BOUND_EXACT, 1, 1, 0);
    EXPECT_FALSE(tt_probe(KEY_A, 0).hit);
    tt_clear();
    EXPECT_EQ(tt_generation, 0);
}

}  // namespace

namespace {

bool table_is_zero() {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(tt_table);
    for (uint64_t i = 0; i < tt_count * sizeof(TTEntry); ++i)
        if (bytes[i]) return false;
    return true;
}

}  // namespace

TEST_F(TranspositionTable, ClearEmptiesEverySlotFewOrMany) {
    tt_generation = 7;
    tt_store(KEY_A, 10, BOUND_EXACT, 3, 0x170C, 0);
    tt_store(KEY_A, 11, BOUND_LOWER, 4, 0x170C, 0);  // same slot twice
    tt_clear();
    EXPECT_TRUE(table_is_zero());
    EXPECT_EQ(tt_generation, 0);
    EXPECT_FALSE(tt_probe(KEY_A, 0).hit);

    // More filled slots than the fill record holds: the clear falls back to zeroing everything.
    tt_resize(32);
    for (uint64_t i = 1; i <= uint64_t(TT_FILLED_CAPACITY) + 1000; ++i)
        tt_store(i, 1, BOUND_EXACT, 1, 0, 0);  // consecutive keys fill distinct slots
    ASSERT_GT(tt_filled_count, uint64_t(TT_FILLED_CAPACITY));
    tt_clear();
    EXPECT_TRUE(table_is_zero());
}
