#include <fstream>

#include "platform/files.h"
#include "tablebase/decompress.h"
#include "tablebase/probe.h"
#include "tablebase/table_files.h"
#include "tablebase/tablebase.h"
#include "tb_test_util.h"

namespace {

std::string captured_stdout() {
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TbPosition kqk_position() {
    TbPosition pos;
    int sq[] = {E1, D1, E8};
    build(pos, {WK, WQ, BK}, sq, true);
    return pos;
}

TEST(TbFiles, IncompleteFilesAreReportedAndSkipped) {
    ScratchDir dir;
    dir.write("KQvK.rtbw", 1041);
    dir.write("KRvK.rtbw", 1040);
    dir.write("KRvK.rtbz", 1000);
    dir.write("KRvK.rtbm", 1040);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    tb_load(dir.str().c_str());
    std::string out = captured_stdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Incomplete tablebase file KQvK.rtbw\nIncomplete tablebase file KRvK.rtbz\n");
    EXPECT_EQ(out, "info string Incomplete tablebase file KQvK.rtbw\ninfo string Incomplete tablebase file KRvK.rtbz\n");
    EXPECT_EQ(entry_of("KQvK"), nullptr);
    TbEntry* krk = entry_of("KRvK");
    ASSERT_NE(krk, nullptr);
    EXPECT_FALSE(krk->has_dtz);
    EXPECT_TRUE(krk->has_dtm);
    EXPECT_EQ(tb_largest, 3);
}

TEST(TbFiles, PathListSplitsAtSemicolons) {
    ScratchDir a, b;
    a.copy_real("KQvK.rtbw");
    b.copy_real("KRvK.rtbw");
    std::string value = a.str() + ";";
    tb_load(value.c_str());
    ASSERT_EQ(tb_paths.size(), 1u);
    EXPECT_EQ(tb_paths[0], a.str());
    value = ";;" + a.str() + ";;" + b.str() + ";";
    tb_load(value.c_str());
    ASSERT_EQ(tb_paths.size(), 2u);
    EXPECT_EQ(tb_paths[1], b.str());
    EXPECT_NE(entry_of("KQvK"), nullptr);
    EXPECT_NE(entry_of("KRvK"), nullptr);
    // The first directory holding a file wins.
    b.copy_real("KQvK.rtbw");
    FileHandle file = tb_open_file("KQvK", ".rtbw");
    ASSERT_NE(file, NO_FILE);
    close_file(file);
    EXPECT_EQ(tb_open_file("KQvK", ".rtbz"), NO_FILE);
}

TEST(TbFiles, WrongMagicNumberFailsTheSlotOnce) {
    ScratchDir dir;
    dir.write("KQvK.rtbw", 1040, 0x12345678);
    tb_load(dir.str().c_str());
    TbPosition pos = kqk_position();
    int success = 1;
    testing::internal::CaptureStderr();
    tb_lookup(pos, 0, success, TB_WDL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Corrupted table.\n");
    EXPECT_EQ(success, 0);
    EXPECT_EQ(tb_find_slot(tb_material_key(pos, false)).failed, 1u);
    EXPECT_EQ(mapped_files_under(dir.str()), 0);
    // Later probes through the slot fail at once, without a message.
    testing::internal::CaptureStderr();
    tb_lookup(pos, 0, success, TB_WDL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(success, 0);
    // The colour-swapped slot has its own flag and tries again.
    TbPosition swapped{};
    int sq[] = {E8, D8, E1};
    build(swapped, {BK, BQ, WK}, sq, false);
    testing::internal::CaptureStderr();
    tb_lookup(swapped, 0, success, TB_WDL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Corrupted table.\n");
}

TEST(TbFiles, SecondLoadReleasesEveryMapping) {
    ScratchDir first, second;
    for (const char* f : {"KQvK.rtbw", "KQvK.rtbz", "KRvK.rtbw", "KRvK.rtbz", "KPvK.rtbw", "KPvK.rtbz"}) {
        first.copy_real(f);
        second.copy_real(f);
    }
    tb_load(first.str().c_str());
    TbPosition pos;
    int sq[] = {E1, D3, E8};
    int success;
    for (const TbPiece& piece : {WQ, WR, WP}) {
        ASSERT_TRUE(build(pos, {WK, piece, BK}, sq, true));
        for (int kind : {TB_WDL, TB_DTZ}) {
            success = 1;
            tb_lookup(pos, 2, success, kind);
            ASSERT_NE(success, 0);
        }
    }
    EXPECT_EQ(mapped_files_under(first.str()), 6);
    EXPECT_EQ(entry_of("KPvK")->ready[TB_DTZ], 1u);

    tb_load(second.str().c_str());
    EXPECT_EQ(mapped_files_under(first.str()), 0);
    EXPECT_EQ(mapped_files_under(second.str()), 0);
    for (int i = 0; i < tb_piece_count; i++)
        for (uint32_t r : tb_piece_entries[i].ready) EXPECT_EQ(r, 0u);
    ASSERT_TRUE(build(pos, {WK, WQ, BK}, sq, true));
    EXPECT_EQ(tb_wdl(pos, success), 2);
    EXPECT_EQ(mapped_files_under(second.str()), 1);

    tb_load("<empty>");
    EXPECT_EQ(mapped_files_under(second.str()), 0);
}

// The WebAssembly test program has no second process to die in.
#if GTEST_HAS_DEATH_TEST
TEST(TbFilesDeathTest, FileEmptiedBeforeItsFirstProbeEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ScratchDir dir;
    dir.copy_real("KQvK.rtbw");
    tb_load(dir.str().c_str());
    std::ofstream(dir.path / "KQvK.rtbw", std::ios::trunc).close();
    int success;
    EXPECT_EXIT(tb_wdl(kqk_position(), success), testing::ExitedWithCode(1),
                "CreateFileMapping\\(\\) failed, error = .+\\.\nCould not map KQvK.rtbw into memory\\.");
}
#endif

}  // namespace
