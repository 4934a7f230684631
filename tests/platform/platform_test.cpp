#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/input.h"
#include "uci/engine_process.h"

namespace {

// Puts `fd` in place of standard input for the life of the object.
struct StdinSwap {
    int saved;
    explicit StdinSwap(int fd) : saved(dup(STDIN_FILENO)) { dup2(fd, STDIN_FILENO); }
    ~StdinSwap() {
        dup2(saved, STDIN_FILENO);
        close(saved);
    }
};

std::string next_line() {
    char buffer[64];
    return read_input_line(buffer, sizeof(buffer)) ? buffer : "<end>";
}

}  // namespace

TEST(PlatformInput, PipeLinesBufferedEarlierStayVisible) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    {
        StdinSwap swap(fds[0]);
        EXPECT_FALSE(input_available());
        ASSERT_EQ(write(fds[1], "go\nstop\n", 8), 8);
        EXPECT_TRUE(input_available());
        EXPECT_EQ(next_line(), "go\n");
        // "stop" already sits in the reader's buffer, not in the pipe.
        EXPECT_TRUE(input_available());
        EXPECT_EQ(next_line(), "stop\n");
        EXPECT_FALSE(input_available());
        // A line longer than the caller's buffer comes in pieces; an unended last line still counts.
        const std::string text = std::string(100, 'a') + "\ntail";
        ASSERT_EQ(write(fds[1], text.data(), text.size()), ssize_t(text.size()));
        close(fds[1]);
        EXPECT_TRUE(input_available());
        EXPECT_EQ(next_line(), std::string(63, 'a'));
        EXPECT_EQ(next_line(), std::string(37, 'a') + "\n");
        EXPECT_EQ(next_line(), "tail");
        EXPECT_TRUE(input_available());  // end of input is news too
        EXPECT_EQ(next_line(), "<end>");
    }
    close(fds[0]);
}

TEST(PlatformInput, RegularFileIsAlwaysReady) {
    std::string path = make_temp_dir() + "/input.txt";
    std::ofstream(path) << "uci\nquit\n";
    int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        StdinSwap swap(fd);
        EXPECT_TRUE(input_available());
        EXPECT_EQ(next_line(), "uci\n");
        EXPECT_EQ(next_line(), "quit\n");
        EXPECT_TRUE(input_available());
        EXPECT_EQ(next_line(), "<end>");
    }
    close(fd);
}

TEST(PlatformInput, TerminalWaitsForTheWholeLine) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminal";
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    {
        StdinSwap swap(slave);
        EXPECT_FALSE(input_available());
        ASSERT_EQ(write(master, "isr", 3), 3);
        usleep(20000);
        EXPECT_FALSE(input_available());  // a line still being typed is not input yet
        ASSERT_EQ(write(master, "eady\n", 5), 5);
        usleep(20000);
        EXPECT_TRUE(input_available());
        EXPECT_EQ(next_line(), "isready\n");
        EXPECT_FALSE(input_available());
    }
    close(slave);
    close(master);
}

TEST(PlatformClock, TicksAdvanceInMillisecondsAndTimeOfDayIsInRange) {
    uint64_t start = tick_ms();
    usleep(30000);
    uint64_t elapsed = tick_ms() - start;
    EXPECT_GE(elapsed, 25u);
    EXPECT_LT(elapsed, 2000u);
    LocalTimeOfDay t = local_time_of_day();
    EXPECT_TRUE(t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60);
    EXPECT_TRUE(t.second >= 0 && t.second <= 60 && t.millisecond >= 0 && t.millisecond < 1000);
}

TEST(PlatformFiles, ListingRegularFilesAndMapping) {
    std::string dir = make_temp_dir();
    std::ofstream(dir + "/KQvK.rtbw") << "0123456789";
    std::ofstream(dir + "/KQvK.rtbz") << "z";
    std::ofstream(dir + "/notes.txt") << "x";
    std::ofstream(dir + "/empty.rtbw");
    auto names = list_directory(dir.c_str(), ".rtbw");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"KQvK.rtbw", "empty.rtbw"}));
    EXPECT_TRUE(list_directory((dir + "/missing").c_str(), ".rtbw").empty());
    EXPECT_TRUE(is_regular_file((dir + "/KQvK.rtbw").c_str()));
    EXPECT_FALSE(is_regular_file(dir.c_str()));
    EXPECT_FALSE(is_regular_file((dir + "/missing").c_str()));

    MappedFile file;
    ASSERT_EQ(map_file((dir + "/KQvK.rtbw").c_str(), file), MapResult::OK);
    ASSERT_EQ(file.size, 10u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data), file.size), "0123456789");
    unmap_file(file);
    EXPECT_EQ(file.data, nullptr);
    EXPECT_EQ(map_file((dir + "/missing").c_str(), file), MapResult::CANNOT_OPEN);
    EXPECT_EQ(map_file((dir + "/empty.rtbw").c_str(), file), MapResult::CANNOT_MAP);
}
