#include "search/output.h"

#include <cstdio>

void (*search_log)(const char* line) = [](const char*) {};

void search_print(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
    search_log(line);
}
