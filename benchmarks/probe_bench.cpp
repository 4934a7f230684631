// Average time of one WDL and one DTZ probe over random positions of every
// table in a folder (the repository's 3- and 4-piece set by default), best
// of five timed runs after a pass that maps the files.
// Usage: probe_bench [folder] [rounds]   (default 20 passes per run)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/harness.h"
#include "platform/files.h"
#include "tablebase/probe.h"
#include "tablebase/tablebase.h"
#include "tablebase/tb_position.h"
#include "uci/uci.h"

namespace {

constexpr int POSITIONS_PER_TABLE = 200;
constexpr int RUNS = 5;

// Nanoseconds per call of probe over every position, best of RUNS.
template <typename Probe>
double best_ns(const std::vector<TbPosition>& positions, int rounds, Probe probe) {
    double best = 1e300;
    int sink = 0;
    for (int run = 0; run < RUNS; ++run) {
        auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < rounds; ++r)
            for (const TbPosition& pos : positions) sink += probe(pos);
        std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / (double(rounds) * double(positions.size())));
    }
    if (sink == 42) std::printf(" ");
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : std::string(QUILLBROOK_DATA_DIR) + "/syzygy";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    engine_init();
    tb_load(folder.c_str());

    std::vector<TbPosition> positions;
    static Position pos;
    for (const std::string& file : list_directory(folder.c_str(), ".rtbw")) {
        const std::string signature = file.substr(0, file.size() - 5);
        uint64_t seed = 7;
        for (int made = 0; made < POSITIONS_PER_TABLE;) {
            if (!parse_fen(pos, random_material_fen(signature.c_str(), seed, made % 2 == 0).c_str()) ||
                !tb_is_valid(tb_position_from(pos, 0)))
                continue;
            positions.push_back(tb_position_from(pos, 0));
            ++made;
        }
    }
    int failed = 0, success;
    for (const TbPosition& p : positions) {
        tb_wdl(p, success);
        failed += success == 0;
        tb_dtz(p, success);
        failed += success == 0;
    }
    const double wdl = best_ns(positions, rounds, [&](const TbPosition& p) { return tb_wdl(p, success); });
    const double dtz = best_ns(positions, rounds, [&](const TbPosition& p) { return tb_dtz(p, success); });
    std::printf("positions %zu, failed probes %d\nWDL probe: %.0f ns\nDTZ probe: %.0f ns\n", positions.size(), failed,
                wdl, dtz);
    return 0;
}
