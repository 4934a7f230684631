// A terminal hands over whole lines only: POSIX pseudo-terminals show it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/input.h"
#include "uci/engine_process.h"

TEST(PlatformInput, TerminalWaitsForTheWholeLine) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminal";
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    {
        StdinRedirect input;
        dup2(slave, STDIN_FILENO);
        EXPECT_FALSE(input_available());
        ASSERT_EQ(write(master, "isr", 3), 3);
        usleep(20000);
        EXPECT_FALSE(input_available());  // a line still being typed is not input yet
        ASSERT_EQ(write(master, "eady\n", 5), 5);
        usleep(20000);
        EXPECT_TRUE(input_available());
        char line[64];
        EXPECT_TRUE(read_input_line(line, sizeof(line)));
        EXPECT_STREQ(line, "isready\n");
        EXPECT_FALSE(input_available());
    }
    close(slave);
    close(master);
}
