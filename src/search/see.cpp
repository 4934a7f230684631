#include "search/see.h"

#include <algorithm>

#include "board/attacks.h"
#include "board/makemove.h"

int see(const Position& pos, Move move) {
    assert(moves_own_piece(pos, move));
    const int from = move_from(move), to = move_to(move);
    const Bitboard* bb = pos.piece_bb;
    // Only sliders on the target's diagonals, ranks and files (what they would
    // reach from it on an empty board) can ever attack it: without one there,
    // no attack lookup at all.
    const Bitboard diagonal = (bb[W_BISHOP] | bb[B_BISHOP] | bb[W_QUEEN] | bb[B_QUEEN]) & bishop_attacks(to, 0);
    const Bitboard straight = (bb[W_ROOK] | bb[B_ROOK] | bb[W_QUEEN] | bb[B_QUEEN]) & rook_attacks(to, 0);

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
