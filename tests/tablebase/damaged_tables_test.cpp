// End-to-end: every 4-piece table cut to its first half, or with 64 random
// bytes overwritten, under SyzygyPath. Probes of the damaged files fail and
// the engine searches as if they were absent, still playing legal moves.
#include <algorithm>
#include <random>

#include "board/legality.h"
#include "fuzz/harness.h"
#include "tablebase/tb_position.h"
#include "tb_test_util.h"
#include "uci/engine_process.h"

namespace {

namespace fs = std::filesystem;

// Five pieces: searched, with captures into the damaged 4-piece tables.
constexpr const char* CAPTURING_FENS[] = {
    "8/8/3k4/3r4/8/3R4/3QK3/8 w - - 0 1",
    "8/2k5/8/3p4/4P3/8/2K2N2/8 w - - 0 1",
    "8/8/1k6/8/8/4b3/R2B4/4K3 b - - 0 1",
};

// Copies the real tables, damaging each 4-piece file; returns the FENs to play.
std::vector<std::string> damaged_copy(const ScratchDir& dir, bool truncate) {
    std::mt19937 random(truncate ? 1 : 2);
    std::vector<std::string> fens(std::begin(CAPTURING_FENS), std::end(CAPTURING_FENS));
    for (const fs::directory_entry& file : fs::directory_iterator(TB_REAL_DIR)) {
        const std::string name = file.path().filename().string();
        const std::string signature = name.substr(0, name.size() - 5);
        std::ifstream in(file.path(), std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        if (signature.size() == 5) {
            if (truncate) bytes.resize(bytes.size() / 2);
            else
                for (int i = 0; i < 64; ++i) bytes[random() % bytes.size()] = char(random());
            if (file.path().extension() == ".rtbw") {
                uint64_t seed = bytes.size();
                Position pos;
                std::string fen;
                do fen = random_material_fen(signature.c_str(), seed, seed & 1);
                while (!parse_fen(pos, fen.c_str()) || !tb_is_valid(tb_position_from(pos, 0)));
                fens.push_back(fen);
            }
        }
        std::ofstream(dir.path / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    return fens;
}

bool legal_in(const std::string& fen, const std::string& move) {
    Position pos;
    parse_fen(pos, fen.c_str());
    MoveList list;
    generate_legal_moves(pos, list);
    for (int i = 0; i < list.count; ++i)
        if (move == move_to_str(list.moves[i])) return true;
    return false;
}

TEST(TbDamaged, TruncatedOrOverwrittenTablesStillEndInLegalMoves) {
    for (bool truncate : {true, false}) {
        SCOPED_TRACE(truncate ? "first halves" : "64 bytes overwritten");
        ScratchDir dir;
        const std::vector<std::string> fens = damaged_copy(dir, truncate);
        EngineProcess engine;
        engine.send("setoption name SyzygyPath value " + dir.str());
        for (const std::string& fen : fens) {
            SCOPED_TRACE(fen);
            engine.send("position fen " + fen);
            engine.send("go depth 4");
            const std::vector<std::string> lines = engine.read_until("bestmove", 60000);
            ASSERT_FALSE(lines.empty());
            ASSERT_TRUE(has_prefix(lines.back(), "bestmove ")) << lines.back();
            EXPECT_TRUE(legal_in(fen, lines.back().substr(9))) << lines.back();
        }
        engine.send("quit");
        EXPECT_EQ(engine.wait_exit(), 0);
    }
}

}  // namespace
