#include "search/movepick.h"

#include "board/makemove.h"
#include "board/movegen.h"
#include "search/history.h"
#include "search/see.h"

namespace {

constexpr int KILLER_0_BONUS = 800000;
constexpr int KILLER_1_BONUS = 700000;
constexpr int COUNTER_BONUS = 600000;
constexpr int EVASION_HASH_SCORE = 2000000;
constexpr int EVASION_GOOD_CAPTURE = 1000000;
constexpr int EVASION_BAD_CAPTURE = -500000;
constexpr int EVASION_PROMOTION = 900000;

// Cheap test that a table move could belong to this position: what make_move
// asserts, and an empty target for a move that captures nothing (castling
// included). The search's legal_before_make is the real legality check.
bool hash_move_plausible(const Position& pos, Move m) {
    return moves_own_piece(pos, m) && (is_capture(m) || pos.board[move_to(m)] == NO_PIECE);
}

// Moves the best remaining entry to `index` and returns its position there.
inline int select_next(MovePicker& p) {
    int i = pick_best_index(p.scores, p.index, p.count);
    Move m = p.moves[i];
    int32_t s = p.scores[i];
    p.moves[i] = p.moves[p.index];
    p.scores[i] = p.scores[p.index];
    p.moves[p.index] = m;
    p.scores[p.index] = s;
    return p.index++;
}

// The quiet moves, the hash move marked.
void fill_quiets(MovePicker& p, const Position& pos) {
    p.count = int32_t(generate_quiets(pos, p.moves) - p.moves);
    const QuietScoring q = quiet_scoring(pos, p.ply, p.prev_piece, p.prev_to);
    for (int i = 0; i < p.count; ++i)
        p.scores[i] = p.moves[i] == p.hash_move ? HASH_MOVE_MARK : score_quiet(q, pos, p.moves[i]);
}

// Every move when in check: the hash move, then captures by exchange value,
// quiet promotions, quiet moves, losing captures.
void fill_evasions(MovePicker& p, const Position& pos) {
    p.count = int32_t(generate_moves(pos, p.moves) - p.moves);
    const QuietScoring q = quiet_scoring(pos, p.ply, p.prev_piece, p.prev_to);
    for (int i = 0; i < p.count; ++i) {
        Move m = p.moves[i];
        int s;
        if (m == p.hash_move) {
            s = EVASION_HASH_SCORE;
        } else if (is_capture(m)) {
            int v = see(pos, m);
            s = v >= 0 ? v + EVASION_GOOD_CAPTURE : v + EVASION_BAD_CAPTURE;
        } else if (is_promotion(m)) {
            s = EVASION_PROMOTION;
        } else {
            s = score_quiet(q, pos, m);
        }
        p.scores[i] = s;
    }
}

}  // namespace

void picker_init(MovePicker& picker, Move hash_move, int ply, int prev_piece, int prev_to, bool in_check) {
    picker.stage = in_check ? STAGE_GEN_EVASIONS : STAGE_HASH_MOVE;
    picker.hash_move = hash_move;
    picker.ply = ply;
    picker.prev_piece = prev_piece;
    picker.prev_to = prev_to;
    picker.count = 0;
    picker.index = 0;
    picker.bad_count = 0;
    picker.bad_index = 0;
}

QuietScoring quiet_scoring(const Position& pos, int ply, int prev_piece, int prev_to) {
    // Stands in for the continuation row when there is no previous move.
    static const int32_t NO_CONTINUATION[12][64] = {};
    if (prev_piece == NO_PIECE)
        return {quiet_history[pos.side], NO_CONTINUATION, killers[ply][0], killers[ply][1], NO_MOVE};
    return {quiet_history[pos.side], cont_history[prev_piece][prev_to], killers[ply][0], killers[ply][1],
            counter_moves[prev_piece][prev_to]};
}

int score_quiet(const QuietScoring& q, const Position& pos, Move move) {
    const int from = move_from(move), to = move_to(move);
    // A generated move always has its piece on the from-square.
    const int s = q.history[from][to] + q.continuation[pos.board[from]][to];
    if (move == q.killer0) return s + KILLER_0_BONUS;
    if (move == q.killer1) return s + KILLER_1_BONUS;
    if (move == q.counter) return s + COUNTER_BONUS;
    return s;
}

int picked_move_see(const MovePicker& picker, const Position& pos, Move move) {
    return picker.picked_see != SEE_UNKNOWN ? picker.picked_see : see(pos, move);
}

Move picker_next(MovePicker& p, const Position& pos, bool skip_quiets) {
    p.picked_see = SEE_UNKNOWN;
    for (;;) {
        switch (p.stage) {
        case STAGE_HASH_MOVE:
            p.stage = STAGE_GEN_CAPTURES;
            if (p.hash_move != NO_MOVE && p.hash_move != NULL_MOVE) {
                if (hash_move_plausible(pos, p.hash_move)) return p.hash_move;
                p.hash_move = NO_MOVE;
            }
            break;
        case STAGE_GEN_CAPTURES:
            p.count = int32_t(generate_captures(pos, p.moves) - p.moves);
            for (int i = 0; i < p.count; ++i)
                p.scores[i] = p.moves[i] == p.hash_move ? HASH_MOVE_MARK : see(pos, p.moves[i]);
            p.index = 0;
            p.stage = STAGE_GOOD_CAPTURES;
            break;
        case STAGE_GOOD_CAPTURES:
            while (p.index < p.count) {
                int i = select_next(p);
                if (p.scores[i] == HASH_MOVE_MARK) continue;
                if (p.scores[i] >= 0) {
                    p.picked_see = p.scores[i];
                    return p.moves[i];
                }
                assert(p.scores[i] >= -see_value[KING]);  // a losing exchange loses at most a king's worth
                p.bad_values[p.bad_count] = int16_t(p.scores[i]);
                p.bad_captures[p.bad_count++] = p.moves[i];
            }
            p.stage = STAGE_GEN_QUIETS;
            break;
        case STAGE_GEN_QUIETS:
            if (skip_quiets) {
                p.stage = STAGE_BAD_CAPTURES;
                break;
            }
            fill_quiets(p, pos);
            p.index = 0;
            p.stage = STAGE_QUIETS;
            break;
        case STAGE_QUIETS:
            if (!skip_quiets) {
                while (p.index < p.count) {
                    int i = select_next(p);
                    if (p.scores[i] > HASH_MOVE_MARK) return p.moves[i];
                }
            }
            p.stage = STAGE_BAD_CAPTURES;
            break;
        case STAGE_BAD_CAPTURES:
            if (p.bad_index < p.bad_count) {
                p.picked_see = p.bad_values[p.bad_index];
                return p.bad_captures[p.bad_index++];
            }
            p.stage = STAGE_DONE;
            return NO_MOVE;
        case STAGE_GEN_EVASIONS:
            fill_evasions(p, pos);
            p.index = 0;
            p.stage = STAGE_EVASIONS;
            break;
        case STAGE_EVASIONS:
            if (p.index < p.count) return p.moves[select_next(p)];
            p.stage = STAGE_DONE;
            return NO_MOVE;
        default:
            return NO_MOVE;
        }
    }
}
