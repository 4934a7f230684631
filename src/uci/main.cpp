#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/perft.h"
#include "uci/uci.h"

int main(int argc, char** argv) {
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
