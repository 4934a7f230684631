#include "tablebase/root.h"

#include "tablebase/material_key.h"
#include "tablebase/probe.h"

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
