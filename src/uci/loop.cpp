#include <cstring>

#include "platform/input.h"
#include "search/tt.h"
#include "uci/input_queue.h"
#include "uci/log.h"
#include "uci/text.h"
#include "uci/uci.h"

namespace {
constexpr int LINE_BUFFER_SIZE = 4096;
}

void uci_loop() {
    static Position pos;
    parse_fen(pos, START_FEN);
    char line[LINE_BUFFER_SIZE];
    for (;;) {
        if (queue_count > 0) {
            queue_pop(line, sizeof(line));
            log_input_line("[queue <<<]", line);
        } else {
            // Time spent waiting for the GUI commits the hash table, so that
            // searches neither stall on its first touches nor lose speed.
            while (!input_available() && tt_commit_step()) {
            }
            if (!read_input_line(line, sizeof(line))) break;
            strip_line_end(line);
            log_input_line("<<<", line);
        }
        if (std::strcmp(line, "quit") == 0) break;
        uci_dispatch(line, pos);
    }
    log_close();
}
