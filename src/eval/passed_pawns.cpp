#include "eval/masks.h"
#include "eval/terms.h"

namespace {

constexpr int UNSTOPPABLE_BONUS = 600;

// End-game half of one colour's passed-pawn extras, as that colour's bonus.
int colour_extras(const Position& pos, int c, Bitboard passed) {
    const int enemy = c ^ 1;
    const Bitboard own_majors = pos.piece_bb[make_piece(c, ROOK)] | pos.piece_bb[make_piece(c, QUEEN)];
    const Bitboard enemy_majors = pos.piece_bb[make_piece(enemy, ROOK)] | pos.piece_bb[make_piece(enemy, QUEEN)];
    const int own_king = king_square(pos, c), enemy_king = king_square(pos, enemy);
    const bool enemy_bare = pos.color_bb[enemy] == pos.piece_bb[make_piece(enemy, KING)];

    int eg = 0;
    for (Bitboard b = passed; b;) {
        const int sq = pop_lsb(b);
        const int r = relative_rank(c, sq);

        eg += (8 * square_distance(sq, enemy_king) - 5 * square_distance(sq, own_king)) * r / 6;

        const Bitboard behind = FORWARD_FILE[enemy][sq];
        if (behind & own_majors) eg += 3 * r;
        if (behind & enemy_majors) eg -= 5 * r;

        if (enemy_bare) {
            const int moves_to_queen = 7 - r - (r == 1 ? 1 : 0);  // the double step saves one
            const int promotion = make_square(file_of(sq), c == WHITE ? 7 : 0);
            const int king_steps = square_distance(enemy_king, promotion) - (pos.side == enemy ? 1 : 0);
            if (king_steps > moves_to_queen) eg += UNSTOPPABLE_BONUS;
        }
    }
    return eg;
}

}  // namespace

Score eval_passed_extras(const Position& pos) {
    if (!pos.piece_bb[W_KING] || !pos.piece_bb[B_KING]) return 0;
    const Bitboard white = pos.piece_bb[W_PAWN], black = pos.piece_bb[B_PAWN];
    const Bitboard white_passed = passed_pawns(white, black, WHITE), black_passed = passed_pawns(black, white, BLACK);
    int eg = 0;
    if (white_passed) eg += colour_extras(pos, WHITE, white_passed);
    if (black_passed) eg -= colour_extras(pos, BLACK, black_passed);
    return make_score(0, eg);
}
