// One FEN: every move made (each legality shortcut held to the rule) and taken back, evaluation, exchanges, a short
// search, perft.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/legality.h"
#include "board/makemove.h"
#include "board/perft.h"
#include "eval/evaluate.h"
#include "fuzz/harness.h"
#include "fuzz/targets.h"
#include "search/root.h"
#include "search/see.h"

namespace {

constexpr int SEARCH_NODE_CAP = 20000;

// The record with the undo entries in use: entries past history_len are scratch.
bool same_record(const Position& a, const Position& b) {
    if (a.history_len != b.history_len) return false;
    const size_t used = offsetof(Position, history) + sizeof(UndoRecord) * size_t(a.history_len);
    return std::memcmp(&a, &b, used) == 0;
}

// A broken invariant is a finding: abort so the fuzzer keeps the input.
void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

int fuzz_position(const uint8_t* data, size_t size) {
    fuzz_engine_init();
    static Position pos, before;
    const std::string fen(reinterpret_cast<const char*>(data), size);
    // A FEN cut short still leaves a record the engine goes on with: check that one too.
    parse_fen(pos, fen.c_str());
    std::memcpy(&before, &pos, sizeof(Position));

    Move moves[MAX_MOVES];
    const Move* end = generate_moves(pos, moves);
    const LegalityMasks masks = legality_masks(pos, in_check(pos));
    for (const Move* m = moves; m < end; ++m) {
        const bool foreseen = legal_before_make(pos, *m), settled = legal_before_make(pos, *m, masks);
        make_move(pos, *m);
        require(foreseen == legal_after_make(pos));
        require(settled == legal_after_make(pos));
        evaluate(pos);
        unmake_move(pos, *m);
        require(same_record(pos, before));
        if (is_capture(*m)) see(pos, *m);
    }
    evaluate(pos);

    // Piles of queens make even two plies explode in captures: the node cap keeps an input to milliseconds.
    SearchLimits limits{};
    limits.depth = 2;
    limits.nodes = SEARCH_NODE_CAP;
    start_search(pos, limits);
    require(same_record(pos, before));
    perft(pos, 2);
    require(same_record(pos, before));
    return 0;
}
