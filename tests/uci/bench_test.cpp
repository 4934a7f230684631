// End-to-end: the benchmark, as a command and as a command-line mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

using Lines = std::vector<std::string>;

// Nodes of the last info line before each bestmove: the final count of each search.
std::vector<unsigned long long> final_node_counts(const Lines& lines) {
    std::vector<unsigned long long> counts;
    unsigned long long last = 0;
    for (const std::string& l : lines) {
        if (has_prefix(l, "info depth")) last = std::stoull(l.substr(l.find(" nodes ") + 7));
        if (has_prefix(l, "bestmove")) counts.push_back(last);
    }
    return counts;
}

// Values of the report lines with this label, in order: "Depth   : " -> {"5"}.
Lines report_values(const Lines& lines, const std::string& label) {
    Lines out;
    for (const std::string& l : lines_with_prefix(lines, label)) out.push_back(l.substr(label.size()));
    return out;
}

TEST(Bench, CommandLineModeReportsTheSumOfFiveSearches) {
    Lines first = run_engine("", {"bench", "5"});
    ASSERT_GE(first.size(), 6u);
    const Lines tail(first.end() - 6, first.end());
    EXPECT_EQ(Lines(tail.begin(), tail.begin() + 3), (Lines{"", "=== Bench ===", "Depth   : 5"}));
    EXPECT_TRUE(has_prefix(tail[3], "Nodes   : "));
    EXPECT_TRUE(has_prefix(tail[4], "Time    : ") && tail[4].size() > 13 && tail[4].substr(tail[4].size() - 3) == " ms")
        << tail[4];
    EXPECT_TRUE(has_prefix(tail[5], "NPS     : "));

    std::vector<unsigned long long> counts = final_node_counts(first);
    ASSERT_EQ(counts.size(), 5u);
    unsigned long long sum = 0;
    for (unsigned long long c : counts) sum += c;
    EXPECT_EQ(report_values(first, "Nodes   : "), Lines{std::to_string(sum)});
    // The same again on a second run.
    Lines second = run_engine("", {"bench", "5"});
    EXPECT_EQ(final_node_counts(second), counts);
    EXPECT_EQ(report_values(second, "Nodes   : "), report_values(first, "Nodes   : "));
}

TEST(Bench, DepthBelowOneMeansTenAndThePositionIsLeftAlone) {
    Lines lines = run_engine("bench 3\nposition startpos moves e2e4\nbench -2\nd\n");
    EXPECT_EQ(report_values(lines, "Depth   : "), (Lines{"3", "10"}));
    EXPECT_EQ(final_node_counts(lines).size(), 10u);
    EXPECT_EQ(lines.back(), "50-move: 0, Hash: 9920ca2c579d60a6");
    EXPECT_EQ(report_values(run_engine("", {"bench", "0"}), "Depth   : "), Lines{"10"});
}

}  // namespace
