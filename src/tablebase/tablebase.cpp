#include "tablebase/tablebase.h"

#include "tablebase/probe.h"
#include "tablebase/registry.h"

int tb_probe_limit = 0;

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
