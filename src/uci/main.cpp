#include <cstring>

#include "board/perft.h"
#include "uci/uci.h"

int main(int argc, char** argv) {
    engine_init();
    if (argc >= 2 && std::strcmp(argv[1], "perfttest") == 0) {
        perft_suite();
    } else {
        uci_loop();
    }
    engine_shutdown();
    return 0;
}
