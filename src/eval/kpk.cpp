#include "eval/kpk.h"

#include "board/attacks.h"

uint8_t kpk_bitbase[KPK_SIZE];

// cppcheck-suppress unusedFunction ; test seam (kpk.h)
uint8_t kpk_classify(int s, int w, int side, int p) {
    if (s == w || s == p || w == p || (king_attacks[s] & square_bb(w)) || rank_of(p) == 0 || rank_of(p) == 7)
        return KPK_INVALID;
    const Bitboard pawn_covers = pawn_attacks[WHITE][p];

    if (side == 1) {
        bool open = false, win = false;
        for (Bitboard moves = king_attacks[w] & ~king_attacks[s]; moves;) {
            int t = pop_lsb(moves);
            if (pawn_covers & square_bb(t)) continue;
            if (t == p) return KPK_DRAW;  // the undefended pawn falls
            uint8_t v = kpk_bitbase[kpk_index(p, 0, t, s)];
            if (v == KPK_DRAW) return KPK_DRAW;
            open |= v == KPK_UNKNOWN;
            win |= v == KPK_WIN;
        }
        if (open) return KPK_UNKNOWN;
        if (win) return KPK_WIN;
        return (pawn_covers & square_bb(w)) ? KPK_WIN : KPK_DRAW;  // mate or stalemate
    }

    if (pawn_covers & square_bb(w)) return KPK_INVALID;
    const int front = p + 8;
    const bool front_free = front != s && front != w;
    if (rank_of(p) == 6 && front_free &&
        (!(king_attacks[w] & square_bb(front)) || (king_attacks[s] & square_bb(front))))
        return KPK_WIN;

    bool open = false, draw = false;
    auto note = [&](uint8_t v) {
        open |= v == KPK_UNKNOWN;
        draw |= v == KPK_DRAW;
        return v == KPK_WIN;
    };
    for (Bitboard moves = king_attacks[s] & ~king_attacks[w] & ~square_bb(p); moves;) {
        int t = pop_lsb(moves);
        if (note(kpk_bitbase[kpk_index(p, 1, w, t)])) return KPK_WIN;
    }
    if (rank_of(p) < 6 && front_free && note(kpk_bitbase[kpk_index(front, 1, w, s)])) return KPK_WIN;
    if (rank_of(p) == 1 && front_free && front + 8 != s && front + 8 != w &&
        note(kpk_bitbase[kpk_index(front + 8, 1, w, s)]))
        return KPK_WIN;
    return open ? KPK_UNKNOWN : draw ? KPK_DRAW : KPK_INVALID;
}

namespace {

// Squares next to any square of b: king_zone({a1}) = {a2, b1, b2}.
Bitboard king_zone(Bitboard b) {
    Bitboard sideways = ((b << 1) & ~FILE_A_BB) | ((b >> 1) & ~FILE_H_BB);
    Bitboard row = b | sideways;
    return sideways | (row << 8) | (row >> 8);
}

// One pawn square's entries during the build, as sets of bare-king squares
// indexed by the strong king's square. Whatever is in neither win, draw nor
// open is settled as invalid or "no result".
struct PawnSlice {
    Bitboard win[2][64];
    Bitboard draw[2][64];
    Bitboard open[2][64];
};

// Settles every placement with the pawn on p by retrograde passes over sets of
// bare-king squares: a strong move wins when any successor wins, a bare-king
// move draws when any successor draws, and placements still open when nothing
// changes are draws. Pushes read the finished slices of the squares ahead.
// Moves next to the other king or onto the pawn lead to invalid entries, which
// belong to no set, so they drop out without a test of their own. The result is
// the table kpk_classify reaches by repeated passes, as the tests check.
void solve_pawn_square(int p, PawnSlice& slice, const PawnSlice* one_ahead, const PawnSlice* two_ahead) {
    const Bitboard pawn = square_bb(p);
    const Bitboard pawn_covers = pawn_attacks[WHITE][p];
    const int front = p + 8;
    const Bitboard front_bb = square_bb(front);

    // Fixed contributions to the strong side's moves: promotion and pushes.
    Bitboard fixed_win[64], fixed_draw[64];
    for (int s = 0; s < 64; ++s) {
        Bitboard win = 0, draw = 0;
        if (rank_of(p) == 6 && s != front)
            win = (king_attacks[s] & front_bb) ? ~front_bb : ~(front_bb | king_attacks[front]);
        if (one_ahead && s != front) {
            win |= one_ahead->win[1][s];
            draw |= one_ahead->draw[1][s];
        }
        if (two_ahead && s != front && s != front + 8) {
            win |= two_ahead->win[1][s] & ~front_bb;
            draw |= two_ahead->draw[1][s] & ~front_bb;
        }
        fixed_win[s] = win;
        fixed_draw[s] = draw;
        Bitboard legal = s == p ? 0 : ~(square_bb(s) | pawn | king_attacks[s]);
        slice.open[0][s] = legal & ~pawn_covers;
        slice.open[1][s] = legal;
        slice.win[0][s] = slice.win[1][s] = slice.draw[0][s] = slice.draw[1][s] = 0;
    }

    for (bool changed = true; changed;) {
        changed = false;
        for (int s = 0; s < 64; ++s) {  // strong side to move
            Bitboard open = slice.open[0][s];
            if (!open) continue;
            Bitboard win = fixed_win[s], draw = fixed_draw[s], unknown = 0;
            for (Bitboard moves = king_attacks[s] & ~pawn; moves;) {
                int t = pop_lsb(moves);
                win |= slice.win[1][t];
                draw |= slice.draw[1][t];
                unknown |= slice.open[1][t];
            }
            Bitboard won = open & win;
            Bitboard settled = open & ~win & ~unknown;
            slice.win[0][s] |= won;
            slice.draw[0][s] |= settled & draw;
            slice.open[0][s] = open & ~won & ~settled;
            changed |= slice.open[0][s] != open;
        }
        for (int s = 0; s < 64; ++s) {  // bare king to move
            Bitboard open = slice.open[1][s];
            if (!open) continue;
            Bitboard draw = king_zone(slice.draw[0][s] | (pawn & ~king_attacks[s]));
            Bitboard unknown = king_zone(slice.open[0][s]);
            Bitboard win = king_zone(slice.win[0][s]);
            Bitboard drawn = open & draw;
            Bitboard settled = open & ~draw & ~unknown;  // every move loses, or none is left
            slice.win[1][s] |= settled & (win | pawn_covers);
            slice.draw[1][s] |= drawn | (settled & ~win & ~pawn_covers);
            slice.open[1][s] = open & ~drawn & ~settled;
            changed |= slice.open[1][s] != open;
        }
    }
    for (int side = 0; side < 2; ++side)
        for (int s = 0; s < 64; ++s) {
            slice.draw[side][s] |= slice.open[side][s];
            slice.open[side][s] = 0;
        }
}

// Scratch for the build: one slice per pawn square, indexed like the table.
PawnSlice slices[24];

int slice_of(int p) { return (rank_of(p) - 1) * 4 + file_of(p); }

}  // namespace

void kpk_init() {
    // Pawn squares from the seventh rank down, so pushes find their targets settled.
    for (int rank = 6; rank >= 1; --rank)
        for (int file = 0; file < 4; ++file) {
            int p = make_square(file, rank);
            solve_pawn_square(p, slices[slice_of(p)], rank < 6 ? &slices[slice_of(p + 8)] : nullptr,
                              rank == 1 ? &slices[slice_of(p + 16)] : nullptr);
        }
    for (int rank = 1; rank <= 6; ++rank)
        for (int file = 0; file < 4; ++file) {
            int p = make_square(file, rank);
            const PawnSlice& slice = slices[slice_of(p)];
            for (int side = 0; side < 2; ++side)
                for (int s = 0; s < 64; ++s)
                    for (int w = 0; w < 64; ++w) {
                        Bitboard bit = square_bb(w);
                        uint8_t v = (slice.win[side][s] & bit)    ? KPK_WIN
                                    : (slice.draw[side][s] & bit) ? KPK_DRAW
                                                                  : KPK_INVALID;
                        kpk_bitbase[kpk_index(p, side, w, s)] = v;
                    }
        }
}

bool kpk_is_win(int strong_king, int pawn, int weak_king, int strong_color, bool strong_to_move) {
    if (strong_color == BLACK) {
        strong_king ^= 56;
        pawn ^= 56;
        weak_king ^= 56;
    }
    if (file_of(pawn) >= 4) {
        strong_king ^= 7;
        pawn ^= 7;
        weak_king ^= 7;
    }
    if (rank_of(pawn) == 0 || rank_of(pawn) == 7) return false;
    return kpk_bitbase[kpk_index(pawn, strong_to_move ? 0 : 1, weak_king, strong_king)] == KPK_WIN;
}
