#include "uci/poll.h"

#include <cstdio>
#include <cstring>

#include "platform/input.h"
#include "search/limits.h"
#include "uci/input_queue.h"
#include "uci/log.h"
#include "uci/text.h"

void poll_input() {
    char line[QUEUE_LINE_SIZE];
    for (;;) {
        if (!input_available()) return;
        if (queue_count >= QUEUE_SLOTS) return;
        if (!read_input_line(line, sizeof(line))) {
            // The interface is gone: a search that only a stop could end ends here.
            if (search_runs_unbounded(search_limits)) stop_search = true;
            return;
        }
        if (strip_line_end(line) == 0) continue;
        log_input_line("[poll <<<]", line);
        if (std::strcmp(line, "stop") == 0) {
            stop_search = true;
        } else if (std::strcmp(line, "isready") == 0) {
            std::printf("readyok\n");
            std::fflush(stdout);
            log_output_line("readyok");
        } else if (std::strcmp(line, "quit") == 0) {
            stop_search = true;
            queue_push("quit");
        } else {
            queue_push(line);
        }
    }
}
