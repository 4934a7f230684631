#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "book/book.h"
#include "search/root.h"
#include "uci/commands.h"
#include "uci/text.h"

namespace {

struct GoKeyword {
    const char* word;
    int32_t SearchLimits::*field;
};

// Tested in this order, each as a prefix of the token.
constexpr GoKeyword GO_KEYWORDS[] = {
    {"wtime", &SearchLimits::wtime},         {"btime", &SearchLimits::btime},
    {"winc", &SearchLimits::winc},           {"binc", &SearchLimits::binc},
    {"movestogo", &SearchLimits::movestogo}, {"movetime", &SearchLimits::movetime},
    {"depth", &SearchLimits::depth},         {"nodes", &SearchLimits::nodes},
};

}  // namespace

SearchLimits parse_go(const char* line) {
    SearchLimits limits{};
    const char* cursor = std::strlen(line) >= 2 ? line + 2 : line + std::strlen(line);
    while (*cursor) {
        while (*cursor == ' ') ++cursor;
        bool matched = false;
        for (const GoKeyword& k : GO_KEYWORDS) {
            size_t n = std::strlen(k.word);
            if (std::strncmp(cursor, k.word, n) == 0) {
                cursor += n;
                limits.*k.field = std::atoi(cursor);
                matched = true;
                break;
            }
        }
        if (!matched && begins_with(cursor, "infinite")) {
            limits.infinite = 1;
            cursor += 8;
        }
        // The number itself is met again as a token that matches nothing.
        while (*cursor && *cursor != ' ') ++cursor;
    }
    return limits;
}

void cmd_go(const char* line, Position& pos) {
    const SearchLimits limits = parse_go(line);
    if (book_enabled && !limits.infinite) {
        Move m = book_probe(pos);
        if (m != NO_MOVE) {
            std::printf("bestmove %s\n", move_to_str(m));
            std::fflush(stdout);
            return;
        }
    }
    start_search(pos, limits);
}
