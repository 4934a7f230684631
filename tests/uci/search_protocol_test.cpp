// End-to-end timing: how quickly the engine answers and stops while searching.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "uci/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds from sending `command` to the first line starting with `answer`.
long long answer_ms(EngineProcess& engine, const std::string& command, const std::string& answer) {
    const auto start = Clock::now();
    engine.send(command);
    const auto lines = engine.read_until(answer, 5000);
    EXPECT_TRUE(!lines.empty() && has_prefix(lines.back(), answer)) << command;
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
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

TEST(SearchProtocol, QuitReadFromAFileStopsTheSearchAtItsFirstPoll) {
    std::string dir = make_temp_dir();
    std::ofstream(dir + "/input.txt") << "go infinite\nquit\n";
    std::string command = "cd " + dir + " && timeout 20 " + QUILLBROOK_BINARY + " < input.txt > output.txt";
    auto start = Clock::now();
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 5000);
    auto lines = read_file_lines(dir + "/output.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(has_prefix(lines.back(), "bestmove ")) << lines.back();
}

}  // namespace
