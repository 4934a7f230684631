#include "tablebase/root.h"

#include "board/movegen.h"
#include "tablebase/material_key.h"
#include "tablebase/probe.h"
#include "tablebase/tablebase.h"

uint16_t tb_rank_root_moves(const TbPosition& pos, int& dtz_out) {
    int success;
    const int dtz = tb_dtz(pos, success);
    if (success == 0) return 0;

    TbMove moves[TB_MAX_MOVES];
    int scores[TB_MAX_MOVES];
    const int count = int(tb_gen_moves(pos, moves) - moves);
    int drawing = 0;
    for (int i = 0; i < count; i++) {
        TbPosition next;
        if (!tb_do_move(next, pos, moves[i])) {
            scores[i] = TB_ILLEGAL_SCORE;
            continue;
        }
        int v;
        if (dtz > 0 && tb_is_mate(next)) {
            v = 1;
        } else if (next.rule50 != 0) {
            v = -tb_dtz(next, success);
            if (v > 0) v++;
            else if (v < 0) v--;
        } else {
            int w = -tb_wdl(next, success);
            v = TB_ZEROING_DTZ[w + 2];
        }
        if (v == 0) drawing++;
        if (success == 0) return 0;
        scores[i] = v;
    }
    dtz_out = dtz;

    int best = -1;
    if (dtz > 0) {
        for (int i = 0; i < count; i++)
            if (scores[i] != TB_ILLEGAL_SCORE && scores[i] > 0 && (best < 0 || scores[i] < scores[best])) best = i;
        return best < 0 ? 0 : moves[best];
    }
    if (dtz < 0) {
        for (int i = 0; i < count; i++)
            if (scores[i] < 0 && (best < 0 || scores[i] < scores[best])) best = i;
        return best < 0 ? TB_CHECKMATE : moves[best];
    }
    if (drawing == 0) return TB_STALEMATE;
    // The rank depends on the material and the side to move only, never on where the pieces stand.
    int rank = int(tb_material_key(pos, !pos.turn) % uint64_t(drawing));
    for (int i = 0; i < count; i++)
        if (scores[i] == 0 && rank-- == 0) return moves[i];
    return 0;
}

bool tb_root_move(Position& pos, Move& move_out) {
    move_out = NO_MOVE;
    const TbPosition tb = tb_position_from(pos, pos.halfmove_clock & 0xff);
    if (!tb_is_valid(tb)) return false;
    int dtz;
    const uint16_t r = tb_rank_root_moves(tb, dtz);
    if (r == 0) return false;
    if (r == TB_CHECKMATE || r == TB_STALEMATE) return true;

    const int from = tb_move_from(r), to = tb_move_to(r), promotion = tb_move_promotion(r);
    const bool pawn = type_of(pos.board[from]) == PAWN && pos.board[from] != NO_PIECE;
    const bool capture = pos.board[to] != NO_PIECE;
    // Promotion kinds without a capture, by TbPromotion: queen 11, rook 10, bishop 9, knight 8.
    static constexpr int PROMOTION_KIND[5] = {0, PROMO_QUEEN, PROMO_ROOK, PROMO_BISHOP, PROMO_KNIGHT};
    int kind;
    if (pawn && to == pos.ep_square) kind = EN_PASSANT;
    else if (promotion != TB_NO_PROMOTION) kind = PROMOTION_KIND[promotion] + (capture ? 4 : 0);
    else if (capture) kind = CAPTURE;
    else kind = pawn && (to - from == 16 || from - to == 16) ? DOUBLE_PUSH : QUIET;
    const Move built = make_move_value(from, to, kind);

    MoveList legal;
    generate_legal_moves(pos, legal);
    move_out = built;
    for (int i = 0; i < legal.count; i++) {
        Move m = legal.moves[i];
        if (move_from(m) != from || move_to(m) != to) continue;
        if (promotion != TB_NO_PROMOTION && (!is_promotion(m) || (move_kind(m) & 3) != (PROMOTION_KIND[promotion] & 3)))
            continue;
        move_out = m;
        break;
    }
    return true;
}
