// End-to-end: the benchmark, as a command and as a command-line mode.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

bool starts_with(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// Nodes of the last info line before each bestmove: the final count of each search.
std::vector<unsigned long long> final_node_counts(const std::vector<std::string>& lines) {
    std::vector<unsigned long long> counts;
    unsigned long long last = 0;
    for (const std::string& l : lines) {
        if (starts_with(l, "info depth")) last = std::stoull(l.substr(l.find(" nodes ") + 7));
        if (starts_with(l, "bestmove")) counts.push_back(last);
    }
    return counts;
}

std::string report_value(const std::vector<std::string>& lines, const std::string& label) {
    for (const std::string& l : lines)
        if (starts_with(l, label)) return l.substr(label.size());
    return "";
}

TEST(Bench, CommandLineModeReportsTheSumOfFiveSearches) {
    std::vector<std::string> first = run_engine("", {"bench", "5"});
    ASSERT_GE(first.size(), 6u);
    const std::vector<std::string> tail(first.end() - 6, first.end());
    EXPECT_EQ(tail[0], "");
    EXPECT_EQ(tail[1], "=== Bench ===");
    EXPECT_EQ(tail[2], "Depth   : 5");
    EXPECT_TRUE(starts_with(tail[3], "Nodes   : "));
    EXPECT_TRUE(starts_with(tail[4], "Time    : ") && tail[4].size() > 13 && tail[4].substr(tail[4].size() - 3) == " ms")
        << tail[4];
    EXPECT_TRUE(starts_with(tail[5], "NPS     : "));

    std::vector<unsigned long long> counts = final_node_counts(first);
    ASSERT_EQ(counts.size(), 5u);
    unsigned long long sum = 0;
    for (unsigned long long c : counts) sum += c;
    EXPECT_EQ(report_value(first, "Nodes   : "), std::to_string(sum));

    std::vector<std::string> second = run_engine("", {"bench", "5"});
    EXPECT_EQ(report_value(second, "Nodes   : "), report_value(first, "Nodes   : "));
    EXPECT_EQ(final_node_counts(second), counts);
}

TEST(Bench, LoopCommandDefaultsToDepthTenAndLeavesThePositionAlone) {
    std::vector<std::string> lines = run_engine("position startpos moves e2e4\nbench -2\nd\n");
    EXPECT_EQ(report_value(lines, "Depth   : "), "10");
    EXPECT_EQ(final_node_counts(lines).size(), 5u);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "50-move: 0, Hash: 9920ca2c579d60a6");
}

TEST(Bench, CommandLineDepthBelowOneMeansTen) {
    std::vector<std::string> lines = run_engine("", {"bench", "0"});
    EXPECT_EQ(report_value(lines, "Depth   : "), "10");
    std::vector<std::string> loop = run_engine("bench 3\n");
    EXPECT_EQ(report_value(loop, "Depth   : "), "3");
}

}  // namespace
