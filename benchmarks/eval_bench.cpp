// Average time of one `evaluate` call over the middle-game positions of the
// benchmark list and every position one legal move away from them.
// Usage: eval_bench [rounds]   (default 20000 passes over the set)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "board/legality.h"
#include "board/makemove.h"
#include "eval/evaluate.h"
#include "uci/uci.h"

namespace {

constexpr const char* MIDDLE_GAME_FENS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    engine_init();

    // Positions are large (undo history); keep one per set-up, reached by move from its root.
    static Position root;
    struct Sample {
        int root;
        Move move;
    };
    std::vector<Sample> samples;
    for (int r = 0; r < 4; ++r) {
        parse_fen(root, MIDDLE_GAME_FENS[r]);
        samples.push_back({r, NO_MOVE});
        MoveList list;
        generate_legal_moves(root, list);
        for (int i = 0; i < list.count; ++i) samples.push_back({r, list.moves[i]});
    }
    static Position positions[256];
    if (samples.size() > 256) samples.resize(256);
    for (size_t i = 0; i < samples.size(); ++i) {
        parse_fen(positions[i], MIDDLE_GAME_FENS[samples[i].root]);
        if (samples[i].move != NO_MOVE) make_move(positions[i], samples[i].move);
    }
    const size_t n = samples.size();

    long long checksum = 0;
    for (size_t i = 0; i < n; ++i) checksum += evaluate(positions[i]);  // warm the pawn cache
    // Processor time as well as wall time: other work on a shared machine inflates only the latter.
    const std::clock_t cpu_start = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r)
        for (size_t i = 0; i < n; ++i) checksum += evaluate(positions[i]);
    const auto stop = std::chrono::steady_clock::now();
    const std::clock_t cpu_stop = std::clock();

    const double calls = double(rounds) * double(n);
    const double wall_ns = std::chrono::duration<double, std::nano>(stop - start).count() / calls;
    const double cpu_ns = double(cpu_stop - cpu_start) * 1e9 / CLOCKS_PER_SEC / calls;
    std::printf("positions %zu  calls %.0f  cpu %.1f ns/call  wall %.1f ns/call  (checksum %lld)\n", n, calls, cpu_ns,
                wall_ns, checksum);
    engine_shutdown();
    return 0;
}
