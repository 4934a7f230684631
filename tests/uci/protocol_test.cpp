// End-to-end: input no transcript can hold, through pipes.
#include <gtest/gtest.h>

#include <string>

#include "uci/engine_process.h"

TEST(Protocol, BinaryAndOverlongInputNeverCrash) {
    std::string input = "position " + std::string(100 * 1024, 'x') + "\nd\n";
    for (int i = 0; i < 4096; ++i) input += char((i * 131 + 7) % 256);
    EngineProcess engine;
    engine.send_raw(input + "\n");
    EXPECT_TRUE(engine.ready(60000));
    engine.close_input();
    EXPECT_EQ(engine.wait_exit(), 0);
}
