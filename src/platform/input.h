// Standard-input line reader shared by the command loop and the polling
// during a search. Both must go through it: bytes pulled into a private
// buffer are invisible to a readiness test on the descriptor, so the
// readiness test here looks at the buffer first.
#pragma once

// True when a read_input_line call would find data without waiting for the
// other end: a buffered line, pending bytes, or end of input. Works for a
// pipe, a terminal and a regular file.
bool input_available();

// Reads one line like fgets: at most size - 1 characters, stopping after a
// line feed, always NUL-terminated. False at end of input with nothing read.
bool read_input_line(char* buffer, int size);
