#include <cstring>
#include <set>

#include "tb_test_util.h"

namespace {

struct Expected {
    const char* name;
    int num;
    bool symmetric, has_pawns, kk_enc;
    int lead_pawns, other_pawns;
};

// The complete 3- and 4-piece set.
const Expected REAL_SET[] = {
    {"KBBvK", 4, false, false, true, 0, 0}, {"KBNvK", 4, false, false, false, 0, 0}, {"KBPvK", 4, false, true, false, 1, 0},
    {"KBvK", 3, false, false, false, 0, 0}, {"KBvKB", 4, true, false, false, 0, 0}, {"KBvKN", 4, false, false, false, 0, 0},
    {"KBvKP", 4, false, true, false, 1, 0}, {"KNNvK", 4, false, false, true, 0, 0}, {"KNPvK", 4, false, true, false, 1, 0},
    {"KNvK", 3, false, false, false, 0, 0}, {"KNvKN", 4, true, false, false, 0, 0}, {"KNvKP", 4, false, true, false, 1, 0},
    {"KPPvK", 4, false, true, false, 2, 0}, {"KPvK", 3, false, true, false, 1, 0}, {"KPvKP", 4, true, true, false, 1, 1},
    {"KQBvK", 4, false, false, false, 0, 0}, {"KQNvK", 4, false, false, false, 0, 0}, {"KQPvK", 4, false, true, false, 1, 0},
    {"KQQvK", 4, false, false, true, 0, 0}, {"KQRvK", 4, false, false, false, 0, 0}, {"KQvK", 3, false, false, false, 0, 0},
    {"KQvKB", 4, false, false, false, 0, 0}, {"KQvKN", 4, false, false, false, 0, 0}, {"KQvKP", 4, false, true, false, 1, 0},
    {"KQvKQ", 4, true, false, false, 0, 0}, {"KQvKR", 4, false, false, false, 0, 0}, {"KRBvK", 4, false, false, false, 0, 0},
    {"KRNvK", 4, false, false, false, 0, 0}, {"KRPvK", 4, false, true, false, 1, 0}, {"KRRvK", 4, false, false, true, 0, 0},
    {"KRvK", 3, false, false, false, 0, 0}, {"KRvKB", 4, false, false, false, 0, 0}, {"KRvKN", 4, false, false, false, 0, 0},
    {"KRvKP", 4, false, true, false, 1, 0}, {"KRvKR", 4, true, false, false, 0, 0},
};

int used_slots() {
    int n = 0;
    for (const TbHashSlot& s : tb_hash) n += s.entry != nullptr;
    return n;
}

TEST(TbRegistry, EnumerationHas1511NamesInOrder) {
    const auto& names = tb_signature_names();
    const char* first[] = {"KQvK", "KRvK", "KBvK", "KNvK", "KPvK", "KQvKQ", "KQvKR"};
    for (int i = 0; i < 7; i++) EXPECT_STREQ(names[i], first[i]);
    int pawnless = 0, with_pawns = 0;
    std::set<std::string> distinct;
    for (int i = 0; i < TB_SIGNATURES; i++) {
        distinct.insert(names[i]);
        (std::strchr(names[i], 'P') ? with_pawns : pawnless)++;
    }
    EXPECT_EQ(distinct.size(), 1511u);
    EXPECT_EQ(pawnless, 650);
    EXPECT_EQ(with_pawns, 861);
    EXPECT_STREQ(names[TB_SIGNATURES - 1], "KPPPvKPP");
    // Pattern 6 pairs KRvKRP-like sides without listing a side twice: KQRvKQR once, KQRvKRQ never.
    EXPECT_TRUE(distinct.count("KQRvKQR"));
    EXPECT_FALSE(distinct.count("KQRvKRQ"));
    EXPECT_FALSE(distinct.count("KRvKQ"));
}

TEST(TbRegistry, RealSetRegistersAllSignaturesWithTheirFields) {
    load_real_tables();
    EXPECT_EQ(tb_largest, 4);
    EXPECT_EQ(tb_piece_count + tb_pawn_count, 35);
    EXPECT_EQ(tb_pawn_count, 11);
    for (const Expected& x : REAL_SET) {
        SCOPED_TRACE(x.name);
        TbEntry* e = entry_of(x.name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->num, x.num);
        EXPECT_EQ(e->symmetric, x.symmetric);
        EXPECT_EQ(e->has_pawns, x.has_pawns);
        EXPECT_TRUE(e->has_dtz);
        EXPECT_FALSE(e->has_dtm);
        if (x.has_pawns) {
            EXPECT_EQ(e->pawn_count[0], x.lead_pawns);
            EXPECT_EQ(e->pawn_count[1], x.other_pawns);
        } else {
            EXPECT_EQ(e->kk_enc, x.kk_enc);
        }
        for (uint32_t r : e->ready) EXPECT_EQ(r, 0u);
    }
    // Five symmetric signatures take one slot each, the thirty others two.
    EXPECT_EQ(used_slots(), 5 + 2 * 30);
}

TEST(TbRegistry, KeysAndHomeSlots) {
    load_real_tables();
    TbEntry* krkr = entry_of("KRvKR");
    ASSERT_NE(krkr, nullptr);
    EXPECT_EQ(krkr->key, 0x95d65253fe4c788eULL);
    EXPECT_EQ(tb_home_slot(krkr->key), 2397);
    int krkr_slots = 0;
    for (const TbHashSlot& s : tb_hash) krkr_slots += s.entry == krkr;
    EXPECT_EQ(krkr_slots, 1);

    TbEntry* kqk = entry_of("KQvK");
    ASSERT_NE(kqk, nullptr);
    EXPECT_EQ(kqk->key, 0xa3ec1abc71e90863ULL);
    EXPECT_EQ(tb_home_slot(0xa3ec1abc71e90863ULL), 2622);
    EXPECT_EQ(tb_home_slot(0xd6e4e47d24962951ULL), 3438);
    EXPECT_EQ(tb_find_slot(0xd6e4e47d24962951ULL).entry, kqk);  // KvKQ finds the same entry

    TbEntry* kqkr = entry_of("KQvKR");
    ASSERT_NE(kqkr, nullptr);
    int kqkr_slots = 0;
    for (const TbHashSlot& s : tb_hash) kqkr_slots += s.entry == kqkr;
    EXPECT_EQ(kqkr_slots, 2);
    EXPECT_EQ(entry_of("KRvKQ"), kqkr);
}

TEST(TbRegistry, PositionKeyAndNameFollowTheMaterial) {
    // White K, R, P against K and R; the same material with colours exchanged.
    TbPosition a{}, b{};
    int sq_a[] = {4, 0, 12, 60, 63};
    int sq_b[] = {60, 56, 52, 4, 7};
    ASSERT_TRUE(build(a, {WK, WR, WP, BK, BR}, sq_a, true));
    ASSERT_TRUE(build(b, {BK, BR, BP, WK, WR}, sq_b, true));
    char name[16];
    tb_table_name(a, false, name);
    EXPECT_STREQ(name, "KRPvKR");
    tb_table_name(b, true, name);
    EXPECT_STREQ(name, "KRPvKR");
    EXPECT_EQ(tb_material_key(a, false), tb_material_key(b, true));
    EXPECT_NE(tb_material_key(a, false), tb_material_key(a, true));
    TbPosition kings{};
    int sq_k[] = {0, 63};
    ASSERT_TRUE(build(kings, {WK, BK}, sq_k, true));
    EXPECT_EQ(tb_material_key(kings, false), 0u);
}

TEST(TbRegistry, PawnLeadAndKingPairEncodingFromNamesAlone) {
    ScratchDir dir;
    for (const char* name : {"KPvKPP", "KPPvKP", "KQQvK", "KQRvK"}) dir.write(std::string(name) + ".rtbw", 1040);
    tb_load(dir.str().c_str());
    EXPECT_EQ(tb_largest, 5);
    TbEntry* e = entry_of("KPvKPP");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->pawn_count[0], 1);  // white leads with fewer pawns
    EXPECT_EQ(e->pawn_count[1], 2);
    e = entry_of("KPPvKP");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->pawn_count[0], 1);  // black leads
    EXPECT_EQ(e->pawn_count[1], 2);
    EXPECT_FALSE(e->has_dtz);
    EXPECT_TRUE(entry_of("KQQvK")->kk_enc);
    EXPECT_FALSE(entry_of("KQRvK")->kk_enc);
}

TEST(TbRegistry, NothingFoundOrFeatureOff) {
    ScratchDir empty;
    tb_load(empty.str().c_str());
    EXPECT_EQ(tb_largest, 0);
    EXPECT_EQ(used_slots(), 0);
    load_real_tables();
    EXPECT_EQ(tb_largest, 4);
    tb_load("<empty>");
    EXPECT_EQ(tb_largest, 0);
    EXPECT_TRUE(tb_paths.empty());
    load_real_tables();
    tb_load("");
    EXPECT_EQ(tb_largest, 0);
}

}  // namespace
