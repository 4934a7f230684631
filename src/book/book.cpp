#include "book/book.h"

// Placeholder until the book reader lands: no book, no moves.
bool book_enabled = false;

bool book_load(const char*) {
    book_enabled = false;
    return false;
}

uint64_t polyglot_key(const Position&) { return 0; }

Move book_probe(Position&) { return NO_MOVE; }
