#include "tablebase/probe.h"

#include <climits>
#include <cstring>

#include "tablebase/decompress.h"
#include "tablebase/entry.h"
#include "tablebase/indexing.h"
#include "tablebase/material_key.h"
#include "tablebase/registry.h"
#include "tablebase/table_files.h"

namespace {

// Value map of a DTZ result class, by WDL value -2..2: win 0, loss 1, cursed win 2, blessed loss 3.
constexpr int MAP_CLASS[5] = {1, 3, 0, 2, 0};
// DTZ flag saying the table stores exact distances for that WDL value (else doubled).
constexpr int EXACT_FLAG[5] = {0x08, 0, 0, 0, 0x04};

// Writes the squares of the pieces enc.pieces names from place i on, a
// group of like pieces at once; false when a listed piece is not on the board.
bool fill_squares(const TbPosition& pos, const TbEncoding& enc, int num, int i, bool flip, int mirror, int* squares) {
    while (i < num) {
        int code = enc.pieces[i];
        Bitboard b = tb_pieces(pos, (code < 8) != flip, code & 7);
        if (!b) return false;
        while (b && i < num) squares[i++] = pop_lsb(b) ^ mirror;
    }
    return true;
}

// Reads the value a DTZ map gives, or -1 past the end of the file.
int map_value(TbEntry& e, int t, uint8_t flags, int wdl, int v) {
    const uint8_t* map = tb_dtz_map(e);
    size_t available = size_t(e.data[TB_DTZ] + e.mapping[TB_DTZ] - map);
    size_t at = size_t(tb_dtz_map_index(e, t)[MAP_CLASS[wdl + 2]]) + size_t(v);
    if (flags & 16) {
        if (2 * at + 2 > available) return -1;
        return map[2 * at] | map[2 * at + 1] << 8;
    }
    if (at >= available) return -1;
    return map[at];
}

}  // namespace

int tb_lookup(const TbPosition& pos, int wdl, int& success, int kind) {
    const uint64_t key = tb_material_key(pos, false);
    if (kind == TB_WDL && key == 0) return 0;

    TbHashSlot& slot = tb_find_slot(key);
    TbEntry* e = slot.entry;
    // A missing king or a pawn on the first or last rank only comes from a broken
    // position; no index fits it, and its file name would be wrong.
    if (!e || slot.failed || (kind == TB_DTZ && !e->has_dtz) || (pos.pawns & (RANK_1_BB | RANK_8_BB)) ||
        std::popcount(pos.kings & pos.white) != 1 || std::popcount(pos.kings & pos.black) != 1 || wdl < -2 ||
        wdl > 2) {
        success = 0;
        return 0;
    }
    if (!e->ready[kind]) {
        char name[16];
        tb_table_name(pos, key != e->key, name);
        if (!tb_map_table(*e, name, kind)) {
            slot.failed = 1;
            success = 0;
            return 0;
        }
        e->ready[kind] = 1;
    }

    bool flip;
    int side;
    if (!e->symmetric) {
        flip = key != e->key;
        side = pos.turn == flip ? 1 : 0;
    } else {
        flip = !pos.turn;
        side = 0;
    }

    int squares[TB_MAX_PIECES];
    int t = 0;
    TbEncoding* enc;
    uint8_t flags = 0;
    if (!e->has_pawns) {
        if (kind == TB_DTZ) {
            flags = tb_dtz_flags(*e, 0);
            if ((flags & 1) != side && !e->symmetric) {
                success = -1;
                return 0;
            }
        }
        enc = &tb_encoding(*e, kind, side, 0);
        if (!fill_squares(pos, *enc, e->num, 0, flip, 0, squares)) {
            success = 0;
            return 0;
        }
    } else {
        const int mirror = flip ? 56 : 0;
        int lead_code = tb_encoding(*e, kind, 0, 0).pieces[0];
        Bitboard b = tb_pieces(pos, (lead_code < 8) != flip, TB_PAWN);
        int n = 0;
        while (b && n < e->num) squares[n++] = pop_lsb(b) ^ mirror;
        if (n != e->pawn_count[0]) {
            success = 0;
            return 0;
        }
        for (int i = 1; i < n; i++)
            if (tb_lead_slot[squares[i]] < tb_lead_slot[squares[0]]) std::swap(squares[0], squares[i]);
        t = tb_file_group[squares[0] & 7];
        if (kind == TB_DTZ) {
            flags = tb_dtz_flags(*e, t);
            if ((flags & 1) != side && !e->symmetric) {
                success = -1;
                return 0;
            }
        }
        enc = &tb_encoding(*e, kind, side, t);
        if (!fill_squares(pos, *enc, e->num, n, flip, mirror, squares)) {
            success = 0;
            return 0;
        }
    }

    const uint8_t* w = nullptr;
    if (enc->codebook) {
        uint64_t index = tb_position_index(squares, *enc, *e, e->has_pawns);
        if (index != TB_NO_INDEX) w = tb_decode_value(*enc->codebook, index);
    }
    if (!w) {
        success = 0;
        return 0;
    }
    if (kind == TB_WDL) {
        // A damaged file can hold any byte; only 0..4 are WDL values.
        if (w[0] > 4) {
            success = 0;
            return 0;
        }
        return w[0] - 2;
    }

    int v = w[0] + (w[1] & 15) * 256;
    if (flags & 2) {
        v = map_value(*e, t, flags, wdl, v);
        if (v < 0) {
            success = 0;
            return 0;
        }
    }
    if (!(flags & EXACT_FLAG[wdl + 2])) v *= 2;
    return v;
}

int tb_capture_search(const TbPosition& pos, int alpha, int beta, int& success) {
    TbMove moves[TB_MAX_MOVES];
    TbMove* end = tb_gen_captures(pos, moves);
    TbPosition next;
    for (TbMove* m = moves; m < end; m++) {
        if (!tb_is_capture(pos, *m) || !tb_do_move(next, pos, *m)) continue;
        int v = -tb_capture_search(next, -beta, -alpha, success);
        if (success == 0) return 0;
        if (v > alpha) {
            if (v >= beta) return v;
            alpha = v;
        }
    }
    int v = tb_lookup(pos, 0, success, TB_WDL);
    return alpha > v ? alpha : v;
}

int tb_wdl(const TbPosition& pos, int& success) {
    success = 1;
    int best_cap = -3, best_ep = -3;
    TbMove moves[TB_MAX_MOVES];
    TbMove* end = tb_gen_captures(pos, moves);
    TbPosition next;
    for (TbMove* m = moves; m < end; m++) {
        if (!tb_is_capture(pos, *m) || !tb_do_move(next, pos, *m)) continue;
        int v = -tb_capture_search(next, -2, -best_cap, success);
        if (success == 0) return 0;
        if (v > best_cap) {
            if (v == 2) {
                success = 2;
                return 2;
            }
            if (tb_is_en_passant(pos, *m)) {
                if (v > best_ep) best_ep = v;
            } else {
                best_cap = v;
            }
        }
    }

    int v = tb_lookup(pos, 0, success, TB_WDL);
    if (success == 0) return 0;

    if (best_ep > best_cap) {
        if (best_ep > v) {
            success = 2;
            return best_ep;
        }
        best_cap = best_ep;
    }
    if (best_cap >= v) {
        success = best_cap > 0 ? 2 : 1;
        return best_cap;
    }
    // Stalemate but for an en-passant capture: the table's draw does not hold.
    if (best_ep > -3 && v == 0) {
        end = tb_gen_moves(pos, moves);
        bool other_move = false;
        for (TbMove* m = moves; m < end && !other_move; m++)
            other_move = !tb_is_en_passant(pos, *m) && tb_do_move(next, pos, *m);
        if (!other_move && !tb_in_check(pos)) {
            success = 2;
            return best_ep;
        }
    }
    return v;
}

int tb_dtz(const TbPosition& pos, int& success) {
    int wdl = tb_wdl(pos, success);
    if (success == 0 || wdl == 0) return 0;
    const int zeroing = TB_ZEROING_DTZ[wdl + 2];
    if (success == 2) return zeroing;

    TbMove moves[TB_MAX_MOVES];
    TbMove* end = moves;
    TbPosition next;
    if (wdl > 0) {
        end = tb_gen_legal(pos, moves);
        for (TbMove* m = moves; m < end; m++) {
            if (tb_moved_kind(pos, tb_move_from(*m)) != TB_PAWN || tb_is_capture(pos, *m)) continue;
            tb_do_move(next, pos, *m);
            int v = -tb_wdl(next, success);
            if (success == 0) return 0;
            if (v == wdl) return zeroing;
        }
    }

    int dtz = tb_lookup(pos, wdl, success, TB_DTZ);
    if (success >= 0) return wdl > 0 ? zeroing + dtz : zeroing - dtz;

    // The table holds the other side to move: one ply more over the quiet non-pawn moves.
    int best;
    if (wdl > 0) {
        best = INT_MAX;
    } else {
        best = zeroing;
        end = tb_gen_moves(pos, moves);
    }
    for (TbMove* m = moves; m < end; m++) {
        if (tb_is_capture(pos, *m) || tb_moved_kind(pos, tb_move_from(*m)) == TB_PAWN) continue;
        if (!tb_do_move(next, pos, *m)) continue;
        int v = -tb_dtz(next, success);
        if (v == 1 && tb_is_mate(next)) {
            best = 1;
        } else if (wdl > 0) {
            if (v > 0 && v + 1 < best) best = v + 1;
        } else {
            if (v - 1 < best) best = v - 1;
        }
        if (success == 0) return 0;
    }
    return best;
}
