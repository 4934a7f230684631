#include "search/info.h"

#include <cstdio>

#include "board/legality.h"
#include "board/makemove.h"

#include "search/limits.h"
#include "search/output.h"
#include "search/pv.h"
#include "search/search.h"

namespace {

constexpr int INFO_SIZE = 2048;
constexpr int MESSAGE_SIZE = 512;

}  // namespace

void format_score(char* out, int size, int score) {
    if (score >= MATE_BOUND) std::snprintf(out, size_t(size), "mate %d", (MATE + 1 - score) / 2);
    else if (score <= -MATE_BOUND) std::snprintf(out, size_t(size), "mate %d", -((score + MATE + 1) / 2));
    else std::snprintf(out, size_t(size), "cp %d", score);
}

void print_info(Position& pos, int depth, int multipv_line, int score, const Move* pv, int pv_length) {
    const int64_t time = search_elapsed_ms();
    const uint64_t nps = time > 0 ? search_nodes * 1000 / uint64_t(time) : 0;

    int valid = 0;
    for (; valid < pv_length; ++valid) {
        make_move(pos, pv[valid]);
        if (!legal_after_make(pos)) {
            unmake_move(pos, pv[valid]);
            char message[MESSAGE_SIZE];
            std::snprintf(message, sizeof(message),
                          "[PV-INVALID] move %s at PV index %d/%d is illegal in current position; truncating PV here",
                          move_to_str(pv[valid]), valid, pv_length);
            search_log(message);
            break;
        }
    }
    take_back(pos, pv, valid);

    char line[INFO_SIZE];
    char score_text[32];
    format_score(score_text, sizeof(score_text), score);
    int length = std::snprintf(line, sizeof(line), "info depth %d seldepth %d", depth, sel_depth);
    if (multipv_line > 0)
        length += std::snprintf(line + length, sizeof(line) - size_t(length), " multipv %d", multipv_line);
    length += std::snprintf(line + length, sizeof(line) - size_t(length), " score %s nodes %llu nps %llu time %lld pv",
                            score_text, static_cast<unsigned long long>(search_nodes),
                            static_cast<unsigned long long>(nps), static_cast<long long>(time));
    for (int k = 0; k < valid && length + 8 < INFO_SIZE; ++k)
        length += std::snprintf(line + length, sizeof(line) - size_t(length), " %s", move_to_str(pv[k]));
    search_print(line);
}
