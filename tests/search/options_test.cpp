// setoption effects no output shows; the others are in the transcripts.
#include <gtest/gtest.h>

#include "search/root.h"
#include "search/tt.h"
#include "uci/commands.h"

TEST(SetOption, HashAndMultiPvAreClampedAndMissingValuesChangeNothing) {
    const std::pair<const char*, uint64_t> cases[] = {
        {"Hash value 0", 65536}, {"Hash value 99999", 1ULL << 27}, {"Hash value junk", 65536},
        {"Hash value 16", 1ULL << 20}, {"Hash", 1ULL << 20}, {"hash value 4", 1ULL << 20}};
    for (auto [option, count] : cases) {
        cmd_setoption((std::string("setoption name ") + option).c_str());
        EXPECT_EQ(tt_count, count) << option;
    }
    tt_resize(256);
    cmd_setoption("setoption name MultiPV value 300");  // more lines than any position has moves
    EXPECT_EQ(multipv, 256);
    multipv = 1;
}
