#include "search/see.h"

#include <algorithm>

#include "board/attacks.h"

int see(const Position& pos, Move move) {
    const int from = move_from(move), to = move_to(move);
    // An empty target (a promotion push) is priced like a pawn capture.
    const int captured = move_kind(move) == EN_PASSANT ? PAWN : pos.board[to] % 6;
    const Bitboard* bb = pos.piece_bb;
    const Bitboard diagonal = bb[W_BISHOP] | bb[B_BISHOP] | bb[W_QUEEN] | bb[B_QUEEN];
    const Bitboard straight = bb[W_ROOK] | bb[B_ROOK] | bb[W_QUEEN] | bb[B_QUEEN];

    // One entry per capture; a capture removes a piece, so 64 plus the first suffice.
    int gain[66];
    int d = 0;
    gain[0] = see_value[captured];

    Bitboard occ = pos.occupied & ~square_bb(from);
    Bitboard attackers = ((pawn_attacks[BLACK][to] & bb[W_PAWN]) | (pawn_attacks[WHITE][to] & bb[B_PAWN]) |
                          (knight_attacks[to] & (bb[W_KNIGHT] | bb[B_KNIGHT])) |
                          (king_attacks[to] & (bb[W_KING] | bb[B_KING])) | (bishop_attacks(to, occ) & diagonal) |
                          (rook_attacks(to, occ) & straight)) &
                         occ;
    int on_square = pos.board[from] % 6;
    int side = pos.side ^ 1;
    for (;;) {
        ++d;
        gain[d] = see_value[on_square] - gain[d - 1];
        if (!(attackers & pos.color_bb[side])) {  // no recapture: the usual end
            --d;
            break;
        }
        Bitboard ours = 0;
        int type = PAWN;
        for (; type <= KING; ++type) {
            ours = attackers & bb[make_piece(side, type)];
            if (ours) break;
        }
        Bitboard taken = square_bb(lsb(ours));
        occ &= ~taken;
        // Removing the capturer may open the line it stood on for a slider
        // behind it: a diagonal behind a pawn or bishop, a rank or file behind
        // a rook, either behind a queen or king, nothing behind a knight.
        attackers &= ~taken;
        if (type != KNIGHT && type != ROOK) attackers |= bishop_attacks(to, occ) & diagonal;
        if (type >= ROOK) attackers |= rook_attacks(to, occ) & straight;
        attackers &= occ;
        on_square = type;
        side ^= 1;
    }
    for (int k = d; k >= 1; --k) gain[k - 1] = -std::max(-gain[k - 1], gain[k]);
    return gain[0];
}
