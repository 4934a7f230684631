#include <gtest/gtest.h>

#include "board/position.h"
#include "search/see.h"

namespace {

TEST(StaticExchange, Examples) {
    struct Case {
        const char* fen;
        int from, to, kind, value;
    };
    const Case cases[] = {
        {"4k3/8/2p5/3n4/4P3/8/8/4K3 w - - 0 1", E4, D5, CAPTURE, 200},  // PxN, pawn recaptures
        {"4k3/8/4p3/3p4/8/2N5/8/4K3 w - - 0 1", C3, D5, CAPTURE, -200},  // NxP, pawn recaptures
        {"7k/P7/8/8/8/8/8/4K3 w - - 0 1", A7, A8, PROMO_QUEEN, 100},    // undefended promotion push
        // Rxd5 Rxd5 Rxd5, then the d8 rook or queen recaptures through the vacated d7.
        {"3r2k1/3r4/8/3p4/8/8/3R4/3R2K1 w - - 0 1", D2, D5, CAPTURE, -400},
        {"3q2k1/3r4/8/3p4/8/8/3R4/3R2K1 w - - 0 1", D2, D5, CAPTURE, -400},
        {"6k1/3r4/8/3p4/8/8/3R4/3R2K1 w - - 0 1", D2, D5, CAPTURE, 100},  // no hidden d8 piece
        {"4k3/8/8/4p3/3N4/2P5/8/4K3 b - - 0 1", E5, D4, CAPTURE, 200},    // black mirrored
        {"4k3/2p5/8/3pP3/8/8/8/4K3 w - d6 0 1", E5, D6, EN_PASSANT, 0},   // exd6 e.p., cxd6
        {"4k3/8/8/8/2b5/3n4/4K3/8 w - - 0 1", E2, D3, CAPTURE, 300 - 20000},  // king takes a defended piece
    };
    for (const Case& c : cases) {
        Position pos;
        parse_fen(pos, c.fen);
        EXPECT_EQ(see(pos, make_move_value(c.from, c.to, c.kind)), c.value) << c.fen;
    }
}

}  // namespace
