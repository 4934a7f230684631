// The staged move picker: hash move, winning captures, quiet moves by
// learned statistics, losing captures; or, in check, every move at once.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"

enum PickerStage : int {
    STAGE_HASH_MOVE = 0,
    STAGE_GEN_CAPTURES = 1,
    STAGE_GOOD_CAPTURES = 2,
    STAGE_GEN_QUIETS = 3,
    STAGE_QUIETS = 4,
    STAGE_BAD_CAPTURES = 5,
    STAGE_GEN_EVASIONS = 6,
    STAGE_EVASIONS = 7,
    STAGE_DONE = 8,
};

// Marks the hash move inside a generated list, so it never comes out twice.
constexpr int HASH_MOVE_MARK = -999999;

struct MovePicker {
    int32_t stage;
    Move hash_move;
    int32_t ply;
    int32_t prev_piece;  // piece that made the previous move, NO_PIECE when none
    int32_t prev_to;
    Move moves[MAX_MOVES];
    int32_t scores[MAX_MOVES];
    int32_t count;
    int32_t index;
    Move bad_captures[MAX_MOVES];
    int16_t bad_values[MAX_MOVES];  // exchange value of each bad capture (always within +-20000)
    int32_t bad_count;
    int32_t bad_index;
    int32_t picked_see;  // exchange value of the move last returned, SEE_UNKNOWN when not worked out
};

// Marks a move whose exchange value the picker did not work out.
constexpr int SEE_UNKNOWN = -1000000;

void picker_init(MovePicker& picker, Move hash_move, int ply, int prev_piece, int prev_to, bool in_check);
// The next move to try, NO_MOVE when exhausted. skip_quiets passes over the quiet stages.
Move picker_next(MovePicker& picker, const Position& pos, bool skip_quiets);

// The exchange value of the move picker_next has just returned, worked out
// only when the picker did not already do so while ordering the captures.
int picked_move_see(const MovePicker& picker, const Position& pos, Move move);

// Index of the first maximal score in scores[from..count-1]: {3, 7, 7} from 0 gives 1.
inline int pick_best_index(const int32_t* scores, int from, int count) {
    int best = from;
    for (int i = from + 1; i < count; ++i)
        if (scores[i] > scores[best]) best = i;
    return best;
}

// The tables that order the quiet moves of one node, looked up once for all of them.
struct QuietScoring {
    const int32_t (*history)[64];     // quiet_history of the side to move
    const int32_t (*continuation)[64];  // cont_history after the previous move; zeros when there is none
    Move killer0, killer1;
    Move counter;  // NO_MOVE when there is no previous move, which no generated move equals
};
QuietScoring quiet_scoring(const Position& pos, int ply, int prev_piece, int prev_to);

// Ordering score of a generated quiet move: histories plus the killer and counter-move bonuses.
int score_quiet(const QuietScoring& q, const Position& pos, Move move);
