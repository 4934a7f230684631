#include "tablebase/tb_position.h"

#include <initializer_list>

#include "board/attacks.h"
#include "tablebase/entry.h"

namespace {

struct MoveWriter {
    TbMove* begin;
    TbMove* end;
    void add(int from, int to, int promotion = TB_NO_PROMOTION) {
        if (end - begin < TB_MAX_MOVES) *end++ = tb_make_move(from, to, promotion);
    }
    void add_pawn(int from, int to) {
        if (rank_of(to) == 0 || rank_of(to) == 7) {
            for (int promotion : {TB_PROMOTE_QUEEN, TB_PROMOTE_KNIGHT, TB_PROMOTE_ROOK, TB_PROMOTE_BISHOP})
                add(from, to, promotion);
        } else {
            add(from, to);
        }
    }
};

Bitboard own_pieces(const TbPosition& pos) { return pos.turn ? pos.white : pos.black; }
Bitboard enemy_pieces(const TbPosition& pos) { return pos.turn ? pos.black : pos.white; }

// Attack sets of the non-pawn kinds, by the generator's order.
Bitboard attacks_of(int kind, int sq, Bitboard occ) {
    switch (kind) {
    case TB_KING: return king_attacks[sq];
    case TB_QUEEN: return queen_attacks(sq, occ);
    case TB_ROOK: return rook_attacks(sq, occ);
    case TB_BISHOP: return bishop_attacks(sq, occ);
    default: return knight_attacks[sq];
    }
}

TbMove* generate(const TbPosition& pos, TbMove* moves, bool captures_only) {
    const Bitboard us = own_pieces(pos), them = enemy_pieces(pos), occ = us | them;
    const Bitboard mask = captures_only ? them : ~us;
    MoveWriter w{moves, moves};
    for (int kind : {TB_KING, TB_QUEEN, TB_ROOK, TB_BISHOP, TB_KNIGHT})
        for (Bitboard b = tb_pieces(pos, pos.turn, kind); b;) {
            int from = pop_lsb(b);
            for (Bitboard t = attacks_of(kind, from, occ) & mask; t;) w.add(from, pop_lsb(t));
        }

    const int color = pos.turn ? WHITE : BLACK;
    const int forward = pos.turn ? 8 : -8;
    const int second_rank = pos.turn ? 1 : 6;
    for (Bitboard b = pos.pawns & us; b;) {
        int from = pop_lsb(b);
        if (pos.ep && (pawn_attacks[color][from] & square_bb(pos.ep))) w.add(from, pos.ep);
        Bitboard t = pawn_attacks[color][from] & them;
        int ahead = from + forward;
        if (!captures_only && ahead >= 0 && ahead < 64 && !(occ & square_bb(ahead))) {
            t |= square_bb(ahead);
            if (rank_of(from) == second_rank && !(occ & square_bb(ahead + forward))) t |= square_bb(ahead + forward);
        }
        while (t) w.add_pawn(from, pop_lsb(t));
    }
    return w.end;
}

// True when a piece of the given colour attacks the square.
bool attacked_by(const TbPosition& pos, int sq, bool by_white) {
    const Bitboard them = by_white ? pos.white : pos.black, occ = pos.white | pos.black;
    return (king_attacks[sq] & pos.kings & them) || (knight_attacks[sq] & pos.knights & them) ||
           (pawn_attacks[by_white ? BLACK : WHITE][sq] & pos.pawns & them) ||
           (rook_attacks(sq, occ) & (pos.rooks | pos.queens) & them) ||
           (bishop_attacks(sq, occ) & (pos.bishops | pos.queens) & them);
}

}  // namespace

TbPosition tb_position_from(const Position& pos, int rule50) {
    TbPosition p;
    p.white = pos.color_bb[WHITE];
    p.black = pos.color_bb[BLACK];
    p.kings = pos.piece_bb[W_KING] | pos.piece_bb[B_KING];
    p.queens = pos.piece_bb[W_QUEEN] | pos.piece_bb[B_QUEEN];
    p.rooks = pos.piece_bb[W_ROOK] | pos.piece_bb[B_ROOK];
    p.bishops = pos.piece_bb[W_BISHOP] | pos.piece_bb[B_BISHOP];
    p.knights = pos.piece_bb[W_KNIGHT] | pos.piece_bb[B_KNIGHT];
    p.pawns = pos.piece_bb[W_PAWN] | pos.piece_bb[B_PAWN];
    p.rule50 = uint8_t(rule50);
    p.ep = pos.ep_square > 0 && pos.ep_square < 64 ? uint8_t(pos.ep_square) : 0;
    p.turn = pos.side == WHITE;
    return p;
}

Bitboard tb_pieces(const TbPosition& pos, bool white, int kind) {
    Bitboard side = white ? pos.white : pos.black;
    switch (kind) {
    case TB_PAWN: return side & pos.pawns;
    case TB_KNIGHT: return side & pos.knights;
    case TB_BISHOP: return side & pos.bishops;
    case TB_ROOK: return side & pos.rooks;
    case TB_QUEEN: return side & pos.queens;
    case TB_KING: return side & pos.kings;
    default: return 0;
    }
}

int tb_moved_kind(const TbPosition& pos, int square) {
    for (int kind = TB_PAWN; kind <= TB_KING; kind++)
        if (tb_pieces(pos, pos.turn, kind) & square_bb(square)) return kind;
    return 0;
}

TbMove* tb_gen_moves(const TbPosition& pos, TbMove* moves) { return generate(pos, moves, false); }
TbMove* tb_gen_captures(const TbPosition& pos, TbMove* moves) { return generate(pos, moves, true); }

TbMove* tb_gen_legal(const TbPosition& pos, TbMove* moves) {
    TbMove* end = tb_gen_moves(pos, moves);
    TbMove* out = moves;
    TbPosition next;
    for (TbMove* m = moves; m < end; m++)
        if (tb_do_move(next, pos, *m)) *out++ = *m;
    return out;
}

bool tb_is_en_passant(const TbPosition& pos, TbMove move) {
    return pos.ep && tb_move_to(move) == pos.ep && (pos.pawns & own_pieces(pos) & square_bb(tb_move_from(move)));
}

bool tb_is_capture(const TbPosition& pos, TbMove move) {
    return (enemy_pieces(pos) & square_bb(tb_move_to(move))) || tb_is_en_passant(pos, move);
}

bool tb_do_move(TbPosition& next, const TbPosition& pos, TbMove move) {
    const int from = tb_move_from(move), to = tb_move_to(move), promotion = tb_move_promotion(move);
    const Bitboard from_bb = square_bb(from), to_bb = square_bb(to);
    const bool white_moves = pos.turn;
    next = pos;
    next.turn = !pos.turn;
    for (Bitboard* b : {&next.white, &next.black, &next.kings, &next.queens, &next.rooks, &next.bishops,
                        &next.knights, &next.pawns}) {
        bool had = *b & from_bb;
        *b &= ~(from_bb | to_bb);
        if (had) *b |= to_bb;
    }
    next.ep = 0;

    if (promotion != TB_NO_PROMOTION) {
        next.pawns &= ~to_bb;
        switch (promotion) {
        case TB_PROMOTE_QUEEN: next.queens |= to_bb; break;
        case TB_PROMOTE_ROOK: next.rooks |= to_bb; break;
        case TB_PROMOTE_BISHOP: next.bishops |= to_bb; break;
        default: next.knights |= to_bb; break;
        }
        next.rule50 = 0;
    } else if (pos.pawns & from_bb) {
        next.rule50 = 0;
        if (white_moves && rank_of(from) == 1 && to == from + 16) {
            if (pawn_attacks[WHITE][from + 8] & pos.pawns & pos.black) next.ep = uint8_t(from + 8);
        } else if (!white_moves && rank_of(from) == 6 && to == from - 16) {
            if (pawn_attacks[BLACK][from - 8] & pos.pawns & pos.white) next.ep = uint8_t(from - 8);
        } else if (pos.ep && to == pos.ep) {
            Bitboard taken = square_bb(white_moves ? to - 8 : to + 8);
            (white_moves ? next.black : next.white) &= ~taken;
            next.pawns &= ~taken;
        }
    } else {
        next.rule50 = (enemy_pieces(pos) & to_bb) ? 0 : uint8_t(pos.rule50 + 1);
    }

    Bitboard king = next.kings & (white_moves ? next.white : next.black);
    return king && !attacked_by(next, lsb(king), !white_moves);
}

bool tb_in_check(const TbPosition& pos) {
    Bitboard king = pos.kings & own_pieces(pos);
    return king && attacked_by(pos, lsb(king), !pos.turn);
}

bool tb_is_mate(const TbPosition& pos) {
    if (!tb_in_check(pos)) return false;
    TbMove moves[TB_MAX_MOVES];
    TbMove* end = tb_gen_moves(pos, moves);
    TbPosition next;
    for (TbMove* m = moves; m < end; m++)
        if (tb_do_move(next, pos, *m)) return false;
    return true;
}

bool tb_is_valid(const TbPosition& pos) {
    if (std::popcount(pos.kings) != 2 || std::popcount(pos.kings & pos.white) != 1 ||
        std::popcount(pos.kings & pos.black) != 1)
        return false;
    if (pos.white & pos.black) return false;
    const Bitboard kinds[6] = {pos.kings, pos.queens, pos.rooks, pos.bishops, pos.knights, pos.pawns};
    Bitboard all = 0;
    for (Bitboard k : kinds) {
        if (all & k) return false;
        all |= k;
    }
    if (pos.pawns & (RANK_1_BB | RANK_8_BB)) return false;
    if (all != (pos.white | pos.black)) return false;
    Bitboard other_king = pos.kings & enemy_pieces(pos);
    return !attacked_by(pos, lsb(other_king), pos.turn);
}
