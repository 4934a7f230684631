// End-to-end: the engine binary behind pipes, as a GUI drives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Protocol, UciIsreadyQuitPrintsExactlyTheIdentityAndReadyok) {
    const Lines expected = {
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
        "readyok",
    };
    EXPECT_EQ(run_engine("uci\nisready\nquit\n"), expected);
    // Trailing blanks, wrong case and unknown words are ignored silently; "quit " is not quit.
    EXPECT_EQ(run_engine("uci \nUCI\nfoo\n\nquit \nisready\n"), Lines{"readyok"});
}

TEST(Protocol, PositionCommandsAsShownByTheBoardDisplay) {
    const std::string promo_fen = "position fen 8/4P3/8/8/8/8/k7/7K w - - 0 1 moves ";
    auto lines = run_engine("d\nposition startpos moves e2e4\nd\n"
                            "position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\nd\n"
                            "position startpos moves e2e4 e9e9 e7e5\nd\n" +
                            promo_fen + "e7e8Q\nd\n" + promo_fen + "e7e8q\nd\n"
                            "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - moves e2e4\nd\n"
                            "position fen 8/8/8/8/8/8/k7/7K b - - 0 1\nucinewgame\nd\n");
    const Lines hashes = lines_with_prefix(lines, "50-move:"), sides = lines_with_prefix(lines, "Side:"),
                rank8 = lines_with_prefix(lines, "8 |"), rank2 = lines_with_prefix(lines, "2 |");
    ASSERT_EQ(hashes.size(), 8u);
    EXPECT_EQ(hashes[0], "50-move: 0, Hash: e2adaad23b96d882");
    EXPECT_EQ(hashes[1], "50-move: 0, Hash: 9920ca2c579d60a6");
    EXPECT_EQ(hashes[2], "50-move: 0, Hash: 9920ca2c579d60a6");
    EXPECT_EQ(sides[3], "Side: white");  // e2e4 and e7e5 played, e9e9 skipped
    EXPECT_EQ(rank8[4], "8 | . | . | . | . | . | . | . | . |");  // e7e8Q skipped
    EXPECT_EQ(sides[4], "Side: white");
    EXPECT_EQ(rank8[5], "8 | . | . | . | . | Q | . | . | . |");
    EXPECT_EQ(rank2[6], "2 | P | P | P | P | P | P | P | P |");  // a four-field FEN ignores its moves
    EXPECT_EQ(hashes[7], "50-move: 0, Hash: e2adaad23b96d882");  // ucinewgame: the start again
}

TEST(Protocol, ImpossiblePositionsAreTakenAsWrittenAndSurviveEveryCommand) {
    // No black king, two white kings, a pawn on the first rank, the side not to move in check.
    const std::pair<const char*, const char*> cases[] = {{"8/8/8/8/8/8/8/4K3 w - - 0 1", "Total: 0"},
                                                         {"4k3/8/8/8/8/8/8/K3K3 w - - 0 1", "Total: 410"},
                                                         {"4k3/8/8/8/8/8/8/P3K3 w - - 0 1", "Total: 170"},
                                                         {"4k3/8/8/8/8/8/4R3/4K3 w - - 0 1", "Total: 1196"}};
    for (const auto& [fen, total] : cases) {
        SCOPED_TRACE(fen);
        const Lines lines = run_engine(std::string("position fen ") + fen +
                                       "\nd\neval\nperft 3\ngo depth 5\ngo movetime 100\n");
        EXPECT_EQ(lines_with_prefix(lines, "Total:"), Lines{total});
        EXPECT_EQ(lines_with_prefix(lines, "bestmove").size(), 2u);
    }
}

TEST(Protocol, HostileInputNeverCrashes) {
    std::string input =
        "position fen rnbqkbnr/pppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\nd\nperft 2\n"
        "position fen 8/8/8/8/8/8/8/8/8/8/8/k7/K7 w - - 0 1\nd\nperft 2\n"
        "position fen 4k3/8/8/8/8/8/8/4K3 w KQkq z9 x y\nd\nperft 2\n"
        "position fen 4k3/8/8/8/8/8/8/4K3 b - e5 99999999999999 -5\nd\nperft 2\n"
        "position fen nQQQQQQQ/1Q5Q/Q6Q/Q6Q/Q2Q2QQ/Q6Q/Q5QQ/kQQNQQ1K w - - 0 1\nperft 2\ndupcheck\nillegalcheck\n"
        "position fen r3k2r/8/8/8/8/8/8/8 w KQkq - 0 1\nperft 3\n"
        "position fen\nposition fen \nposition\nposition moves\nperft -5\nperft 99999999999\n"
        "position " + std::string(100 * 1024, 'x') + "\n";
    // Knights shuffling back and forth: far more moves than the undo history holds.
    input += "position startpos moves";
    for (int i = 0; i < 200; ++i) input += " g1f3 g8f6 f3g1 f6g8";
    input += "\nd\n";
    for (int i = 0; i < 4096; ++i) input += char((i * 131 + 7) % 256);
    EngineProcess engine;
    engine.send_raw(input + "\n");
    EXPECT_TRUE(engine.ready(60000));
    engine.close_input();
    EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(ProtocolLog, TwoRunsAppendTwoSessionBlocks) {
    std::string dir = make_temp_dir();
    const std::string long_line(3000, 'z');
    run_engine("uci\nisready\nquit\n", {}, dir);
    run_engine("isready\n\nd\n" + long_line + "\n", {}, dir);  // ends by end of input
    auto lines = read_file_lines(dir + "/quillbrook_uci.log");
    Lines tagged;
    for (const std::string& l : lines)
        if (l.size() > 13 && l[2] == ':' && l[5] == ':' && l[8] == '.') tagged.push_back(l.substr(13));
    EXPECT_EQ(lines_with_prefix(lines, "=== Session start ").size(), 2u);
    EXPECT_EQ(lines_with_prefix(lines, "=== Session end ===").size(), 2u);
    const Lines expected = {"<<< uci", "<<< isready", "<<< quit", "<<< isready", "<<< ", "<<< d", "<<< " + long_line};
    EXPECT_EQ(tagged, expected);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "");  // each block starts with a blank line
    EXPECT_EQ(lines.back(), "");
}

TEST(ProtocolLog, UnopenableLogStillAnswersSilently) {
    // A directory in the log file's place cannot be opened for appending, even by root.
    std::string dir = make_temp_dir();
    std::filesystem::create_directory(dir + "/quillbrook_uci.log");
    EXPECT_EQ(run_engine("isready\nd\nisready\n", {}, dir).back(), "readyok");
    EXPECT_EQ(run_engine("isready\n", {}, dir), Lines{"readyok"});
}

}  // namespace
