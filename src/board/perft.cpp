#include "board/perft.h"

#include <cstdio>

#include "board/legality.h"
#include "board/makemove.h"

namespace {

struct PerftCase {
    const char* fen;
    int depth;
    uint64_t expected;
    const char* label;
};

constexpr PerftCase PERFT_SUITE[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, 4865609, "startpos depth 5"},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5, 193690690, "duskmoor depth 5"},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 6, 11030083, "pos3 depth 6"},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 5, 15833292, "pos4 depth 5"},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 5, 89941194, "pos5 depth 5"},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/p1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 5, 180719404, "pos6 depth 5"},
};
constexpr int SUITE_SIZE = sizeof(PERFT_SUITE) / sizeof(PERFT_SUITE[0]);

}  // namespace

uint64_t perft(Position& pos, int depth) {
    if (depth == 0) return 1;
    Move moves[MAX_MOVES];
    Move* end = generate_moves(pos, moves);
    const LegalityMasks masks = legality_masks(pos, in_check(pos));
    uint64_t nodes = 0;
    for (Move* m = moves; m < end; ++m) {
        if (!legal_before_make(pos, *m, masks)) continue;
        if (depth > 1) {
            make_move(pos, *m);
            nodes += perft(pos, depth - 1);
            unmake_move(pos, *m);
        } else {
            ++nodes;  // a legal leaf is counted without being played
        }
    }
    return nodes;
}

void perft_divide(Position& pos, int depth) {
    Move moves[MAX_MOVES];
    Move* end = generate_moves(pos, moves);
    uint64_t total = 0;
    for (Move* m = moves; m < end; ++m) {
        make_move(pos, *m);
        if (legal_after_make(pos)) {
            uint64_t n = perft(pos, depth - 1);
            std::printf("%s: %llu\n", move_to_str(*m), static_cast<unsigned long long>(n));
            total += n;
        }
        unmake_move(pos, *m);
    }
    std::printf("Total: %llu\n", static_cast<unsigned long long>(total));
    std::fflush(stdout);
}

int perft_suite() {
    static Position scratch;
    std::printf("Running perft test suite (%d positions)...\n\n", SUITE_SIZE);
    int passed = 0;
    for (const PerftCase& c : PERFT_SUITE) {
        parse_fen(scratch, c.fen);
        uint64_t n = perft(scratch, c.depth);
        bool pass = n == c.expected;
        passed += pass;
        std::printf("[%s] %s  got %llu  expected %llu\n", pass ? "PASS" : "FAIL", c.label,
                    static_cast<unsigned long long>(n), static_cast<unsigned long long>(c.expected));
    }
    std::printf("\n%d/%d passed\n", passed, SUITE_SIZE);
    std::fflush(stdout);
    return passed;
}

void cmd_dupcheck(Position& pos) {
    Move moves[MAX_MOVES];
    int n = int(generate_moves(pos, moves) - moves);
    int duplicates = 0;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (moves[i] == moves[j]) {
                std::printf("DUPLICATE: %s (indices %d and %d)\n", move_to_str(moves[i]), i, j);
                duplicates++;
            }
    std::printf("Total pseudo-legal: %d, Duplicates: %d\n", n, duplicates);
    std::fflush(stdout);
}

void cmd_illegalcheck(Position& pos) {
    static Position copy;  // large record: kept off the stack
    Move moves[MAX_MOVES];
    Move* end = generate_moves(pos, moves);
    int reports = 0;
    for (Move* m = moves; m < end; ++m) {
        make_move(pos, *m);
        const bool legal = legal_after_make(pos);
        unmake_move(pos, *m);
        if (!legal) continue;
        copy = pos;
        make_move(copy, *m);
        const int mover = copy.side ^ 1, them = copy.side;
        Bitboard king = copy.piece_bb[make_piece(mover, KING)];
        if (!king) continue;
        const int k = lsb(king);
        const Bitboard* p = pieces_of(copy, them);
        bool pawn = pawn_attacks[mover][k] & p[PAWN];
        bool knight = knight_attacks[k] & p[KNIGHT];
        bool king_hit = king_attacks[k] & p[KING];
        bool diag = bishop_attacks(k, copy.occupied) & (p[BISHOP] | p[QUEEN]);
        bool orth = rook_attacks(k, copy.occupied) & (p[ROOK] | p[QUEEN]);
        if (pawn || knight || king_hit || diag || orth) {
            std::printf("ILLEGAL (king in check): %s  pawn=%d knight=%d king=%d diag=%d orth=%d\n", move_to_str(*m),
                        pawn, knight, king_hit, diag, orth);
            reports++;
        }
    }
    if (reports == 0) std::printf("No illegal moves found among move_is_legal=true set.\n");
    std::fflush(stdout);
}
