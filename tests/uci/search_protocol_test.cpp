// End-to-end: searching through pipes, with commands arriving mid-search.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

long long ms_since(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

bool contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

// First move of the pv in an info line.
std::string pv_move(const std::string& info) { return info.substr(info.find(" pv ") + 4, 4); }

// Starts `go infinite` from a settled engine and waits for its first info line.
void start_infinite(EngineProcess& engine) {
    ASSERT_TRUE(engine.ready());
    engine.send("go infinite");
    std::string line;
    ASSERT_TRUE(engine.read_line(line));
}

TEST(SearchProtocol, GoDepthPrintsEachIterationThenBestmove) {
    auto lines = run_engine("position startpos\ngo depth 3\n");
    ASSERT_EQ(lines.size(), 4u);
    for (int d = 1; d <= 3; ++d) {
        const std::string& l = lines[size_t(d - 1)];
        EXPECT_TRUE(has_prefix(l, "info depth " + std::to_string(d) + " seldepth ")) << l;
        EXPECT_TRUE(contains(l, " score cp ") && contains(l, " pv ") && !contains(l, " multipv ")) << l;
    }
    EXPECT_EQ(lines[3], "bestmove " + pv_move(lines[2]));
    // A tiny movetime still completes the first iteration.
    lines = run_engine("go movetime 5\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(has_prefix(lines[0], "info depth 1 seldepth "));
    EXPECT_EQ(lines[1].substr(0, 13), "bestmove " + pv_move(lines[0]));
}

TEST(SearchProtocol, MovetimeIsRespected) {
    EngineProcess engine;
    ASSERT_TRUE(engine.ready());
    engine.send("go movetime 1000");
    auto start = Clock::now();
    auto lines = engine.read_until("bestmove", 5000);
    long long elapsed = ms_since(start);
    ASSERT_TRUE(has_prefix(lines.back(), "bestmove ")) << lines.back();
    EXPECT_LE(elapsed, 1000 + 200);
    EXPECT_GE(elapsed, 900) << "the soft limit is 990 ms: no early stop in the opening";
}

TEST(SearchProtocol, InfiniteSearchEndsByItselfAfterDepth127) {
    // Mate in one: mate-distance bounds keep every iteration tiny.
    EngineProcess engine;
    engine.send("position fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    engine.send("go infinite");
    auto lines = engine.read_until("bestmove", 20000);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "bestmove a1a8");
    const std::string& last = lines[lines.size() - 2];
    EXPECT_TRUE(has_prefix(last, "info depth 127 ") && contains(last, " score mate 1 ")) << last;
}

TEST(SearchProtocol, IsreadyStopQueuedCommandsAndQuitDuringInfiniteSearch) {
    EngineProcess engine;
    start_infinite(engine);
    engine.send("isready");
    auto start = Clock::now();
    auto lines = engine.read_until("readyok", 5000);
    EXPECT_EQ(lines.back(), "readyok");
    EXPECT_LE(ms_since(start), 200);
    EXPECT_TRUE(lines_with_prefix(lines, "bestmove").empty());
    // Still searching: nothing but info lines for a while.
    EXPECT_TRUE(lines_with_prefix(engine.read_until("bestmove", 300), "bestmove").empty());
    // Black to move with a single legal move, h3-h2: queued until the search ends, then run in order.
    engine.send("position fen k7/8/1Q6/8/8/7p/8/K7 b - - 0 1");
    engine.send("go depth 2");
    engine.send("stop");
    start = Clock::now();
    auto first = engine.read_until("bestmove", 5000);
    EXPECT_LE(ms_since(start), 200);
    ASSERT_TRUE(has_prefix(first.back(), "bestmove ")) << first.back();
    EXPECT_NE(first.back(), "bestmove h3h2");
    EXPECT_EQ(engine.read_until("bestmove", 5000).back(), "bestmove h3h2");
    // Quit during a search prints bestmove and ends the process.
    start_infinite(engine);
    engine.send("quit");
    auto rest = engine.read_all(5000);
    ASSERT_FALSE(rest.empty());
    EXPECT_TRUE(has_prefix(rest.back(), "bestmove ")) << rest.back();
    EXPECT_EQ(engine.wait_exit(2000), 0);
}

TEST(SearchProtocol, RootsWithoutASearchAnswerSilently) {
    // Mated and stalemated sides have no move; a root repeating the start is a draw at once
    // and plays the first legal move.
    auto lines = run_engine("position fen R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo depth 5\n"
                            "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo movetime 100\n"
                            "position startpos moves g1f3 g8f6 f3g1 f6g8\ngo depth 5\n");
    EXPECT_EQ(lines, (Lines{"bestmove 0000", "bestmove 0000", "bestmove a2a3"}));
}

TEST(SearchProtocol, MultiPvSearchesNoMoreLinesThanMoves) {
    // The white king is stalemated; only the a-pawn moves, one step or two.
    auto infos = lines_with_prefix(run_engine("setoption name MultiPV value 3\n"
                                              "position fen k7/8/8/8/8/8/P4q2/7K w - - 0 1\ngo depth 4\n"),
                                   "info depth");
    ASSERT_EQ(infos.size(), 8u);
    // Two lines per iteration, in search order.
    for (size_t i = 0; i < infos.size(); ++i)
        EXPECT_TRUE(contains(infos[i], i % 2 ? " multipv 2 " : " multipv 1 ")) << infos[i];
}

TEST(SearchProtocol, MateScoresAreGivenInMoves) {
    // White mates in two; in the second position Black is mated next move.
    auto lines = run_engine("position fen k7/8/2K5/8/8/8/8/7R w - - 0 1\ngo depth 12\n"
                            "position fen k7/8/1K6/8/8/8/8/7R b - - 0 1\ngo depth 6\n");
    std::string last[2];
    int search = 0;
    for (const std::string& l : lines) {
        if (has_prefix(l, "bestmove")) ++search;
        else if (has_prefix(l, "info depth") && search < 2) last[search] = l;
    }
    EXPECT_EQ(search, 2);
    EXPECT_TRUE(contains(last[0], " score mate 2 ")) << last[0];
    EXPECT_TRUE(contains(last[1], " score mate -1 ")) << last[1];
}

TEST(SearchProtocol, SearchOutputAndInputLandInTheLog) {
    std::string dir = make_temp_dir();
    {
        EngineProcess engine({}, dir);
        start_infinite(engine);
        engine.send("isready");
        engine.send("d");
        engine.send("stop");
        engine.read_until("bestmove", 5000);
        engine.read_until("50-move", 5000);  // the board, printed after the search
        engine.send("quit");
        engine.wait_exit(5000);
    }
    auto log = read_file_lines(dir + "/quillbrook_uci.log");
    std::string all;
    for (const std::string& l : log) {
        all += l + "\n";
        // Time-stamped lines: "hh:mm:ss.mmm " before every entry of the session.
        if (l.empty() || has_prefix(l, "===")) continue;
        ASSERT_GE(l.size(), 13u) << l;
        EXPECT_TRUE(l[2] == ':' && l[8] == '.') << l;
    }
    for (const char* entry : {" <<< go infinite\n", " >>> info depth 1 seldepth ", " [poll <<<] isready\n",
                              " >>> readyok\n", " [poll <<<] d\n", " [poll <<<] stop\n", " >>> bestmove ",
                              " [queue <<<] d\n", " <<< quit\n"})
        EXPECT_TRUE(contains(all, entry)) << entry;
    EXPECT_FALSE(contains(all, "[queue <<<] stop")) << "stop acts at once and is not queued";
}

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
