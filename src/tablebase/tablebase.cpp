#include "tablebase/tablebase.h"

#include "board/legality.h"
#include "tablebase/entry.h"
#include "tablebase/probe.h"
#include "tablebase/registry.h"
#include "tablebase/root.h"
#include "tablebase/table_files.h"
#include "tablebase/tb_position.h"

int tb_probe_limit = 0;
int tb_largest = 0;

bool tb_check_pairs(const char* path, char* message) {
    return tb_all_paired(path, ".rtbw", 'z', message) && tb_all_paired(path, ".rtbz", 'w', message);
}

bool tb_load(const char* path) {
    tb_largest = tb_register_tables(path);
    return true;
}

int tb_probe_wdl(const Position& pos, bool& success) {
    success = false;
    const TbPosition tb = tb_position_from(pos, 0);
    // The search only probes small legal positions; a broken one (a king
    // missing or doubled, too many pieces) gets no answer.
    if (std::popcount(tb.white | tb.black) > TB_MAX_PIECES || std::popcount(tb.kings & tb.white) != 1 ||
        std::popcount(tb.kings & tb.black) != 1)
        return 0;
    int s;
    int v = tb_wdl(tb, s);
    success = s != 0;
    return success ? v : 0;
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
