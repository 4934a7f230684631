// Small text helpers shared by the command handlers.
#pragma once

#include <cstring>

// True when text starts with prefix: begins_with("gox", "go") is true.
inline bool begins_with(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Removes every trailing line feed and carriage return, in any mix; returns the new length.
inline size_t strip_line_end(char* line) {
    size_t len = std::strlen(line);
    while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r')) line[--len] = '\0';
    return len;
}
