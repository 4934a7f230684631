#include <cstdio>

#include "board/attacks.h"
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
