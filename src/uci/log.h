// The protocol log "quillbrook_uci.log": every command line received and the
// search's output lines, time-stamped, appended per session. Opened lazily
// on the first line logged; silent when it cannot be opened.
#pragma once

#include <cstdio>

extern FILE* log_file;
extern bool log_tried;

void log_open();
// Input line with its tag: "<<<", "[queue <<<]", "[poll <<<]", or ">>>".
void log_input_line(const char* tag, const char* line);
// An output line, cut to 1023 characters and stripped of its line end.
void log_output_line(const char* text);
// Writes the session-end line and closes the log, if it is open.
void log_close();
