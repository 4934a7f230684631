#include <cstring>
#include <set>

#include "data_table.h"
#include "tablebase/table_files.h"
#include "tb_test_util.h"

namespace {

int used_slots() {
    int n = 0;
    for (const TbHashSlot& s : tb_hash) n += s.entry != nullptr;
    return n;
}

TEST(TbRegistry, EnumerationHas1511NamesInOrder) {
    const auto& names = tb_signature_names();
    const char* first[] = {"KQvK", "KRvK", "KBvK", "KNvK", "KPvK", "KQvKQ", "KQvKR"};
    for (int i = 0; i < 7; i++) EXPECT_STREQ(names[i], first[i]);
    int with_pawns = 0;
    std::set<std::string> distinct;
    for (int i = 0; i < TB_SIGNATURES; i++) {
        distinct.insert(names[i]);
        with_pawns += std::strchr(names[i], 'P') != nullptr;
    }
    EXPECT_EQ(distinct.size(), 1511u);
    EXPECT_EQ(with_pawns, 861);
    EXPECT_STREQ(names[TB_SIGNATURES - 1], "KPPPvKPP");
    // Sides like KRvKRP pair up without listing a side twice: KQRvKQR once, KQRvKRQ never.
    EXPECT_TRUE(distinct.count("KQRvKQR"));
    EXPECT_FALSE(distinct.count("KQRvKRQ"));
    EXPECT_FALSE(distinct.count("KRvKQ"));
}

TEST(TbRegistry, RealSetRegistersAllSignaturesWithTheirFields) {
    load_real_tables();
    EXPECT_EQ(tb_largest, 4);
    EXPECT_EQ(tb_piece_count + tb_pawn_count, 35);
    EXPECT_EQ(tb_pawn_count, 11);
    for (const TableRow& row : read_table("syzygy_set.txt")) {
        const TbEntry* e = entry_of(row[0].c_str());
        ASSERT_NE(e, nullptr) << row[0];
        const bool pawns = e->has_pawns;
        auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
        const TableRow got = {row[0], std::to_string(e->num), yes(e->symmetric), yes(pawns), yes(!pawns && e->kk_enc),
                              std::to_string(pawns ? e->pawn_count[0] : 0), std::to_string(pawns ? e->pawn_count[1] : 0)};
        EXPECT_EQ(got, row);
        EXPECT_TRUE(e->has_dtz && !e->has_dtm && !e->ready[0] && !e->ready[1]) << row[0];
    }
    // Five symmetric signatures take one slot each, the thirty others two.
    EXPECT_EQ(used_slots(), 5 + 2 * 30);
}

TEST(TbRegistry, PositionKeyAndNameFollowTheMaterial) {
    // White K, R, P against K and R; the same material with colours exchanged.
    TbPosition a{}, b{}, kings{};
    int sq_a[] = {4, 0, 12, 60, 63}, sq_b[] = {60, 56, 52, 4, 7}, sq_k[] = {0, 63};
    ASSERT_TRUE(build(a, {WK, WR, WP, BK, BR}, sq_a, true));
    ASSERT_TRUE(build(b, {BK, BR, BP, WK, WR}, sq_b, true));
    char name[16];
    tb_table_name(a, false, name);
    EXPECT_STREQ(name, "KRPvKR");
    tb_table_name(b, true, name);
    EXPECT_STREQ(name, "KRPvKR");
    EXPECT_EQ(tb_material_key(a, false), tb_material_key(b, true));
    EXPECT_NE(tb_material_key(a, false), tb_material_key(a, true));
    ASSERT_TRUE(build(kings, {WK, BK}, sq_k, true));
    EXPECT_EQ(tb_material_key(kings, false), 0u);
}

TEST(TbRegistry, PawnLeadAndKingPairEncodingFromNamesAlone) {
    ScratchDir dir;
    for (const char* name : {"KPvKPP", "KPPvKP", "KQQvK", "KQRvK"}) dir.write(std::string(name) + ".rtbw", 1040);
    tb_load(dir.str().c_str());
    EXPECT_EQ(tb_largest, 5);
    // The side with fewer pawns leads: White in KPvKPP, Black in KPPvKP.
    for (const char* name : {"KPvKPP", "KPPvKP"}) {
        const TbEntry* e = entry_of(name);
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(e->pawn_count[0] == 1 && e->pawn_count[1] == 2 && !e->has_dtz) << name;
    }
    EXPECT_TRUE(entry_of("KQQvK")->kk_enc);
    EXPECT_FALSE(entry_of("KQRvK")->kk_enc);
}

TEST(TbRegistry, NothingFoundOrFeatureOff) {
    ScratchDir empty;
    tb_load(empty.str().c_str());
    EXPECT_EQ(tb_largest + used_slots(), 0);
    for (const char* off : {"<empty>", ""}) {
        load_real_tables();
        EXPECT_EQ(tb_largest, 4);
        tb_load(off);
        EXPECT_EQ(tb_largest, 0);
        EXPECT_TRUE(tb_paths.empty());
    }
}

}  // namespace
