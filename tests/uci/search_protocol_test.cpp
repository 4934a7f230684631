// End-to-end: searching through pipes, with commands arriving mid-search.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;

long long ms_since(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

bool starts_with(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

std::vector<std::string> with_prefix(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (starts_with(l, prefix)) out.push_back(l);
    return out;
}

// Waits until the engine has answered isready, so the next timing starts clean.
void sync(EngineProcess& engine) {
    engine.send("isready");
    auto lines = engine.read_until("readyok", 20000);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back(), "readyok");
}

TEST(SearchProtocol, GoDepthPrintsEachIterationThenBestmove) {
    EngineProcess engine;
    engine.send("position startpos");
    engine.send("go depth 3");
    auto lines = engine.read_until("bestmove");
    ASSERT_EQ(lines.size(), 4u);
    for (int d = 1; d <= 3; ++d) {
        EXPECT_TRUE(starts_with(lines[size_t(d - 1)], "info depth " + std::to_string(d) + " seldepth "))
            << lines[size_t(d - 1)];
        EXPECT_NE(lines[size_t(d - 1)].find(" score cp "), std::string::npos);
        EXPECT_NE(lines[size_t(d - 1)].find(" pv "), std::string::npos);
        EXPECT_EQ(lines[size_t(d - 1)].find(" multipv "), std::string::npos);
    }
    EXPECT_TRUE(starts_with(lines[3], "bestmove "));
    // The move played is the first move of the last line.
    std::string pv_first = lines[2].substr(lines[2].find(" pv ") + 4, 4);
    EXPECT_EQ(lines[3].substr(9, 4), pv_first);
}

TEST(SearchProtocol, MovetimeIsRespected) {
    EngineProcess engine;
    sync(engine);
    engine.send("go movetime 1000");
    auto start = Clock::now();
    auto lines = engine.read_until("bestmove", 5000);
    long long elapsed = ms_since(start);
    ASSERT_TRUE(starts_with(lines.back(), "bestmove ")) << lines.back();
    EXPECT_LE(elapsed, 1000 + 200);
    EXPECT_GE(elapsed, 900) << "the soft limit is 990 ms: no early stop in the opening";
}

TEST(SearchProtocol, TinyMovetimeStillCompletesTheFirstIteration) {
    auto lines = run_engine("go movetime 5\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(starts_with(lines[0], "info depth 1 seldepth "));
    EXPECT_EQ(lines[1].substr(0, 13), "bestmove " + lines[0].substr(lines[0].find(" pv ") + 4, 4));
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
    EXPECT_TRUE(starts_with(last, "info depth 127 ")) << last;
    EXPECT_NE(last.find(" score mate 1 "), std::string::npos) << last;
}

TEST(SearchProtocol, StopEndsAnInfiniteSearchPromptly) {
    EngineProcess engine;
    sync(engine);
    engine.send("go infinite");
    std::string line;
    ASSERT_TRUE(engine.read_line(line));  // searching
    engine.send("stop");
    auto start = Clock::now();
    auto lines = engine.read_until("bestmove", 5000);
    EXPECT_TRUE(starts_with(lines.back(), "bestmove ")) << lines.back();
    EXPECT_LE(ms_since(start), 200);
}

TEST(SearchProtocol, IsreadyIsAnsweredWithoutStoppingTheSearch) {
    EngineProcess engine;
    sync(engine);
    engine.send("go infinite");
    std::string line;
    ASSERT_TRUE(engine.read_line(line));
    engine.send("isready");
    auto start = Clock::now();
    auto lines = engine.read_until("readyok", 5000);
    EXPECT_EQ(lines.back(), "readyok");
    EXPECT_LE(ms_since(start), 200);
    EXPECT_TRUE(with_prefix(lines, "bestmove").empty());
    // Still searching: nothing but info lines for a while.
    auto more = engine.read_until("bestmove", 300);
    EXPECT_TRUE(with_prefix(more, "bestmove").empty());
    engine.send("stop");
    EXPECT_TRUE(starts_with(engine.read_until("bestmove", 5000).back(), "bestmove "));
}

TEST(SearchProtocol, QuitDuringSearchPrintsBestmoveAndExits) {
    EngineProcess engine;
    sync(engine);
    engine.send("go infinite");
    std::string line;
    ASSERT_TRUE(engine.read_line(line));
    engine.send("quit");
    auto lines = engine.read_all(5000);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(starts_with(lines.back(), "bestmove ")) << lines.back();
    EXPECT_EQ(engine.wait_exit(2000), 0);
}

TEST(SearchProtocol, CommandsSentDuringASearchRunAfterItInOrder) {
    EngineProcess engine;
    sync(engine);
    engine.send("go infinite");
    std::string line;
    ASSERT_TRUE(engine.read_line(line));
    // Black to move in a position with a single legal move: h3-h2 is forced.
    engine.send("position fen k7/8/1Q6/8/8/7p/8/K7 b - - 0 1");
    engine.send("go depth 2");
    engine.send("stop");
    auto first = engine.read_until("bestmove", 5000);
    ASSERT_TRUE(starts_with(first.back(), "bestmove "));
    EXPECT_NE(first.back(), "bestmove h3h2");
    auto second = engine.read_until("bestmove", 5000);
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second.back(), "bestmove h3h2");
}

TEST(SearchProtocol, NoLegalMoveGivesNullBestmove) {
    auto mated = run_engine("position fen R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo depth 5\n"
                            "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo movetime 100\n");
    EXPECT_EQ(mated, (std::vector<std::string>{"bestmove 0000", "bestmove 0000"}));
}

TEST(SearchProtocol, MultiPvSearchesNoMoreLinesThanMoves) {
    // The white king is stalemated; only the a-pawn moves, one step or two.
    auto lines = run_engine("setoption name MultiPV value 3\n"
                            "position fen k7/8/8/8/8/8/P4q2/7K w - - 0 1\ngo depth 4\n");
    auto infos = with_prefix(lines, "info depth");
    ASSERT_FALSE(infos.empty());
    int line1 = 0, line2 = 0;
    for (const std::string& l : infos) {
        line1 += l.find(" multipv 1 ") != std::string::npos;
        line2 += l.find(" multipv 2 ") != std::string::npos;
        EXPECT_EQ(l.find(" multipv 3 "), std::string::npos) << l;
    }
    EXPECT_EQ(line1, 4);
    EXPECT_EQ(line2, 4);
    // Lines come out in search order within each iteration.
    EXPECT_NE(infos[0].find(" multipv 1 "), std::string::npos);
    EXPECT_NE(infos[1].find(" multipv 2 "), std::string::npos);
}

TEST(SearchProtocol, MateScoresAreGivenInMoves) {
    // White mates in two; in the second position Black is mated next move.
    auto lines = run_engine("position fen k7/8/2K5/8/8/8/8/7R w - - 0 1\ngo depth 12\n"
                            "position fen k7/8/1K6/8/8/8/8/7R b - - 0 1\ngo depth 6\n");
    auto bests = with_prefix(lines, "bestmove");
    ASSERT_EQ(bests.size(), 2u);
    std::string last_white, last_black;
    bool second = false;
    for (const std::string& l : lines) {
        if (starts_with(l, "bestmove")) second = true;
        else if (starts_with(l, "info depth")) (second ? last_black : last_white) = l;
    }
    EXPECT_NE(last_white.find(" score mate 2 "), std::string::npos) << last_white;
    EXPECT_NE(last_black.find(" score mate -1 "), std::string::npos) << last_black;
}

TEST(SearchProtocol, RepeatedRootPlaysTheFirstLegalMoveSilently) {
    // Both kings shuffle back: the root repeats the start and scores a draw at once.
    auto lines = run_engine("position startpos moves g1f3 g8f6 f3g1 f6g8\ngo depth 5\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"bestmove a2a3"}));
}

TEST(SearchProtocol, SearchOutputAndInputLandInTheLog) {
    std::string dir = make_temp_dir();
    {
        EngineProcess engine({}, dir);
        engine.send("position startpos");
        engine.send("go infinite");
        std::string line;
        ASSERT_TRUE(engine.read_line(line));
        engine.send("isready");
        engine.send("d");
        engine.send("stop");
        engine.read_until("bestmove", 5000);
        engine.read_until("50-move", 5000);  // the board, printed after the search
        engine.send("quit");
        engine.wait_exit(5000);
    }
    auto log = read_file_lines(dir + "/quillbrook_uci.log");
    auto has = [&](const std::string& needle) {
        for (const std::string& l : log)
            if (l.find(needle) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has(" <<< go infinite"));
    EXPECT_TRUE(has(" >>> info depth 1 seldepth "));
    EXPECT_TRUE(has(" [poll <<<] isready"));
    EXPECT_TRUE(has(" >>> readyok"));
    EXPECT_TRUE(has(" [poll <<<] d"));
    EXPECT_TRUE(has(" [poll <<<] stop"));
    EXPECT_TRUE(has(" >>> bestmove "));
    EXPECT_TRUE(has(" [queue <<<] d"));
    EXPECT_FALSE(has("[queue <<<] stop")) << "stop acts at once and is not queued";
    EXPECT_TRUE(has(" <<< quit"));
    // Time-stamped lines: "hh:mm:ss.mmm " before every entry of the session.
    for (const std::string& l : log) {
        if (l.empty() || starts_with(l, "===")) continue;
        ASSERT_GE(l.size(), 13u) << l;
        EXPECT_EQ(l[2], ':');
        EXPECT_EQ(l[8], '.');
    }
}

TEST(SearchProtocol, QuitReadFromAFileStopsTheSearchAtItsFirstPoll) {
    std::string dir = make_temp_dir();
    {
        std::ofstream input(dir + "/input.txt");
        input << "go infinite\nquit\n";
    }
    std::string command = "cd " + dir + " && timeout 20 " + QUILLBROOK_BINARY + " < input.txt > output.txt";
    auto start = Clock::now();
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_LT(ms_since(start), 5000);
    auto lines = read_file_lines(dir + "/output.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(starts_with(lines.back(), "bestmove ")) << lines.back();
}

}  // namespace
