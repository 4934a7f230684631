#include <cstdlib>

#include "book/book.h"
#include "book/book_table.h"
#include "board/legality.h"

namespace {

// Moves under one key beyond this many are never drawn.
constexpr int MAX_BOOK_CHOICES = 64;

// Index of the first entry with `key`, or book_count when there is none.
int first_entry_with_key(uint64_t key) {
    int lo = 0, hi = book_count - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        uint64_t found = book_entries[mid].key;
        if (found < key) {
            lo = mid + 1;
        } else if (found > key) {
            hi = mid - 1;
        } else {
            while (mid > 0 && book_entries[mid - 1].key == key) --mid;
            return mid;
        }
    }
    return book_count;
}

// Draws one of the position's book moves with probability proportional to
// its weight; returns the Polyglot move bits, or 0 when nothing can be drawn.
uint16_t draw_book_move(uint64_t key) {
    uint16_t moves[MAX_BOOK_CHOICES];
    uint16_t weights[MAX_BOOK_CHOICES];
    int choices = 0;
    uint32_t total = 0;
    for (int i = first_entry_with_key(key);
         i < book_count && book_entries[i].key == key && choices < MAX_BOOK_CHOICES; ++i) {
        moves[choices] = book_entries[i].move;
        weights[choices] = book_entries[i].weight;
        total += weights[choices];
        ++choices;
    }
    if (choices == 0 || total == 0) return 0;

    uint32_t r = static_cast<uint32_t>(std::rand()) % total;
    uint32_t running = 0;
    for (int i = 0; i < choices; ++i) {
        running += weights[i];
        if (r < running) return moves[i];
    }
    return 0;
}

// The engine's legal move that the Polyglot move bits stand for, or NO_MOVE:
// castling is stored as king takes own rook, so e1h1 is played as e1g1.
Move match_book_move(Position& pos, uint16_t book_move) {
    int to = book_move & 63;
    int from = (book_move >> 6) & 63;
    int promotion = (book_move >> 12) & 7;  // 1 knight .. 4 queen, the engine's piece types

    int mover = pos.board[from];
    if ((mover == W_KING || mover == B_KING) && file_of(from) == 4) {
        if (file_of(to) == 7) to = make_square(6, rank_of(from));
        else if (file_of(to) == 0) to = make_square(2, rank_of(from));
    }

    MoveList legal;
    generate_legal_moves(pos, legal);
    for (int i = 0; i < legal.count; ++i) {
        Move m = legal.moves[i];
        if (move_from(m) != from || move_to(m) != to) continue;
        if (promotion == 0 || (is_promotion(m) && promotion_type(m) == promotion)) return m;
    }
    return NO_MOVE;
}

}  // namespace

Move book_probe(Position& pos) {
    if (!book_enabled || !book_entries || book_count == 0) return NO_MOVE;
    uint16_t book_move = draw_book_move(polyglot_key(pos));
    // A drawn move of 0 (a1a1) is no move any position allows, so it falls through as none.
    return book_move ? match_book_move(pos, book_move) : NO_MOVE;
}
