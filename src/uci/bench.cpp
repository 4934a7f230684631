#include <cstdio>

#include "platform/clock.h"
#include "search/history.h"
#include "search/root.h"
#include "search/search.h"
#include "search/tt.h"
#include "uci/commands.h"

const char* const BENCH_FENS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "",
};

void cmd_bench(int depth) {
    static Position pos;  // the command loop's position is never touched
    tt_commit_all();  // speed is measured with the table resident, as in a game
    const uint64_t start = tick_ms();
    uint64_t total = 0;
    for (int i = 0; BENCH_FENS[i][0] != '\0'; ++i) {
        parse_fen(pos, BENCH_FENS[i]);
        clear_search_tables();
        tt_clear();
        SearchLimits limits{};
        limits.depth = depth;
        start_search(pos, limits);
        total += search_nodes;
    }
    const int64_t elapsed = int64_t(tick_ms() - start);
    const uint64_t nps = elapsed > 0 ? total * 1000 / uint64_t(elapsed) : 0;
    std::printf("\n=== Bench ===\n");
    std::printf("Depth   : %d\n", depth);
    std::printf("Nodes   : %llu\n", static_cast<unsigned long long>(total));
    std::printf("Time    : %lld ms\n", static_cast<long long>(elapsed));
    std::printf("NPS     : %llu\n", static_cast<unsigned long long>(nps));
    std::fflush(stdout);
}
