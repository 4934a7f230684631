// One table file of a chosen signature, its partner real, then WDL, DTZ and
// root probes over positions of that material.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/harness.h"
#include "fuzz/targets.h"
#include "tablebase/entry.h"
#include "tablebase/probe.h"
#include "tablebase/table_files.h"
#include "tablebase/tablebase.h"
#include "tablebase/tb_position.h"

namespace {

struct FuzzedTable {
    const char* signature;
    int kind;  // TB_WDL or TB_DTZ; the other kind is the real file
};

// Small tables of every layout: pawnless, with pawns on one or both sides,
// symmetric, and the 80-byte placeholders. The input's first byte selects one.
constexpr FuzzedTable FUZZED_TABLES[] = {
    {"KQvK", TB_WDL},  {"KQvK", TB_DTZ},  {"KRvK", TB_WDL},  {"KRvK", TB_DTZ},   {"KPvK", TB_WDL},
    {"KPvK", TB_DTZ},  {"KRvKR", TB_WDL}, {"KRvKR", TB_DTZ}, {"KQvKQ", TB_WDL},  {"KQvKQ", TB_DTZ},
    {"KRPvK", TB_WDL}, {"KRPvK", TB_DTZ}, {"KPPvK", TB_WDL}, {"KPPvK", TB_DTZ},  {"KBvKP", TB_DTZ},
    {"KNvKP", TB_DTZ}, {"KNNvK", TB_WDL}, {"KBvKB", TB_WDL}, {"KNNvK", TB_DTZ},
};
constexpr int FUZZED_COUNT = int(sizeof(FUZZED_TABLES) / sizeof(FUZZED_TABLES[0]));
constexpr int POSITIONS_PER_TABLE = 8;

// Playable positions of the table's signature, both sides to move, made on first use.
const std::vector<Position>& positions_of(int table) {
    static std::vector<Position> made[FUZZED_COUNT];
    uint64_t seed = 1;
    Position pos;
    while (made[table].size() < POSITIONS_PER_TABLE) {
        const bool white = made[table].size() % 2 == 0;
        if (parse_fen(pos, random_material_fen(FUZZED_TABLES[table].signature, seed, white).c_str()) &&
            tb_is_valid(tb_position_from(pos, 0)))
            made[table].push_back(pos);
    }
    return made[table];
}

// The real partner of the fuzzed file, copied once into the signature's folder.
std::string table_folder(const FuzzedTable& table) {
    namespace fs = std::filesystem;
    const std::string folder = fuzz_scratch_dir() + "/" + table.signature + TB_EXTENSION[table.kind];
    const int partner = table.kind == TB_WDL ? TB_DTZ : TB_WDL;
    const std::string name = std::string(table.signature) + TB_EXTENSION[partner];
    if (!fs::exists(folder + "/" + name)) {
        fs::create_directories(folder);
        fs::copy_file(std::string(fuzz_data_dir()) + "/syzygy/" + name, folder + "/" + name);
    }
    return folder;
}

}  // namespace

int fuzz_tables(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    fuzz_engine_init();
    const int selected = data[0] % FUZZED_COUNT;
    const FuzzedTable& table = FUZZED_TABLES[selected];
    const std::string folder = table_folder(table);
    tb_load("");  // unmapped before it is rewritten
    if (!fuzz_write_file(folder + "/" + table.signature + TB_EXTENSION[table.kind], data + 1, size - 1)) return 0;
    tb_load(folder.c_str());

    for (Position pos : positions_of(selected)) {
        bool found;
        tb_probe_wdl(pos, found);
        int success;
        tb_dtz(tb_position_from(pos, 0), success);
        Move m;
        // A root move is played as it comes, so it must be legal here.
        if (tb_root_move(pos, m) && m != NO_MOVE && !among_legal_moves(pos, m)) std::abort();
    }
    tb_load("");
    return 0;
}
