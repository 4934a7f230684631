#include "uci/input_queue.h"

#include <cstdio>
#include <cstring>

#include "platform/input.h"
#include "uci/log.h"

char input_queue[QUEUE_SLOTS][QUEUE_LINE_SIZE];
int queue_count = 0;
int queue_head = 0;
volatile bool stop_search = false;

bool queue_push(const char* line) {
    if (queue_count >= QUEUE_SLOTS) return false;
    char* slot = input_queue[(queue_head + queue_count) % QUEUE_SLOTS];
    std::strncpy(slot, line, QUEUE_LINE_SIZE - 1);
    slot[QUEUE_LINE_SIZE - 1] = '\0';
    queue_count++;
    return true;
}

bool queue_pop(char* buffer, int size) {
    if (queue_count <= 0 || size < 1) return false;
    std::snprintf(buffer, size_t(size), "%s", input_queue[queue_head]);
    queue_head = (queue_head + 1) % QUEUE_SLOTS;
    queue_count--;
    return true;
}

void poll_input() {
    char line[QUEUE_LINE_SIZE];
    for (;;) {
        if (!input_available()) return;
        if (queue_count >= QUEUE_SLOTS) return;
        if (!read_input_line(line, sizeof(line))) return;
        size_t len = std::strlen(line);
        while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r')) line[--len] = '\0';
        if (len == 0) continue;
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
