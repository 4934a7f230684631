#include <gtest/gtest.h>

#include <string>

#include "eval/trace.h"

namespace {

Position pos;

std::string trace_of(const char* fen) {
    parse_fen(pos, fen);
    testing::internal::CaptureStdout();
    eval_trace(pos);
    return testing::internal::GetCapturedStdout();
}

TEST(EvalTrace, InitialPosition) {
    EXPECT_EQ(trace_of(START_FEN),
              "=== Evaluation Trace ===\n"
              "Phase: 24/24\n"
              "Material+PST      MG:    +0  EG:    +0\n"
              "Pawns             MG:    +0  EG:    +0\n"
              "Mobility          MG:    +0  EG:    +0\n"
              "RooksW            MG:    +0  EG:    +0\n"
              "RooksB            MG:    +0  EG:    +0\n"
              "Threats           MG:    +0  EG:    +0\n"
              "BishopPair           +0\n"
              "KingSafety        W: 0  B: 0  net: +0\n"
              "---\n"
              "Total (side-to-move): +20 cp\n");
}

TEST(EvalTrace, LinesOfSmallPositions) {
    const struct {
        const char* fen;
        const char* line;
    } cases[] = {
        // Black rook a8 on an open file: 47/26, shown negated half by half (reading the
        // negated Score would give an end-game half of -27). Both kings lack all shelter
        // (60), and the rook could check safely on a1 (3 units: 2 more).
        {"r3k3/8/8/8/8/8/8/4K1N1 b - - 0 1", "Phase: 3/24\n"},
        {"r3k3/8/8/8/8/8/8/4K1N1 b - - 0 1", "RooksW            MG:    +0  EG:    +0\n"},
        {"r3k3/8/8/8/8/8/8/4K1N1 b - - 0 1", "RooksB            MG:   -47  EG:   -26\n"},
        {"r3k3/8/8/8/8/8/8/4K1N1 b - - 0 1", "KingSafety        W: 62  B: 60  net: -2\n"},
        // Knight g1 reaches three squares: -3/-17, whose end-game half reads one lower.
        {"4k3/8/8/8/8/8/8/4K1N1 w - - 0 1", "Phase: 1/24\n"},
        {"4k3/8/8/8/8/8/8/4K1N1 w - - 0 1", "Mobility          MG:    -3  EG:   -18\n"},
        {"4k3/8/8/8/8/8/8/4K1N1 w - - 0 1", "Total (side-to-move): +0 cp\n"},
        {"4k3/pp6/8/8/8/8/PP6/4K3 w - - 0 1", "Phase: 0/24\n"},
        {"4k3/pp6/8/8/8/8/PP6/4K3 w - - 0 1", "BishopPair           +0\n"},
        // The bishop pair shows its middle-game part only.
        {"4k3/8/8/8/8/8/8/2B1KB2 w - - 0 1", "BishopPair          +22\n"},
        {"2b1kb2/8/8/8/8/8/8/4K3 w - - 0 1", "BishopPair          -22\n"},
    };
    for (const auto& c : cases) {
        const std::string out = trace_of(c.fen);
        EXPECT_NE(out.find(c.line), std::string::npos) << c.fen << "\n" << out;
    }
}

}  // namespace
