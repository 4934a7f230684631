#include "tablebase/tablebase.h"

// Placeholder until the tablebase reader lands: nothing is ever covered.
int tb_probe_limit = 0;
int tb_largest = 0;

bool tb_check_pairs(const char*, char* message) {
    message[0] = '\0';
    return true;
}

bool tb_load(const char*) {
    tb_largest = 0;
    return true;
}

int tb_probe_wdl(const Position&, bool& success) {
    success = false;
    return 0;
}

bool tb_root_move(Position&, Move& move_out) {
    move_out = NO_MOVE;
    return false;
}
