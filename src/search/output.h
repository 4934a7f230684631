// Where the search's own lines go: standard output, and the front end's
// protocol log through a hook it installs.
#pragma once

// Prints an `info` or `bestmove` line (no line end) and hands it to search_log.
void search_print(const char* line);

// Records a line the search reports; does nothing until the front end installs its log.
extern void (*search_log)(const char* line);
