#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/attacks.h"
#include "board/perft.h"
#include "board/zobrist.h"
#include "eval/kpk.h"
#include "eval/psq.h"
#include "search/history.h"
#include "search/limits.h"
#include "search/output.h"
#include "search/search.h"
#include "search/tt.h"
#include "uci/log.h"
#include "uci/poll.h"
#include "uci/uci.h"

void engine_init() {
    static bool done = false;
    if (done) return;
    done = true;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    init_attack_tables();
    init_zobrist();
    psq_init();
    init_lmr_table();
    kpk_init();
    tt_resize(256);
    clear_search_tables();
    search_poll = poll_input;
    search_log = log_output_line;
}

void engine_shutdown() { tt_free(); }

int engine_main(int argc, char** argv) {
    engine_init();
    if (argc >= 2 && std::strcmp(argv[1], "bench") == 0) {
        char command[32];
        std::snprintf(command, sizeof(command), "bench %d", argc >= 3 ? std::atoi(argv[2]) : 10);
        static Position pos;
        parse_fen(pos, START_FEN);
        uci_dispatch(command, pos);
    } else if (argc >= 2 && std::strcmp(argv[1], "perfttest") == 0) {
        perft_suite();
    } else {
        uci_loop();
    }
    engine_shutdown();
    return 0;
}
