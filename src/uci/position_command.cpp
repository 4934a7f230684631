#include <cstring>

#include "board/legality.h"
#include "board/makemove.h"
#include "uci/text.h"
#include "uci/uci.h"

namespace {

constexpr int MOVE_TOKEN_SIZE = 16;

// Room left above the game's moves for the plies a search adds on top.
constexpr int SEARCH_HEADROOM = 256;

// Keeps the history below its capacity by forgetting the oldest move; the
// recent ones are what repetition detection needs.
void make_room_in_history(Position& pos) {
    if (pos.history_len < MAX_HISTORY - SEARCH_HEADROOM) return;
    std::memmove(pos.history, pos.history + 1, sizeof(UndoRecord) * size_t(pos.history_len - 1));
    pos.history_len--;
}

// The first legal move whose coordinate text the token names.
Move find_named_move(Position& pos, const char* token) {
    if (std::strlen(token) < 4) return NO_MOVE;
    MoveList list;
    generate_legal_moves(pos, list);
    for (int i = 0; i < list.count; ++i) {
        Move m = list.moves[i];
        const char* text = move_to_str(m);
        if (std::strncmp(text, token, 4) != 0) continue;
        char fifth = token[4];
        if (is_promotion(m) ? fifth == text[4] : (fifth == ' ' || fifth == '\0')) return m;
    }
    return NO_MOVE;
}

}  // namespace

void position_command(const char* line, Position& pos) {
    const char* p = line + std::strlen("position");
    if (std::strlen(line) < std::strlen("position")) return;
    while (*p == ' ') ++p;

    const char* rest;
    if (begins_with(p, "startpos")) {
        parse_fen(pos, START_FEN);
        rest = p + 8;
    } else if (begins_with(p, "fen")) {
        p += 3;
        while (*p == ' ') ++p;
        parse_fen(pos, p);
        const char* walk = p;
        int spaces = 0;
        while (*walk && spaces < 6) {
            if (*walk == ' ') spaces++;
            ++walk;
        }
        rest = walk > p ? walk - 1 : walk;
    } else {
        return;
    }

    const char* moves = std::strstr(rest, "moves");
    if (!moves) return;
    p = moves + 5;
    while (*p == ' ') ++p;

    char token[MOVE_TOKEN_SIZE];
    while (*p) {
        int len = 0;
        while (p[len] && p[len] != ' ') ++len;
        int copy = len < MOVE_TOKEN_SIZE - 1 ? len : MOVE_TOKEN_SIZE - 1;
        std::memcpy(token, p, size_t(copy));
        token[copy] = '\0';
        Move m = find_named_move(pos, token);
        if (m != NO_MOVE) {
            make_room_in_history(pos);
            make_move(pos, m);
        }
        p += len;
        while (*p == ' ') ++p;
    }
}
