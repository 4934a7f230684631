#include <string>

#include <gtest/gtest.h>

#include "book/book.h"
#include "book_builder.h"

namespace {

const std::string PERFORMANCE_BOOK = std::string(TEST_DATA_DIR) + "/books/performance.bin";
constexpr uint64_t START_KEY = 0x463B96181691FC9CULL;

TEST(BookLoad, UnusableFilesLeaveNoBookAndBookPlayOff) {
    std::string one_record = book_bytes({{START_KEY, polyglot_move("e2e4"), 1}});
    struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"missing", ::testing::TempDir() + "quillbrook_no_such_book.bin"},
        {"empty", write_temp_file("empty.bin", "")},
        {"shorter than a record", write_temp_file("short.bin", one_record.substr(0, 15))},
        {"record and a byte", write_temp_file("odd.bin", one_record + "x")},
        {"one and a half records", write_temp_file("half.bin", one_record + one_record.substr(0, 8))},
        {"directory", ::testing::TempDir()},
    };
    Position pos = position_from("position startpos");
    for (const Case& c : cases) {
        // A good book first: it turns book play on, and the failed load must drop it.
        book_enabled = false;
        ASSERT_TRUE(book_load(PERFORMANCE_BOOK.c_str()));
        EXPECT_TRUE(book_enabled);
        EXPECT_NE(book_probe(pos), NO_MOVE);
        EXPECT_FALSE(book_load(c.path.c_str())) << c.what;
        EXPECT_FALSE(book_enabled) << c.what;
        // Book play forced back on still finds nothing to play.
        book_enabled = true;
        EXPECT_EQ(book_probe(pos), NO_MOVE) << c.what;
        book_enabled = false;
    }
}

TEST(BookLoad, BookPlayOffKeepsTheBookButPlaysNothing) {
    ASSERT_TRUE(load_test_book({{START_KEY, polyglot_move("g1f3"), 7}}));
    Position pos = position_from("position startpos");
    book_enabled = false;
    EXPECT_EQ(book_probe(pos), NO_MOVE);
    book_enabled = true;
    EXPECT_STREQ(move_to_str(book_probe(pos)), "g1f3");
}

}  // namespace
