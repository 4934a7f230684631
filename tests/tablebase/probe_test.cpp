#include <array>
#include <map>

#include "tablebase/probe.h"
#include "tablebase/registry.h"
#include "tablebase/tablebase.h"
#include "tb_test_util.h"

namespace {

TbPosition flip_colours(const TbPosition& p) {
    auto m = [](Bitboard b) { return __builtin_bswap64(b); };
    TbPosition f = p;
    f.white = m(p.black);
    f.black = m(p.white);
    for (Bitboard* b : {&f.kings, &f.queens, &f.rooks, &f.bishops, &f.knights, &f.pawns}) *b = m(*b);
    f.turn = !p.turn;
    f.ep = p.ep ? uint8_t(p.ep ^ 56) : 0;
    return f;
}

bool is_zeroing(const TbPosition& pos, TbMove m) {
    return tb_is_capture(pos, m) || tb_moved_kind(pos, tb_move_from(m)) == TB_PAWN;
}

struct Consistency {
    int positions = 0, decisive = 0, dtz_exact = 0, dtz_rounded = 0;
};

// WDL and DTZ of positions already probed; each position of a table is a child of many others.
struct Probed {
    int wdl, dtz;
};
using ProbeCache = std::map<std::array<uint64_t, 9>, Probed>;

// tb_wdl and tb_dtz of the position (with rule50 0), asserting that they answer.
Probed probe(ProbeCache& cache, const TbPosition& pos) {
    const std::array<uint64_t, 9> key = {pos.white, pos.black,   pos.kings,   pos.queens,           pos.rooks,
                                         pos.bishops, pos.knights, pos.pawns, uint64_t(pos.turn) << 8 | pos.ep};
    auto [it, added] = cache.try_emplace(key);
    if (added) {
        TbPosition p = pos;
        p.rule50 = 0;
        int s1, s2;
        it->second = {tb_wdl(p, s1), tb_dtz(p, s2)};
        EXPECT_TRUE(s1 != 0 && s2 != 0);
    }
    return it->second;
}

// Checks one position's WDL and DTZ against those of its children.
void check_against_children(const TbPosition& pos, ProbeCache& cache, Consistency& c) {
    const Probed own = probe(cache, pos);
    const int wdl = own.wdl, dtz = own.dtz;
    ASSERT_TRUE(wdl == -2 || wdl == 0 || wdl == 2) << "no cursed results in these endings";
    TbMove moves[TB_MAX_MOVES];
    TbMove* end = tb_gen_legal(pos, moves);
    int best = end == moves && !tb_in_check(pos) ? 0 : -2;
    Probed child[TB_MAX_MOVES];
    TbPosition next;
    for (TbMove* m = moves; m < end; m++) {
        tb_do_move(next, pos, *m);
        child[m - moves] = probe(cache, next);
        best = std::max(best, -child[m - moves].wdl);
    }
    ASSERT_EQ(wdl, best);
    c.positions++;
    if (wdl == 0) {
        ASSERT_EQ(dtz, 0);
        return;
    }

    ASSERT_EQ(dtz > 0, wdl > 0);
    int expected;
    if (wdl > 0) {
        expected = INT32_MAX;
        for (TbMove* m = moves; m < end; m++) {
            if (child[m - moves].wdl != -2) continue;
            tb_do_move(next, pos, *m);
            if (is_zeroing(pos, *m) || tb_is_mate(next)) {
                expected = 1;
                break;
            }
            ASSERT_LT(child[m - moves].dtz, 0);
            expected = std::min(expected, 1 - child[m - moves].dtz);
        }
    } else {
        expected = -1;
        for (TbMove* m = moves; m < end; m++) {
            if (is_zeroing(pos, *m)) continue;
            ASSERT_GT(child[m - moves].dtz, 0);
            expected = std::min(expected, -child[m - moves].dtz - 1);
        }
    }
    // Tables without the exact-distance flags store halved distances: one ply of rounding either way.
    ASSERT_LE(std::abs(dtz - expected), 1) << "dtz " << dtz << " expected " << expected;
    c.decisive++;
    (dtz == expected ? c.dtz_exact : c.dtz_rounded)++;
}

struct Ending {
    const char* name;
    std::vector<TbPiece> pieces;
    int sample;  // 0: every position
};

void check_ending(const Ending& e) {
    load_real_tables();
    Consistency c;
    ProbeCache cache;
    auto check = [&](const TbPosition& pos) {
        if (testing::Test::HasFatalFailure()) return;
        check_against_children(pos, cache, c);
        if (testing::Test::HasFatalFailure()) {
            FAIL() << e.name << " white " << std::hex << pos.white << " black " << pos.black << " turn " << pos.turn;
        }
    };
    if (e.sample) {
        for_sample_positions(e.pieces, e.sample, 0x9e3779b97f4a7c15ULL ^ uint64_t(e.sample), check);
    } else {
        bool pawns = false;
        for (const TbPiece& p : e.pieces) pawns |= p.kind == TB_PAWN;
        for_each_position(e.pieces, pawns ? QUEEN_SIDE_BB : TRIANGLE_BB, check);
    }
    if (testing::Test::HasFatalFailure()) return;
    std::printf("%s: %d positions, %d decisive, DTZ exact %d, one ply off %d\n", e.name, c.positions, c.decisive,
                c.dtz_exact, c.dtz_rounded);
    EXPECT_GT(c.decisive, 0);
    EXPECT_GT(c.dtz_exact, c.dtz_rounded);
}

// Every legal position of the three-piece endings (up to the symmetries the
// tables fold away), a seeded sample of the four-piece ones.
TEST(TbConsistency, KQvK) { check_ending({"KQvK", {WK, WQ, BK}, 0}); }
TEST(TbConsistency, KRvK) { check_ending({"KRvK", {WK, WR, BK}, 0}); }
TEST(TbConsistency, KPvK) { check_ending({"KPvK", {WK, WP, BK}, 0}); }
TEST(TbConsistency, KBNvK) { check_ending({"KBNvK", {WK, WB, WN, BK}, 6000}); }
TEST(TbConsistency, KRvKP) { check_ending({"KRvKP", {WK, WR, BK, BP}, 12000}); }
TEST(TbConsistency, KPvKP) { check_ending({"KPvKP", {WK, WP, BK, BP}, 20000}); }

TbPosition from_fen(const char* fen, int rule50 = 0) {
    static Position pos;
    EXPECT_TRUE(parse_fen(pos, fen)) << fen;
    return tb_position_from(pos, rule50);
}

TEST(TbProbe, BareKingsNeedNoTableAndAWinningCaptureNoOwnTable) {
    ScratchDir dir;
    tb_load(dir.str().c_str());
    TbPosition kings = from_fen("8/8/4k3/8/8/8/8/K7 w - - 0 1");
    int success = 7;
    EXPECT_EQ(tb_lookup(kings, 0, success, TB_WDL), 0);
    EXPECT_EQ(success, 7);
    EXPECT_EQ(tb_wdl(kings, success) + tb_dtz(kings, success), 0);
    EXPECT_EQ(success, 1);
    // KQvKR is not there, but Qxd8 wins at once; without that capture there is no answer.
    dir.copy_real("KQvK.rtbw");
    dir.copy_real("KQvK.rtbz");
    tb_load(dir.str().c_str());
    TbPosition pos = from_fen("3r4/8/7k/8/8/8/8/K2Q4 w - - 0 1");
    EXPECT_EQ(tb_wdl(pos, success), 2);
    EXPECT_EQ(success, 2);
    EXPECT_EQ(tb_dtz(pos, success), 1);
    EXPECT_EQ(tb_wdl(from_fen("3r4/8/8/7k/8/8/8/K1Q5 w - - 0 1"), success), 0);
    EXPECT_EQ(success, 0);
}

TEST(TbProbe, ColourFlippedPositionsAgree) {
    load_real_tables();
    int checked = 0;
    const auto& names = tb_signature_names();
    for (int n = 0; n < TB_SIGNATURES; n++) {
        if (!entry_of(names[n])) continue;  // each real table once: the enumeration never lists KRvKQ
        std::vector<TbPiece> pieces;
        bool white = true;
        for (const char* c = names[n]; *c; c++) {
            if (*c == 'v') white = false;
            else pieces.push_back({white, int(std::string(" PNBRQK").find(*c))});
        }
        for_sample_positions(pieces, 300, 77 + uint64_t(n), [&](const TbPosition& pos) {
            int s1, s2;
            TbPosition flipped = flip_colours(pos);
            ASSERT_EQ(tb_wdl(pos, s1), tb_wdl(flipped, s2));
            ASSERT_EQ(s1, s2);
            ASSERT_EQ(tb_dtz(pos, s1), tb_dtz(flipped, s2));
            ASSERT_NE(s1, 0);
            checked++;
        });
    }
    EXPECT_EQ(checked, 35 * 300);
}

TEST(TbProbe, DtzTableOfTheOtherSideSearchesOnePly) {
    load_real_tables();
    // KBNvK stores Black to move; White's mate in one (Be4) is found by the search.
    TbPosition pos = from_fen("k7/3N4/1K6/5B2/8/8/8/8 w - - 0 1");
    int success = 1;
    tb_lookup(pos, 2, success, TB_DTZ);
    EXPECT_EQ(success, -1);
    EXPECT_EQ(tb_dtz(pos, success), 1);
    EXPECT_NE(success, 0);
    success = 1;
    tb_lookup(from_fen("k7/3N4/1K6/5B2/8/8/8/8 b - - 0 1"), -2, success, TB_DTZ);
    EXPECT_EQ(success, 1);
}

TEST(TbProbe, DoubleStepSetsEnPassantOnlyWhenACaptureIsThere) {
    TbPosition next;
    ASSERT_TRUE(tb_do_move(next, from_fen("4k3/8/8/3p4/8/8/4P3/4K3 w - - 5 1", 5), tb_make_move(E2, E4, 0)));
    EXPECT_EQ(next.ep, 0);
    TbPosition pos = from_fen("4k3/8/8/8/3p4/8/4P3/4K3 w - - 5 1", 5);
    ASSERT_TRUE(tb_do_move(next, pos, tb_make_move(E2, E4, 0)));
    EXPECT_TRUE(next.ep == E3 && next.rule50 == 0);
    ASSERT_TRUE(tb_do_move(next, pos, tb_make_move(E1, F1, 0)));
    EXPECT_EQ(next.rule50, 6);
    // Moving into check is illegal.
    pos = from_fen("4k3/8/8/8/8/8/4r3/3K4 w - - 0 1");
    EXPECT_FALSE(tb_do_move(next, pos, tb_make_move(D1, E1, 0)));
    EXPECT_TRUE(tb_do_move(next, pos, tb_make_move(D1, E2, 0)));
}

TEST(TbProbe, BrokenPositionsGetNoAnswer) {
    load_real_tables();
    int success;
    // Material of KQvK without a black king, and a pawn on the first rank; neither marks the
    // tables failed.
    EXPECT_EQ(tb_wdl(from_fen("8/8/8/8/8/8/8/KQ6 w - - 0 1"), success), 0);
    EXPECT_EQ(success, 0);
    tb_wdl(from_fen("8/8/8/4k3/8/8/8/KP6 w - - 0 1"), success);
    EXPECT_EQ(success, 0);
    EXPECT_EQ(tb_wdl(from_fen("8/8/8/8/8/2k5/8/KQ6 w - - 0 1"), success), 2);
    EXPECT_EQ(tb_wdl(from_fen("8/8/8/4k3/8/8/1P6/K7 w - - 0 1"), success), 2);
    Position pos;
    bool ok = true;
    parse_fen(pos, "8/8/8/8/8/8/8/KQ6 w - - 0 1");
    tb_probe_wdl(pos, ok);
    EXPECT_FALSE(ok);
    // The fifty-move counter never enters WDL or DTZ.
    parse_fen(pos, "8/8/8/8/8/2k5/8/KQ6 b - - 37 1");
    EXPECT_EQ(tb_probe_wdl(pos, ok), -2);
    EXPECT_TRUE(ok);
    int s1, s2;
    TbPosition a = from_fen("8/8/8/8/8/2k5/8/KQ6 w - - 0 1", 0), b = from_fen("8/8/8/8/8/2k5/8/KQ6 w - - 0 1", 99);
    EXPECT_EQ(tb_dtz(a, s1), tb_dtz(b, s2));
}

}  // namespace
