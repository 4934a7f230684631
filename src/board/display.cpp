#include <cstdio>

#include "board/position.h"

void print_board(const Position& pos) {
    static constexpr const char* SEPARATOR = "\n  +---+---+---+---+---+---+---+---+\n";
    std::printf("%s", SEPARATOR);
    for (int rank = 7; rank >= 0; --rank) {
        std::printf("%d |", rank + 1);
        for (int file = 0; file < 8; ++file)
            std::printf(" %c |", "PNBRQKpnbrqk."[pos.board[make_square(file, rank)]]);
        std::printf("%s", SEPARATOR);
    }
    std::printf("    a   b   c   d   e   f   g   h\n");
    std::printf("\nSide: %s\n", pos.side == WHITE ? "white" : "black");
    std::printf("Castling: %s%s%s%s\n", pos.castling & WHITE_OO ? "K" : "", pos.castling & WHITE_OOO ? "Q" : "",
                pos.castling & BLACK_OO ? "k" : "", pos.castling & BLACK_OOO ? "q" : "");
    if (pos.ep_square != NO_SQUARE)
        std::printf("EP square: %c%d\n", 'a' + file_of(pos.ep_square), rank_of(pos.ep_square) + 1);
    std::printf("50-move: %d, Hash: %016llx\n", pos.halfmove_clock, static_cast<unsigned long long>(pos.hash));
}
