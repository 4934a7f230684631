#include "search/pv.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/makemove.h"
#include "board/movegen.h"
#include "search/limits.h"
#include "search/output.h"
#include "search/root.h"
#include "search/search.h"

bool pv_report_active = false;
int pv_report_count = 0;

namespace {

constexpr int REPORT_LIMIT = 5;
constexpr int REPORT_SIZE = 1024;
constexpr int INFO_SIZE = 2048;
constexpr int MESSAGE_SIZE = 512;

// Plays moves[0..len-1] while each leaves the mover's king safe; returns how
// many were played (and are still on the board).
int play_legal_prefix(Position& pos, const Move* moves, int len) {
    int k = 0;
    for (; k < len; ++k) {
        make_move(pos, moves[k]);
        if (!mover_king_safe(pos)) {
            unmake_move(pos, moves[k]);
            break;
        }
    }
    return k;
}

void take_back(Position& pos, const Move* moves, int count) {
    for (int k = count - 1; k >= 0; --k) unmake_move(pos, moves[k]);
}

// Appends the moves separated by single spaces while the text stays 8 below the limit.
int append_moves(char* buffer, int length, int size, const Move* moves, int count) {
    for (int k = 0; k < count && length + 8 < size; ++k) {
        int n = std::snprintf(buffer + length, size_t(size - length), "%s%s", k == 0 ? "" : " ", move_to_str(moves[k]));
        if (n > 0) length = std::min(length + n, size - 1);
    }
    return length;
}

int append_text(char* buffer, int length, int size, const char* text) {
    int n = std::snprintf(buffer + length, size_t(size - length), "%s", text);
    return n > 0 ? std::min(length + n, size - 1) : length;
}

}  // namespace

bool update_pv(Position& pos, int ply, int depth, Move move, const Move* child_pv, int child_len, const Move* new_pv,
               int new_len) {
    const int valid = play_legal_prefix(pos, new_pv, new_len);
    take_back(pos, new_pv, valid);
    if (valid == new_len) return true;

    if (pv_report_active) {
        if (++pv_report_count > REPORT_LIMIT) return false;
    } else {
        pv_report_count = 1;
        pv_report_active = true;
    }
    char report[REPORT_SIZE];
    char move_text[8], bad_text[8];
    std::snprintf(move_text, sizeof(move_text), "%s", move_to_str(move));
    std::snprintf(bad_text, sizeof(bad_text), "%s", move_to_str(new_pv[valid]));
    int length = std::snprintf(report, sizeof(report),
                               "[PV-CORRUPTION #%d] ply=%d depth=%d move_played=%s bad_idx=%d/%d bad_move=%s; new_pv=[",
                               pv_report_count, ply, depth, move_text, valid, new_len, bad_text);
    length = std::min(length, REPORT_SIZE - 1);
    length = append_moves(report, length, REPORT_SIZE, new_pv, new_len);
    length = append_text(report, length, REPORT_SIZE, "] child_pv=[");
    length = append_moves(report, length, REPORT_SIZE, child_pv, child_len);
    append_text(report, length, REPORT_SIZE, "]");
    search_log(report);
    return false;
}

void format_score(char* out, int size, int score) {
    if (score >= MATE_BOUND) std::snprintf(out, size_t(size), "mate %d", (MATE + 1 - score) / 2);
    else if (score <= -MATE_BOUND) std::snprintf(out, size_t(size), "mate %d", -((score + MATE + 1) / 2));
    else std::snprintf(out, size_t(size), "cp %d", score);
}

void print_info(Position& pos, int depth, int line_index, int score, const Move* pv, int pv_length) {
    const int64_t time = search_elapsed_ms();
    const uint64_t nps = time > 0 ? search_nodes * 1000 / uint64_t(time) : 0;

    int valid = 0;
    for (; valid < pv_length; ++valid) {
        make_move(pos, pv[valid]);
        if (!mover_king_safe(pos)) {
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
    if (multipv > 1) length += std::snprintf(line + length, sizeof(line) - size_t(length), " multipv %d", line_index + 1);
    length += std::snprintf(line + length, sizeof(line) - size_t(length), " score %s nodes %llu nps %llu time %lld pv",
                            score_text, static_cast<unsigned long long>(search_nodes),
                            static_cast<unsigned long long>(nps), static_cast<long long>(time));
    for (int k = 0; k < valid && length + 8 < INFO_SIZE; ++k)
        length += std::snprintf(line + length, sizeof(line) - size_t(length), " %s", move_to_str(pv[k]));
    search_print(line);
}
