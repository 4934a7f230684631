#include <gtest/gtest.h>

#include <string>

#include "search/info.h"
#include "search/output.h"
#include "search/pv.h"
#include "search/root.h"
#include "search/search_fixture.h"

namespace {

// Collects the lines the search hands to its log for the test's duration. (Info lines as printed
// and logged are in the transcripts.)
std::string logged;

struct CapturedLog {
    void (*saved)(const char*) = search_log;
    CapturedLog() {
        logged.clear();
        search_log = [](const char* line) { logged.append(line).push_back('\n'); };
    }
    ~CapturedLog() { search_log = saved; }
    std::string text() const { return logged; }
};

int count_of(const std::string& text, const std::string& word) {
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}

TEST(ScoreText, MateScoresBecomeMovesToMate) {
    char text[32];
    const std::pair<int, const char*> cases[] = {
        {30999, "mate 1"},  {30997, "mate 2"},   {-30998, "mate -1"}, {-30996, "mate -2"},
        {30871, "mate 65"}, {30000, "mate 500"}, {-30000, "mate -500"}, {29999, "cp 29999"},
        {0, "cp 0"},        {-35, "cp -35"},
    };
    for (auto [score, expected] : cases) {
        format_score(text, sizeof(text), score);
        EXPECT_STREQ(text, expected) << score;
    }
}

TEST(PrincipalVariation, LegalLinesPassSilently) {
    CapturedLog log;
    Position pos = position_from(START_FEN);
    const Move line[] = {make_move_value(E2, E4, DOUBLE_PUSH), make_move_value(E7, E5, DOUBLE_PUSH)};
    pv_report_active = false;
    EXPECT_TRUE(update_pv(pos, 0, 3, line[0], line + 1, 1, line, 2));
    EXPECT_EQ(log.text(), "");
    EXPECT_FALSE(pv_report_active);
}

TEST(PrincipalVariation, CorruptLinesAreReportedFiveTimesPerSearch) {
    CapturedLog log;
    Position pos = position_from(START_FEN);
    Position before = pos;
    // The last move walks Black's king onto the queen's diagonal.
    const Move bad[] = {make_move_value(E2, E4, DOUBLE_PUSH), make_move_value(F7, F6, QUIET),
                        make_move_value(D1, H5, QUIET), make_move_value(E8, F7, QUIET)};
    pv_report_active = false;
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(update_pv(pos, 4, 7, bad[0], bad + 1, 3, bad, 4));
    std::string text = log.text();
    EXPECT_EQ(count_of(text, "[PV-CORRUPTION #"), 5);
    EXPECT_NE(text.find("[PV-CORRUPTION #1] ply=4 depth=7 move_played=e2e4 bad_idx=3/4 bad_move=e8f7; "
                        "new_pv=[e2e4 f7f6 d1h5 e8f7] child_pv=[f7f6 d1h5 e8f7]\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[PV-CORRUPTION #5]"), std::string::npos);
    EXPECT_EQ(pos.hash, before.hash);
    EXPECT_EQ(pos.history_len, before.history_len);
    pv_report_active = false;  // a new search counts again from #1
    update_pv(pos, 0, 1, bad[0], bad + 1, 3, bad, 4);
    EXPECT_EQ(count_of(log.text(), "[PV-CORRUPTION #1]"), 2);
}

TEST(InfoLine, StopsBeforeAnIllegalMoveAndLogsWhy) {
    CapturedLog log;
    Position pos = position_from("4k3/8/8/8/8/8/4r3/4K3 w - - 0 1");
    Position before = pos;
    prepare_quiet_search();
    // The last move puts Black's king next to White's.
    const Move bad_line[] = {make_move_value(E1, E2, CAPTURE), make_move_value(E8, D7, QUIET),
                             make_move_value(E2, D3, QUIET), make_move_value(D7, D4, QUIET)};
    testing::internal::CaptureStdout();
    print_info(pos, 3, 0, 500, bad_line, 4);
    print_info(pos, 3, 0, 500, bad_line, 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(" pv e1e2 e8d7 e2d3\n"), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 4), " pv\n") << "an empty line ends with the word pv";
    EXPECT_NE(log.text().find("[PV-INVALID] move d7d4 at PV index 3/4 is illegal in current position; truncating PV here"),
              std::string::npos)
        << log.text();
    EXPECT_EQ(pos.hash, before.hash);
}

}  // namespace
