#include "uci/input_queue.h"

#include <cstdio>
#include <cstring>


char input_queue[QUEUE_SLOTS][QUEUE_LINE_SIZE];
int queue_count = 0;
int queue_head = 0;

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
