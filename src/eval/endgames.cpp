#include "eval/endgames.h"

#include "eval/kpk.h"
#include "eval/masks.h"

namespace {

// Bonus by distance between the kings: the closer the attacking king, the better.
constexpr int MATE_DISTANCE[8] = {0, 0, 100, 80, 60, 40, 20, 10};

// Bare king's square, rank 8 first (index = square ^ 56): rim and corners score most.
// clang-format off
constexpr int LONE_KING[64] = {
    100, 90, 80, 70, 70, 80, 90, 100,
    90,  70, 60, 50, 50, 60, 70, 90,
    80,  60, 40, 30, 30, 40, 60, 80,
    70,  50, 30, 20, 20, 30, 50, 70,
    70,  50, 30, 20, 20, 30, 50, 70,
    80,  60, 40, 30, 30, 40, 60, 80,
    90,  70, 60, 50, 50, 60, 70, 90,
    100, 90, 80, 70, 70, 80, 90, 100,
};

// Bare king's square against a dark-squared bishop and knight, rank 8 first
// (index = square ^ 56): the dark corners a1 and h8 score most.
constexpr int BN_CORNER[64] = {
    130, 140, 150, 160, 170, 180, 190, 200,
    140, 130, 140, 150, 160, 170, 180, 190,
    150, 140, 125, 140, 140, 155, 170, 180,
    160, 150, 140, 110, 120, 140, 160, 170,
    170, 160, 140, 120, 110, 140, 150, 160,
    180, 170, 155, 140, 140, 125, 140, 150,
    190, 180, 170, 160, 150, 140, 130, 140,
    200, 190, 180, 170, 160, 150, 140, 130,
};
// clang-format on

int count(const Position& pos, int color, int type) { return popcount(pos.piece_bb[make_piece(color, type)]); }

Bitboard bb(const Position& pos, int color, int type) { return pos.piece_bb[make_piece(color, type)]; }

bool is_bare(const Position& pos, int color) { return pos.color_bb[color] == bb(pos, color, KING); }

// The colour owns nothing but its king and exactly these many pieces of each kind.
bool has_exactly(const Position& pos, int color, int pawns, int knights, int bishops, int rooks, int queens) {
    return popcount(pos.color_bb[color]) == 1 + pawns + knights + bishops + rooks + queens &&
           count(pos, color, PAWN) == pawns && count(pos, color, KNIGHT) == knights &&
           count(pos, color, BISHOP) == bishops && count(pos, color, ROOK) == rooks &&
           count(pos, color, QUEEN) == queens;
}

int file_distance(int a, int b) { return std::abs(file_of(a) - file_of(b)); }

int special_value(const Position& pos, int c) {
    const int enemy = c ^ 1;
    const int own_king = king_square(pos, c), enemy_king = king_square(pos, enemy);
    if (is_bare(pos, enemy) && has_exactly(pos, c, 0, 1, 1, 0, 0)) {
        int corner_view = (bb(pos, c, BISHOP) & DARK_SQUARES) ? enemy_king : enemy_king ^ 56;
        return BN_CORNER[corner_view ^ 56] + MATE_DISTANCE[square_distance(own_king, enemy_king)];
    }
    if (has_exactly(pos, c, 1, 0, 0, 1, 0) && has_exactly(pos, enemy, 0, 0, 0, 1, 0)) {
        const int pawn = lsb(bb(pos, c, PAWN));
        const int gap = file_distance(enemy_king, pawn);
        if (relative_rank(c, pawn) == 6 && file_of(pawn) >= 1 && file_of(pawn) <= 6 &&
            relative_rank(c, own_king) == 7 && file_distance(own_king, pawn) <= 1 && gap >= 2)
            return 20 * (15 + gap);
    }
    return 0;
}

}  // namespace

bool is_insufficient_material(const Position& pos) {
    const Bitboard* b = pos.piece_bb;
    if (b[W_PAWN] | b[B_PAWN] | b[W_ROOK] | b[B_ROOK] | b[W_QUEEN] | b[B_QUEEN]) return false;
    const int white_knights = popcount(b[W_KNIGHT]), white_bishops = popcount(b[W_BISHOP]);
    const int black_knights = popcount(b[B_KNIGHT]), black_bishops = popcount(b[B_BISHOP]);
    const int white_minors = white_knights + white_bishops, black_minors = black_knights + black_bishops;
    if (white_minors + black_minors <= 1) return true;
    if (white_knights == 2 && white_bishops == 0 && black_minors == 0) return true;
    if (black_knights == 2 && black_bishops == 0 && white_minors == 0) return true;
    if (white_knights == 0 && black_knights == 0 && white_bishops == 1 && black_bishops == 1)
        return ((b[W_BISHOP] & DARK_SQUARES) != 0) == ((b[B_BISHOP] & DARK_SQUARES) != 0);
    return false;
}

int bare_king_mate_value(const Position& pos) {
    for (int c = WHITE; c <= BLACK; ++c) {
        const int enemy = c ^ 1;
        if (bb(pos, c, PAWN) | bb(pos, c, KNIGHT) | bb(pos, c, BISHOP)) continue;
        if (!(bb(pos, c, ROOK) | bb(pos, c, QUEEN)) || !is_bare(pos, enemy)) continue;
        const int own_king = king_square(pos, c), enemy_king = king_square(pos, enemy);
        const int v = 10000 + LONE_KING[enemy_king ^ 56] + 936 * count(pos, c, QUEEN) + 512 * count(pos, c, ROOK) +
                      MATE_DISTANCE[square_distance(own_king, enemy_king)];
        return pos.side == c ? v : -v;
    }
    return 0;
}

int eval_special_endgames(const Position& pos) {
    if (popcount(pos.occupied) > 5) return 0;  // both patterns have at most five men
    if (int v = special_value(pos, WHITE)) return v;
    return -special_value(pos, BLACK);
}

int krpkr_scale(const Position& pos, int strong) {
    const int weak = strong ^ 1;
    if (popcount(pos.occupied) != 5 || !has_exactly(pos, strong, 1, 0, 0, 1, 0) ||
        !has_exactly(pos, weak, 0, 0, 0, 1, 0))
        return NORMAL_SCALE;
    // Seen from the strong side, moving up the board.
    const int flip = strong == WHITE ? 0 : 56;
    const int pawn = lsb(bb(pos, strong, PAWN)) ^ flip;
    const int strong_king = king_square(pos, strong) ^ flip, weak_king = king_square(pos, weak) ^ flip;
    const int weak_rook = lsb(bb(pos, weak, ROOK)) ^ flip;
    if (rank_of(pawn) > 4) return NORMAL_SCALE;

    const int promotion = make_square(file_of(pawn), 7);
    if (square_distance(weak_king, promotion) <= 1 && rank_of(strong_king) <= 4 && rank_of(weak_rook) == 5) return 0;

    const int tempo = pos.side == strong ? 1 : 0;
    if (weak_king == pawn + 8 && square_distance(strong_king, pawn) >= 2 + tempo &&
        square_distance(strong_king, weak_rook) >= 2 + tempo)
        return 0;
    return NORMAL_SCALE;
}

int eval_scale_factor(const Position& pos, int value) {
    // King and pawn against king: exact.
    const int men = popcount(pos.occupied);
    for (int c = WHITE; c <= BLACK && men == 3; ++c)
        if (count(pos, c, PAWN) == 1 && pos.color_bb[c] == (bb(pos, c, PAWN) | bb(pos, c, KING)) &&
            is_bare(pos, c ^ 1)) {
            if (!kpk_is_win(king_square(pos, c), lsb(bb(pos, c, PAWN)), king_square(pos, c ^ 1), c, pos.side == c))
                return 0;
            break;
        }

    const int strong = value >= 1 ? WHITE : BLACK, weak = strong ^ 1;
    const Bitboard strong_pawns = bb(pos, strong, PAWN);

    // Rook pawns whose promotion square the bishops cannot cover, with the bare king in the corner.
    const Bitboard strong_bishops = bb(pos, strong, BISHOP);
    if (is_bare(pos, weak) && strong_bishops &&
        !(bb(pos, strong, KNIGHT) | bb(pos, strong, ROOK) | bb(pos, strong, QUEEN)) && strong_pawns &&
        (!(strong_pawns & ~FILE_A_BB) || !(strong_pawns & ~FILE_H_BB))) {
        const int promotion = make_square(file_of(lsb(strong_pawns)), strong == WHITE ? 7 : 0);
        const Bitboard promotion_colour = (DARK_SQUARES & square_bb(promotion)) ? DARK_SQUARES : ~DARK_SQUARES;
        if (!(strong_bishops & promotion_colour) && square_distance(king_square(pos, weak), promotion) <= 1) return 0;
    }

    if (int f = krpkr_scale(pos, strong); f != NORMAL_SCALE) return f;

    if (!strong_pawns) {
        const int edge = 5 * (count(pos, strong, ROOK) - count(pos, weak, ROOK)) +
                         9 * (count(pos, strong, QUEEN) - count(pos, weak, QUEEN)) +
                         3 * (count(pos, strong, KNIGHT) + count(pos, strong, BISHOP) - count(pos, weak, KNIGHT) -
                              count(pos, weak, BISHOP));
        if (edge < 4) return 16;
        if (edge < 6) return 64;
        if (edge < 9) return 128;
    }

    // Bishops of opposite colours and nothing else but pawns.
    const Bitboard* b = pos.piece_bb;
    if (popcount(b[W_BISHOP]) == 1 && popcount(b[B_BISHOP]) == 1 &&
        !(b[W_KNIGHT] | b[B_KNIGHT] | b[W_ROOK] | b[B_ROOK] | b[W_QUEEN] | b[B_QUEEN]) &&
        ((b[W_BISHOP] & DARK_SQUARES) != 0) != ((b[B_BISHOP] & DARK_SQUARES) != 0)) {
        const int pawns = popcount(b[W_PAWN] | b[B_PAWN]);
        return pawns <= 2 ? 32 : pawns <= 4 ? 96 : 160;
    }
    return NORMAL_SCALE;
}
