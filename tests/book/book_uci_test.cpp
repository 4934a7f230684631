// End-to-end: book play through setoption and go, on the real engine binary.
#include <gtest/gtest.h>

#include <sys/stat.h>

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

int info_lines(const std::vector<std::string>& lines) {
    int count = 0;
    for (const std::string& l : lines) count += l.rfind("info", 0) == 0;
    return count;
}

bool is_book_answer(const std::vector<std::string>& lines) {
    return lines.size() == 1 && (lines[0] == "bestmove e2e4" || lines[0] == "bestmove d2d4" ||
                                 lines[0] == "bestmove c2c4");
}

bool searched(const std::vector<std::string>& lines) {
    return !lines.empty() && lines.back().rfind("bestmove", 0) == 0 && info_lines(lines) > 0;
}

TEST(BookUci, BookFileAloneAnswersGoWithABookMove) {
    EngineProcess engine;
    engine.send("setoption name BookFile value " + PERFORMANCE_BOOK);
    engine.send("position startpos");
    std::vector<std::string> lines = go(engine, "go depth 5");
    EXPECT_TRUE(is_book_answer(lines)) << (lines.empty() ? "" : lines[0]);
    // The immediate answer goes to standard output only, not to the protocol log.
    engine.send("isready");
    engine.read_until("readyok");
    for (const std::string& l : read_file_lines(engine.directory() + "/quillbrook_uci.log"))
        EXPECT_EQ(l.find("bestmove"), std::string::npos) << l;
}

TEST(BookUci, GoInfiniteSearchesDespiteTheBook) {
    EngineProcess engine;
    engine.send("setoption name BookFile value " + PERFORMANCE_BOOK);
    engine.send("position startpos");
    engine.send("go infinite");
    std::string first;
    ASSERT_TRUE(engine.read_line(first, 60000));
    EXPECT_EQ(first.rfind("info", 0), 0u) << first;
    engine.send("stop");
    std::vector<std::string> rest = engine.read_until("bestmove", 60000);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back().rfind("bestmove", 0), 0u);
}

TEST(BookUci, OwnBookSwitchesBookPlayCaseSensitively) {
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
}

TEST(BookUci, OwnBookWithoutABookSearches) {
    EngineProcess engine;
    engine.send("setoption name OwnBook value true");
    engine.send("position startpos");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
}

TEST(BookUci, FailedBookFileLoadTurnsBookPlayOff) {
    EngineProcess engine;
    engine.send("setoption name BookFile value " + PERFORMANCE_BOOK);
    engine.send("setoption name BookFile value no-such-book.bin");
    engine.send("position startpos");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
    // Switching book play back on finds no book left to play from.
    engine.send("setoption name OwnBook value true");
    EXPECT_TRUE(searched(go(engine, "go depth 2")));
}

TEST(BookUci, RelativeBookPathWithSpacesIsReadFromTheWorkingDirectory) {
    std::string dir = make_temp_dir();
    mkdir((dir + "/my books").c_str(), 0755);
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
