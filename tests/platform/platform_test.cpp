#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/input.h"
#include "uci/engine_process.h"

namespace {

std::string next_line() {
    char buffer[64];
    return read_input_line(buffer, sizeof(buffer)) ? buffer : "<end>";
}

void feed(StdinRedirect& input, const std::string& bytes) {
    ASSERT_EQ(write_pipe(input.writer, bytes.data(), long(bytes.size())), long(bytes.size()));
}

}  // namespace

TEST(PlatformInput, PipeLinesBufferedEarlierStayVisible) {
    StdinRedirect input;
    EXPECT_FALSE(input_available());
    feed(input, "go\nstop\n");
    EXPECT_TRUE(input_available());
    EXPECT_EQ(next_line(), "go\n");
    // "stop" already sits in the reader's buffer, not in the pipe.
    EXPECT_TRUE(input_available());
    EXPECT_EQ(next_line(), "stop\n");
    EXPECT_FALSE(input_available());
    // A line longer than the caller's buffer comes in pieces; an unended last line still counts.
    feed(input, std::string(100, 'a') + "\ntail");
    close_pipe(input.writer);
    EXPECT_TRUE(input_available());
    EXPECT_EQ(next_line(), std::string(63, 'a'));
    EXPECT_EQ(next_line(), std::string(37, 'a') + "\n");
    EXPECT_EQ(next_line(), "tail");
    EXPECT_TRUE(input_available());  // end of input is news too
    EXPECT_EQ(next_line(), "<end>");
}

TEST(PlatformInput, RegularFileIsAlwaysReady) {
    std::string path = make_temp_dir() + "/input.txt";
    std::ofstream(path, std::ios::binary) << "uci\nquit\n";
    StdinRedirect input(path);
    EXPECT_TRUE(input_available());
    EXPECT_EQ(next_line(), "uci\n");
    EXPECT_EQ(next_line(), "quit\n");
    EXPECT_TRUE(input_available());
    EXPECT_EQ(next_line(), "<end>");
}

TEST(PlatformClock, TicksAdvanceInMillisecondsAndTimeOfDayIsInRange) {
    uint64_t start = tick_ms();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
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
    FileHandle opened = open_file((dir + "/KQvK.rtbw").c_str());
    ASSERT_EQ(map_open_file(opened, file), MapResult::OK);
    close_file(opened);
    ASSERT_EQ(file.size, 10u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data), file.size), "0123456789");
    unmap_file(file);
    EXPECT_EQ(file.data, nullptr);
    EXPECT_EQ(open_file((dir + "/missing").c_str()), NO_FILE);
    EXPECT_EQ(open_file(dir.c_str()), NO_FILE);
    opened = open_file((dir + "/empty.rtbw").c_str());
    EXPECT_EQ(map_open_file(opened, file), MapResult::CANNOT_MAP);
    close_file(opened);
}
