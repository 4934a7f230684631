#include <cstdio>

#include "board/attacks.h"
#include "board/zobrist.h"
#include "eval/kpk.h"
#include "eval/psq.h"
#include "uci/uci.h"

void engine_init() {
    static bool done = false;
    if (done) return;
    done = true;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    init_attack_tables();
    init_zobrist();
    psq_init();
    kpk_init();
}

void engine_shutdown() {}
