// End-to-end: the SyzygyPath option, the root probe and the in-search
// probes of the real engine binary, talked to through pipes.
#include "board/makemove.h"
#include "board/movegen.h"
#include "tablebase/tablebase.h"
#include "tb_test_util.h"
#include "uci/engine_process.h"

namespace {

bool starts_with(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

void sync(EngineProcess& engine) {
    engine.send("isready");
    auto lines = engine.read_until("readyok", 20000);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back(), "readyok");
}

// Lines the engine prints for one go, up to and including bestmove.
std::vector<std::string> go(EngineProcess& engine, const std::string& fen, const std::string& limits) {
    engine.send("position fen " + fen);
    engine.send("go " + limits);
    return engine.read_until("bestmove", 60000);
}

// The move the tables choose, computed in this process.
std::string table_move(const char* fen) {
    load_real_tables();
    Position pos;
    parse_fen(pos, fen);
    Move m = NO_MOVE;
    EXPECT_TRUE(tb_root_move(pos, m)) << fen;
    return move_to_str(m);
}

int count_prefix(const std::vector<std::string>& lines, const std::string& prefix) {
    int n = 0;
    for (const std::string& l : lines) n += starts_with(l, prefix);
    return n;
}

TEST(TbUci, CoveredRootPlaysTheTablesMoveAtOnce) {
    EngineProcess engine;
    engine.send("setoption name SyzygyPath value " + TB_REAL_DIR);
    sync(engine);
    // The smallest positive DTZ, a drawing move by rank, en passant, the other side, a mate in one
    // (root_test checks that the tables' choice mates).
    for (const char* fen : {"8/8/8/8/8/2k5/8/KQ6 w - - 0 1", "8/8/8/4k3/8/8/8/KN6 w - - 0 1",
                            "7k/8/8/3pP3/8/8/8/4K3 w - d6 0 2", "8/8/8/8/8/2k5/8/KQ6 b - - 0 1",
                            "k7/8/1K6/8/8/8/7Q/8 w - - 0 1"}) {
        SCOPED_TRACE(fen);
        std::string move = table_move(fen);
        auto lines = go(engine, fen, "depth 10");
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1 pv " + move);
        EXPECT_EQ(lines[1], "bestmove " + move);
    }
}

TEST(TbUci, PositionsTheRootProbeLeavesToTheSearch) {
    EngineProcess engine;
    engine.send("setoption name SyzygyPath value " + TB_REAL_DIR);
    sync(engine);
    // Checkmated and stalemated: no move to play.
    for (const char* fen : {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", "k7/8/1Q6/8/8/8/8/7K b - - 0 1"}) {
        auto lines = go(engine, fen, "depth 5");
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "bestmove 0000") << fen;
        EXPECT_EQ(count_prefix(lines, "info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1"), 0) << fen;
    }
    // Castling rights, and more pieces than the tables hold: a normal search of every depth.
    for (const char* fen : {"4k2r/8/8/8/8/8/8/4K3 b k - 0 1", "8/8/8/8/8/2k5/8/KQR1r3 w - - 0 1"}) {
        auto lines = go(engine, fen, "depth 4");
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(starts_with(lines.back(), "bestmove ")) << fen;
        EXPECT_EQ(count_prefix(lines, "info depth "), 4) << fen;
        EXPECT_EQ(count_prefix(lines, "info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1"), 0) << fen;
    }
}

TEST(TbUci, EmptyValueKeepsAndUnpairedFileStopsProbing) {
    EngineProcess engine;
    const char* fen = "8/8/8/8/8/2k5/8/KQ6 w - - 0 1";
    engine.send("setoption name SyzygyPath value " + TB_REAL_DIR);
    engine.send("setoption name SyzygyPath value <empty>");
    sync(engine);
    auto lines = go(engine, fen, "depth 10");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(starts_with(lines[0], "info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1 pv "));

    ScratchDir unpaired;
    unpaired.copy_real("KQvK.rtbz");
    engine.send("setoption name SyzygyPath value " + unpaired.str());
    auto reply = engine.read_until("info string", 10000);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply.back(), "info string Syzygy disabled: unpaired tablebase file KQvK.rtbz (missing KQvK.rtbw) in " +
                                unpaired.str());
    lines = go(engine, fen, "depth 3");
    EXPECT_EQ(count_prefix(lines, "info depth "), 3);
    EXPECT_EQ(count_prefix(lines, "info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1"), 0);
}

TEST(TbUci, VanishedTablesLeaveTheSearchToItself) {
    ScratchDir dir;
    for (const char* f : {"KQvK.rtbw", "KQvK.rtbz", "KRvK.rtbw", "KRvK.rtbz"}) dir.copy_real(f);
    EngineProcess engine;
    engine.send("setoption name SyzygyPath value " + dir.str());
    sync(engine);
    std::filesystem::remove(dir.path / "KQvK.rtbw");
    std::filesystem::remove(dir.path / "KQvK.rtbz");
    auto lines = go(engine, "8/8/8/8/8/2k5/8/KQ6 w - - 0 1", "depth 4");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(starts_with(lines.back(), "bestmove "));
    EXPECT_EQ(count_prefix(lines, "info depth "), 4);
    // The other table still answers.
    std::string move = table_move("8/8/8/8/8/2k5/8/KR6 w - - 0 1");
    lines = go(engine, "8/8/8/8/8/2k5/8/KR6 w - - 0 1", "depth 4");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "bestmove " + move);
}

// A five-piece win that a capture turns into a four-piece one: the search
// scores it as a mate (the probes settle the side lines after captures),
// and the engine playing both sides converts it, the tables taking over at
// the root once four pieces are left.
TEST(TbUci, SearchSimplifiesIntoATableWinAndConvertsIt) {
    const std::string start = "3r4/7k/8/8/3Q4/8/8/R5K1 w - - 0 1";
    EngineProcess engine;
    engine.send("setoption name Hash value 16");
    engine.send("setoption name SyzygyPath value " + TB_REAL_DIR);
    sync(engine);
    auto lines = go(engine, start, "depth 12");
    ASSERT_GE(lines.size(), 2u);
    const std::string& last_info = lines[lines.size() - 2];
    size_t at = last_info.find(" score ");
    ASSERT_NE(at, std::string::npos);
    std::string score = last_info.substr(at + 7);
    EXPECT_TRUE(starts_with(score, "mate ") && score[5] != '-') << last_info;

    Position pos;
    parse_fen(pos, start.c_str());
    std::string moves;
    int ply = 0;
    for (; ply < 120; ply++) {
        MoveList legal;
        generate_legal_moves(pos, legal);
        if (legal.count == 0) break;
        ASSERT_LT(pos.halfmove_clock, 100);
        engine.send("position fen " + start + (moves.empty() ? "" : " moves" + moves));
        engine.send("go depth 6");
        auto reply = engine.read_until("bestmove", 60000);
        ASSERT_FALSE(reply.empty());
        ASSERT_TRUE(starts_with(reply.back(), "bestmove ")) << reply.back();
        std::string played = reply.back().substr(9);
        bool found = false;
        for (int i = 0; i < legal.count && !found; i++)
            if (played == move_to_str(legal.moves[i])) {
                make_move(pos, legal.moves[i]);
                found = true;
            }
        ASSERT_TRUE(found) << "illegal " << played << " after" << moves;
        moves += " " + played;
    }
    MoveList legal;
    generate_legal_moves(pos, legal);
    EXPECT_TRUE(legal.count == 0 && in_check(pos) && pos.side == BLACK) << "no mate after" << moves;
    std::printf("converted in %d plies:%s\n", ply, moves.c_str());
}

}  // namespace
