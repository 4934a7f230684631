// End-to-end: the engine binary behind pipes, as a GUI drives it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

const std::vector<std::string> UCI_REPLY = {
    "id name Quillbrook v37",
    "id author You",
    "option name Hash type spin default 256 min 1 max 2048",
    "option name Threads type spin default 1 min 1 max 1",
    "option name MultiPV type spin default 1 min 1 max 256",
    "option name OwnBook type check default false",
    "option name BookFile type string default champions.bin",
    "option name Style type combo default PeSTO var PeSTO var Linear",
    "option name SyzygyPath type string default <empty>",
    "uciok",
};

std::string last_line(const std::vector<std::string>& lines) { return lines.empty() ? "" : lines.back(); }

}  // namespace

TEST(Protocol, UciIsreadyQuitPrintsExactlyTheIdentityAndReadyok) {
    std::vector<std::string> expected = UCI_REPLY;
    expected.push_back("readyok");
    EXPECT_EQ(run_engine("uci\nisready\nquit\n"), expected);
}

TEST(Protocol, CommandsMatchExactlyOrNotAtAll) {
    // Trailing blanks, wrong case and unknown words are ignored silently;
    // "quit " is not quit, so the engine goes on to answer isready.
    EXPECT_EQ(run_engine("uci \nUCI\nfoo\n\nquit \nisready\n"), std::vector<std::string>{"readyok"});
}

TEST(Protocol, BoardDisplayShowsTheKeyOfStartAndAfterFirstMove) {
    auto lines = run_engine("d\nposition startpos moves e2e4\nd\n"
                            "position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\nd\n");
    std::vector<std::string> hashes;
    for (const std::string& l : lines)
        if (l.rfind("50-move:", 0) == 0) hashes.push_back(l);
    ASSERT_EQ(hashes.size(), 3u);
    EXPECT_EQ(hashes[0], "50-move: 0, Hash: e2adaad23b96d882");
    EXPECT_EQ(hashes[1], "50-move: 0, Hash: 9920ca2c579d60a6");
    EXPECT_EQ(hashes[2], "50-move: 0, Hash: 9920ca2c579d60a6");
}

TEST(Protocol, PositionMovesSkipUnknownAndUpperCasePromotionTokens) {
    auto lines = run_engine("position startpos moves e2e4 e9e9 e7e5\nd\n"
                            "position fen 8/4P3/8/8/8/8/k7/7K w - - 0 1 moves e7e8Q\nd\n"
                            "position fen 8/4P3/8/8/8/8/k7/7K w - - 0 1 moves e7e8q\nd\n");
    std::vector<std::string> rows8, sides;
    for (const std::string& l : lines) {
        if (l.rfind("8 |", 0) == 0) rows8.push_back(l);
        if (l.rfind("Side:", 0) == 0) sides.push_back(l);
    }
    ASSERT_EQ(rows8.size(), 3u);
    EXPECT_EQ(sides[0], "Side: white");  // e2e4 and e7e5 played, e9e9 skipped
    EXPECT_EQ(rows8[1], "8 | . | . | . | . | . | . | . | . |");  // e7e8Q skipped
    EXPECT_EQ(sides[1], "Side: white");
    EXPECT_EQ(rows8[2], "8 | . | . | . | . | Q | . | . | . |");
}

TEST(Protocol, FourFieldFenIgnoresItsMoveList) {
    auto lines = run_engine("position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - moves e2e4\nd\n");
    bool pawn_on_e2 = false;
    for (const std::string& l : lines)
        if (l == "2 | P | P | P | P | P | P | P | P |") pawn_on_e2 = true;
    EXPECT_TRUE(pawn_on_e2);
}

TEST(Protocol, UcinewgameRestoresTheStartPosition) {
    auto lines = run_engine("position fen 8/8/8/8/8/8/k7/7K b - - 0 1\nucinewgame\nd\n");
    EXPECT_EQ(last_line(lines), "50-move: 0, Hash: e2adaad23b96d882");
}

TEST(Protocol, LongMoveListNeverOverflowsTheHistory) {
    // Knights shuffling back and forth: far more moves than the undo history holds.
    std::string line = "position startpos moves";
    for (int i = 0; i < 200; ++i) line += " g1f3 g8f6 f3g1 f6g8";
    auto lines = run_engine(line + "\nd\nisready\n");
    EXPECT_EQ(last_line(lines), "readyok");
}

TEST(Protocol, HostileInputNeverCrashes) {
    std::string input;
    input += "position fen rnbqkbnr/pppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\nd\nperft 2\n";
    input += "position fen 8/8/8/8/8/8/8/8/8/8/8/k7/K7 w - - 0 1\nd\nperft 2\n";
    input += "position fen 4k3/8/8/8/8/8/8/4K3 w KQkq z9 x y\nd\nperft 2\n";
    input += "position fen 4k3/8/8/8/8/8/8/4K3 b - e5 99999999999999 -5\nd\nperft 2\n";
    input += "position fen nQQQQQQQ/1Q5Q/Q6Q/Q6Q/Q2Q2QQ/Q6Q/Q5QQ/kQQNQQ1K w - - 0 1\nperft 2\ndupcheck\nillegalcheck\n";
    input += "position fen r3k2r/8/8/8/8/8/8/8 w KQkq - 0 1\nperft 3\n";
    input += "position fen\nposition fen \nposition\nposition moves\nperft -5\nperft 99999999999\n";
    input += "position " + std::string(100 * 1024, 'x') + "\n";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += char((i * 131 + 7) % 256);
    input += garbage + "\n";
    input += "isready\n";
    EngineProcess engine;
    engine.send_raw(input);
    auto lines = engine.read_until("readyok", 60000);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "readyok");
    engine.close_input();
    EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(Protocol, EndOfInputEndsTheEngineCleanly) {
    EngineProcess engine;
    engine.close_input();
    EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(ProtocolLog, TwoRunsAppendTwoSessionBlocks) {
    std::string dir = make_temp_dir();
    run_engine("uci\nisready\nquit\n", {}, dir);
    run_engine("isready\n\nd\n", {}, dir);  // ends by end of input
    auto lines = read_file_lines(dir + "/quillbrook_uci.log");
    std::vector<std::string> tagged;
    int starts = 0, ends = 0;
    for (const std::string& l : lines) {
        if (l.rfind("=== Session start ", 0) == 0) starts++;
        if (l == "=== Session end ===") ends++;
        if (l.size() > 13 && l[2] == ':' && l[5] == ':' && l[8] == '.') tagged.push_back(l.substr(13));
    }
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(ends, 2);
    std::vector<std::string> expected = {"<<< uci", "<<< isready", "<<< quit", "<<< isready", "<<< ", "<<< d"};
    EXPECT_EQ(tagged, expected);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "");  // each block starts with a blank line
    EXPECT_EQ(lines.back(), "");
}

TEST(ProtocolLog, LongInputLinesAreLoggedWhole) {
    std::string dir = make_temp_dir();
    std::string long_line(3000, 'z');
    run_engine(long_line + "\n", {}, dir);
    bool found = false;
    for (const std::string& l : read_file_lines(dir + "/quillbrook_uci.log"))
        if (l.size() == 13 + 4 + long_line.size() && l.substr(17) == long_line) found = true;
    EXPECT_TRUE(found);
}

TEST(ProtocolLog, UnopenableLogStillAnswersSilently) {
    // A directory in the log file's place cannot be opened for appending, even by root.
    std::string dir = make_temp_dir();
    mkdir((dir + "/quillbrook_uci.log").c_str(), 0755);
    EXPECT_EQ(run_engine("isready\nd\nisready\n", {}, dir).back(), "readyok");
    EXPECT_EQ(run_engine("isready\n", {}, dir), std::vector<std::string>{"readyok"});
}
