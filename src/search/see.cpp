#include "search/see.h"

#include <algorithm>
#include <array>

#include "board/attacks.h"

namespace {

// Squares sharing a diagonal (LINES[0]) or a rank or file (LINES[1]) with a
// square: only sliders standing there can ever reach it, so a side without
// one there needs no attack lookup at all.
constexpr auto LINES = [] {
    std::array<std::array<Bitboard, 64>, 2> t{};
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            if (a == b) continue;
            const int df = file_of(a) - file_of(b), dr = rank_of(a) - rank_of(b);
            if (df == dr || df == -dr) t[0][a] |= square_bb(b);
            if (df == 0 || dr == 0) t[1][a] |= square_bb(b);
        }
    return t;
}();

}  // namespace

int see(const Position& pos, Move move) {
    const int from = move_from(move), to = move_to(move);
    const Bitboard* bb = pos.piece_bb;
    const Bitboard diagonal = (bb[W_BISHOP] | bb[B_BISHOP] | bb[W_QUEEN] | bb[B_QUEEN]) & LINES[0][to];
    const Bitboard straight = (bb[W_ROOK] | bb[B_ROOK] | bb[W_QUEEN] | bb[B_QUEEN]) & LINES[1][to];

    Bitboard occ = pos.occupied & ~square_bb(from);
    Bitboard attackers = (pawn_attacks[BLACK][to] & bb[W_PAWN]) | (pawn_attacks[WHITE][to] & bb[B_PAWN]) |
                         (knight_attacks[to] & (bb[W_KNIGHT] | bb[B_KNIGHT])) |
                         (king_attacks[to] & (bb[W_KING] | bb[B_KING]));
    if (diagonal) attackers |= bishop_attacks(to, occ) & diagonal;
    if (straight) attackers |= rook_attacks(to, occ) & straight;
    attackers &= occ;

    int side = pos.side ^ 1;
    // No recapture, the usual case: the captured piece is the whole gain.
    if (!(attackers & pos.color_bb[side])) return captured_value(pos, move);

    // One entry per capture; a capture removes a piece, so 64 plus the first suffice.
    int gain[66];
    int d = 0;
    gain[0] = captured_value(pos, move);
    int on_square = EXCHANGE_TYPE[pos.board[from]];
    for (;;) {
        ++d;
        gain[d] = see_value[on_square] - gain[d - 1];
        if (!(attackers & pos.color_bb[side])) {
            --d;
            break;
        }
        const Bitboard* mine = pieces_of(pos, side);
        Bitboard ours = 0;
        int type = PAWN;
        for (; type <= KING; ++type) {
            ours = attackers & mine[type];
            if (ours) break;
        }
        const Bitboard taken = ours & (0 - ours);
        occ ^= taken;
        // Removing the capturer may open the line it stood on for a slider
        // behind it: a diagonal behind a pawn or bishop, a rank or file behind
        // a rook, either behind a queen or king, nothing behind a knight.
        attackers ^= taken;
        if (type != KNIGHT && type != ROOK && (diagonal & occ)) attackers |= bishop_attacks(to, occ) & diagonal;
        if (type >= ROOK && (straight & occ)) attackers |= rook_attacks(to, occ) & straight;
        attackers &= occ;
        on_square = type;
        side ^= 1;
    }
    for (int k = d; k >= 1; --k) gain[k - 1] = -std::max(-gain[k - 1], gain[k]);
    return gain[0];
}
