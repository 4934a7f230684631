#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/perft.h"
#include "eval/trace.h"
#include "search/history.h"
#include "search/limits.h"
#include "search/tt.h"
#include "uci/commands.h"
#include "uci/text.h"
#include "uci/uci.h"

namespace {

constexpr int MAX_PERFT_DEPTH = 32;

// Number after a command word, as atoi reads it (0 when absent).
int number_after(const char* line, size_t word_length) {
    return std::strlen(line) > word_length ? std::atoi(line + word_length) : 0;
}

void print_uci_identity() {
    std::printf(
        "id name Quillbrook v37\n"
        "id author You\n"
        "option name Hash type spin default 256 min 1 max 2048\n"
        "option name Threads type spin default 1 min 1 max 1\n"
        "option name MultiPV type spin default 1 min 1 max 256\n"
        "option name OwnBook type check default false\n"
        "option name BookFile type string default champions.bin\n"
        "option name Style type combo default PeSTO var PeSTO var Linear\n"
        "option name SyzygyPath type string default <empty>\n"
        "uciok\n");
    std::fflush(stdout);
}

}  // namespace

void uci_dispatch(const char* line, Position& pos) {
    if (std::strcmp(line, "uci") == 0) {
        print_uci_identity();
    } else if (std::strcmp(line, "isready") == 0) {
        std::printf("readyok\n");
        std::fflush(stdout);
    } else if (std::strcmp(line, "ucinewgame") == 0) {
        tt_clear();
        clear_search_tables();
        parse_fen(pos, START_FEN);
    } else if (begins_with(line, "position")) {
        position_command(line, pos);
    } else if (begins_with(line, "go")) {
        cmd_go(line, pos);
    } else if (std::strcmp(line, "stop") == 0) {
        stop_search = true;
    } else if (begins_with(line, "setoption")) {
        cmd_setoption(line);
    } else if (std::strcmp(line, "d") == 0) {
        print_board(pos);
    } else if (std::strcmp(line, "perfttest") == 0) {
        perft_suite();
    } else if (begins_with(line, "perft")) {
        int depth = number_after(line, 5);
        // Deeper trees could not finish anyway, and the cap keeps the undo history in bounds.
        if (depth > MAX_PERFT_DEPTH) depth = MAX_PERFT_DEPTH;
        perft_divide(pos, depth < 1 ? 1 : depth);
    } else if (begins_with(line, "bench")) {
        int depth = number_after(line, 5);
        cmd_bench(depth < 1 ? 10 : depth);
    } else if (std::strcmp(line, "eval") == 0) {
        eval_trace(pos);
    } else if (std::strcmp(line, "dupcheck") == 0) {
        cmd_dupcheck(pos);
    } else if (std::strcmp(line, "illegalcheck") == 0) {
        cmd_illegalcheck(pos);
    }
}
