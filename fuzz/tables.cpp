// One table file of a chosen signature, its partner real, then WDL, DTZ and
// root probes over positions of that material.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "board/movegen.h"
#include "board/playable.h"
#include "fuzz/harness.h"
#include "tablebase/probe.h"
#include "tablebase/registry.h"
#include "tablebase/tablebase.h"
#include "fuzz/targets.h"

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

// Playable positions of the signature, both sides to move.
const std::vector<Position>& positions_of(const char* signature) {
    static std::vector<Position> cache[FUZZED_COUNT];
    static const char* cached_for[FUZZED_COUNT] = {};
    for (int i = 0; i < FUZZED_COUNT; ++i) {
        if (cached_for[i] == signature) return cache[i];
        if (cached_for[i]) continue;
        cached_for[i] = signature;
        uint64_t seed = 1;
        Position pos;
        while (cache[i].size() < POSITIONS_PER_TABLE) {
            if (parse_fen(pos, random_material_fen(signature, seed, cache[i].size() % 2 == 0).c_str()) &&
                position_is_playable(pos))
                cache[i].push_back(pos);
        }
        return cache[i];
    }
    std::abort();
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
    const FuzzedTable& table = FUZZED_TABLES[data[0] % FUZZED_COUNT];
    const std::string folder = table_folder(table);
    tb_load("");  // unmapped before it is rewritten
    if (!fuzz_write_file(folder + "/" + table.signature + TB_EXTENSION[table.kind], data + 1, size - 1)) return 0;
    tb_load(folder.c_str());

    for (Position pos : positions_of(table.signature)) {
        bool found;
        tb_probe_wdl(pos, found);
        int success;
        tb_dtz(tb_position_from(pos, 0), success);
        Move m;
        // A root move is played as it comes, so it must be legal here.
        if (tb_root_move(pos, m) && m != NO_MOVE && !move_is_legal(pos, m)) std::abort();
    }
    tb_load("");
    return 0;
}
