// A Polyglot book file, loaded and probed from positions with and without book moves.
#include <cstdlib>

#include "book/book.h"
#include "fuzz/harness.h"
#include "fuzz/targets.h"

namespace {

// The start, a few opening moves in (with castling and en passant at hand),
// promotions, and a position no book holds.
constexpr const char* PROBED_FENS[] = {
    START_FEN,
    "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2",
    "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 1",
    "8/8/8/4k3/8/8/8/4K2R w K - 0 1",
};

}  // namespace

int fuzz_book(const uint8_t* data, size_t size) {
    fuzz_engine_init();
    static const std::string path = fuzz_scratch_dir() + "/book.bin";
    if (!fuzz_write_file(path, data, size)) return 0;
    book_load(path.c_str());
    static Position pos;
    for (const char* fen : PROBED_FENS) {
        parse_fen(pos, fen);
        const Move m = book_probe(pos);
        // A book move is played as it comes, so it must be legal here.
        if (m != NO_MOVE && !among_legal_moves(pos, m)) std::abort();
    }
    book_load("");
    return 0;
}
