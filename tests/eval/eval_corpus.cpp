#include "eval/eval_corpus.h"

#include <fstream>

#include "board/makemove.h"
#include "board/movegen.h"

namespace {

constexpr const char* BENCH_FENS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
};

std::string fen_of(const Position& pos, bool mirror) {
    static const char* letters = "PNBRQKpnbrqk";
    std::string out;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            int sq = make_square(file, mirror ? 7 - rank : rank);
            int piece = pos.board[sq];
            if (piece == NO_PIECE) {
                ++empty;
                continue;
            }
            if (empty) out += char('0' + empty);
            empty = 0;
            if (mirror) piece = make_piece(color_of(piece) ^ 1, type_of(piece));
            out += letters[piece];
        }
        if (empty) out += char('0' + empty);
        if (rank) out += '/';
    }
    // Castling rights and en passant play no part in the evaluation.
    out += (pos.side == WHITE) != mirror ? " w - -" : " b - -";
    return out + " 0 1";
}

void expand(Position& pos, int plies, std::vector<std::string>& out) {
    out.push_back(position_fen(pos));
    if (plies == 0) return;
    MoveList list;
    generate_legal_moves(pos, list);
    for (int i = 0; i < list.count; ++i) {
        make_move(pos, list.moves[i]);
        expand(pos, plies - 1, out);
        unmake_move(pos, list.moves[i]);
    }
}

}  // namespace

std::string position_fen(const Position& pos) { return fen_of(pos, false); }
std::string mirrored_fen(const Position& pos) { return fen_of(pos, true); }

std::vector<std::string> evaluation_corpus(int plies) {
    std::vector<std::string> roots(std::begin(BENCH_FENS), std::end(BENCH_FENS));
    std::ifstream epd(std::string(TEST_DATA_DIR) + "/perft.epd");
    for (std::string line; std::getline(epd, line);)
        if (auto cut = line.find(" ;"); cut != std::string::npos) roots.push_back(line.substr(0, cut));

    std::vector<std::string> out;
    static Position pos;
    for (const std::string& fen : roots) {
        parse_fen(pos, fen.c_str());
        expand(pos, plies, out);
    }
    return out;
}
