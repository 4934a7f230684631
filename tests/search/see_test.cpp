#include <gtest/gtest.h>

#include "board/movegen.h"
#include "data_table.h"
#include "search/see.h"

TEST(StaticExchange, TableOfExchanges) {
    static Position pos;
    for (const TableRow& row : read_table("see.txt")) {
        parse_fen(pos, row[0].c_str());
        Move moves[MAX_MOVES], found = NO_MOVE;
        for (Move* m = moves, *end = generate_moves(pos, moves); m < end; ++m)
            if (row[1] == move_to_str(*m)) found = *m;
        ASSERT_NE(found, NO_MOVE) << row[0] << " " << row[1];
        EXPECT_EQ(see(pos, found), std::stoi(row[2])) << row[0] << " " << row[1];
    }
}
