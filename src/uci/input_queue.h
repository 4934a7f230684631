// Lines that arrive during a search and wait for the command loop.
#pragma once

constexpr int QUEUE_SLOTS = 16;
constexpr int QUEUE_LINE_SIZE = 1024;

extern char input_queue[QUEUE_SLOTS][QUEUE_LINE_SIZE];
extern int queue_count;  // lines waiting, 0..16
extern int queue_head;   // slot of the oldest waiting line

// Appends a line (cut to 1023 characters) when a slot is free; false when full.
bool queue_push(const char* line);
// Copies the oldest line into buffer (NUL-terminated) and removes it; false when empty.
bool queue_pop(char* buffer, int size);
