// End-to-end timing: how quickly the engine answers and stops while searching.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "uci/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;

long long ms_since(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// Milliseconds from sending `command` to the first line starting with `answer`.
long long answer_ms(EngineProcess& engine, const std::string& command, const std::string& answer) {
    const auto start = Clock::now();
    engine.send(command);
    const auto lines = engine.read_until(answer, 5000);
    EXPECT_TRUE(!lines.empty() && has_prefix(lines.back(), answer)) << command;
    return ms_since(start);
}

TEST(SearchProtocol, MovetimeIsRespected) {
    EngineProcess engine;
    ASSERT_TRUE(engine.ready());
    const long long elapsed = answer_ms(engine, "go movetime 1000", "bestmove ");
    EXPECT_LE(elapsed, 1000 + 200);
    EXPECT_GE(elapsed, 900) << "the soft limit is 990 ms: no early stop in the opening";
}

TEST(SearchProtocol, IsreadyAndStopAreAnsweredAtOnceDuringASearch) {
    EngineProcess engine;
    ASSERT_TRUE(engine.ready());
    engine.send("go infinite");
    std::string line;
    ASSERT_TRUE(engine.read_line(line));
    EXPECT_LE(answer_ms(engine, "isready", "readyok"), 200);
    // Still searching: nothing but info lines for a while.
    for (const std::string& l : engine.read_until("bestmove", 300)) EXPECT_FALSE(has_prefix(l, "bestmove")) << l;
    EXPECT_LE(answer_ms(engine, "stop", "bestmove "), 200);
}

// Input that is a file, not a pipe: quit, or the file's end, stops the search at its first poll.
TEST(SearchProtocol, QuitOrEndOfAFileStopsAnInfiniteSearchAtItsFirstPoll) {
    for (const char* input : {"go infinite\nquit\n", "go infinite\n"}) {
        std::string dir = make_temp_dir();
        std::ofstream(dir + "/input.txt") << input;
        auto start = Clock::now();
        EngineProcess engine({}, dir, dir + "/input.txt");
        auto lines = engine.read_all(5000);
        EXPECT_EQ(engine.wait_exit(5000), 0);
        EXPECT_LT(ms_since(start), 5000);
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(has_prefix(lines.back(), "bestmove ")) << lines.back();
    }
}

// The end of piped input stops an infinite search at once; one with a depth runs to it.
TEST(SearchProtocol, EndOfInputStopsOnlyASearchWithoutLimits) {
    auto start = Clock::now();
    auto lines = run_engine("position startpos\ngo infinite\n");
    EXPECT_LT(ms_since(start), 5000);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(has_prefix(lines.back(), "bestmove ")) << lines.back();
    lines = run_engine("position startpos\ngo depth 8\n");
    EXPECT_EQ(lines_with_prefix(lines, "info depth 8 ").size(), 1u);
}

}  // namespace
