#include "search/pv.h"

#include <algorithm>
#include <cstdio>

#include "board/legality.h"
#include "board/makemove.h"
#include "search/output.h"

bool pv_report_active = false;
int pv_report_count = 0;

namespace {

constexpr int REPORT_LIMIT = 5;
constexpr int REPORT_SIZE = 1024;

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

// How many of moves[0..len-1] play legally one after another from pos. Each
// is tested before it is played, so the last needs no playing at all; pos
// is as it was on return.
int legal_prefix(Position& pos, const Move* moves, int len) {
    int valid = 0;
    while (valid < len && legal_before_make(pos, moves[valid])) {
        if (valid + 1 == len) {
            take_back(pos, moves, valid);
            return len;
        }
        make_move(pos, moves[valid++]);
    }
    take_back(pos, moves, valid);
    return valid;
}

}  // namespace

void take_back(Position& pos, const Move* moves, int count) {
    for (int k = count - 1; k >= 0; --k) unmake_move(pos, moves[k]);
}

bool update_pv(Position& pos, int ply, int depth, Move move, const Move* child_pv, int child_len, const Move* new_pv,
               int new_len, bool child_replayed) {
    // Replaying a known-legal rest would find exactly what it found before.
    const int to_play = child_replayed ? 1 : new_len;
    const int valid = legal_prefix(pos, new_pv, to_play);
    if (valid == to_play) return true;

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
