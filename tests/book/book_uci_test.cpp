// End-to-end: book play through setoption and go, on the real engine binary.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace {

const std::string PERFORMANCE_BOOK = std::string(TEST_DATA_DIR) + "/books/performance.bin";

// Lines the engine prints for one go command, up to and including bestmove.
std::vector<std::string> go(EngineProcess& engine, const std::string& command) {
    engine.send(command);
    return engine.read_until("bestmove", 60000);
}

bool is_book_answer(const std::vector<std::string>& lines) {
    return lines.size() == 1 && (lines[0] == "bestmove e2e4" || lines[0] == "bestmove d2d4" ||
                                 lines[0] == "bestmove c2c4");
}

bool searched(const std::vector<std::string>& lines) {
    return !lines.empty() && has_prefix(lines.back(), "bestmove") && !lines_with_prefix(lines, "info").empty();
}

TEST(BookUci, BookFileAloneAnswersGoWithABookMoveButGoInfiniteSearches) {
    EngineProcess engine;
    engine.send("setoption name BookFile value " + PERFORMANCE_BOOK);
    engine.send("position startpos");
    std::vector<std::string> lines = go(engine, "go depth 5");
    EXPECT_TRUE(is_book_answer(lines)) << (lines.empty() ? "" : lines[0]);
    // The immediate answer goes to standard output only, not to the protocol log.
    ASSERT_TRUE(engine.ready());
    for (const std::string& l : read_file_lines(engine.directory() + "/quillbrook_uci.log"))
        EXPECT_EQ(l.find("bestmove"), std::string::npos) << l;
    engine.send("go infinite");
    std::string first;
    ASSERT_TRUE(engine.read_line(first, 60000));
    EXPECT_TRUE(has_prefix(first, "info")) << first;
    EXPECT_TRUE(has_prefix(go(engine, "stop").back(), "bestmove"));
}

TEST(BookUci, OwnBookSwitchesBookPlayCaseSensitivelyAndAFailedLoadTurnsItOff) {
    EngineProcess engine;
    engine.send("setoption name BookFile value " + PERFORMANCE_BOOK);
    engine.send("setoption name OwnBook value false");
    engine.send("position startpos");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
    // The book stayed loaded: true brings it back.
    engine.send("setoption name OwnBook value true");
    EXPECT_TRUE(is_book_answer(go(engine, "go depth 2")));
    engine.send("setoption name OwnBook value True");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
    engine.send("setoption name OwnBook value true");
    engine.send("setoption name BookFile value no-such-book.bin");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
    // Switching book play back on finds no book left to play from.
    engine.send("setoption name OwnBook value true");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
}

TEST(BookUci, RelativeBookPathWithSpacesIsReadFromTheWorkingDirectory) {
    std::string dir = make_temp_dir();
    std::filesystem::create_directory(dir + "/my books");
    {
        std::ifstream in(PERFORMANCE_BOOK, std::ios::binary);
        std::ofstream out(dir + "/my books/opening book.bin", std::ios::binary);
        out << in.rdbuf();
    }
    EngineProcess engine({}, dir);
    engine.send("setoption name BookFile value my books/opening book.bin");
    engine.send("position startpos");
    EXPECT_TRUE(is_book_answer(go(engine, "go depth 5")));
}

}  // namespace
