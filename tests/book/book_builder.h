// Small Polyglot books written to temporary files, for tests that need a
// book with particular entries.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/position.h"
#include "book/book.h"
#include "uci/uci.h"

struct TestBookEntry {
    uint64_t key;
    uint16_t move;
    uint16_t weight;
};

// Polyglot move bits from coordinate text: "e1h1" -> 0x01C7, "f2g1n" adds knight (1) at bit 12;
// "k" gives the code 5, which no promotion uses.
inline uint16_t polyglot_move(const char* text) {
    int from = (text[0] - 'a') + 8 * (text[1] - '1');
    int to = (text[2] - 'a') + 8 * (text[3] - '1');
    int promotion = 0;
    for (int i = 0; text[4] && i < 5; ++i)
        if ("nbrqk"[i] == text[4]) promotion = i + 1;
    return static_cast<uint16_t>(to | (from << 6) | (promotion << 12));
}

// Writes raw bytes to a file in the test temporary folder; returns its path.
// The name carries the running test's, as ctest runs the tests side by side
// as separate processes that share the folder.
inline std::string write_temp_file(const std::string& name, const std::string& bytes) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string owner = test ? std::string(test->test_suite_name()) + "." + test->name() + "_" : "";
    std::string path = ::testing::TempDir() + "quillbrook_" + owner + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) std::fwrite(bytes.data(), 1, bytes.size(), file), std::fclose(file);
    return path;
}

// The 16-byte big-endian records of a Polyglot file (learn field zero).
inline std::string book_bytes(const std::vector<TestBookEntry>& entries) {
    std::string bytes;
    for (const TestBookEntry& e : entries) {
        for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(e.key >> shift);
        for (uint16_t half : {e.move, e.weight}) bytes += {static_cast<char>(half >> 8), static_cast<char>(half)};
        bytes += std::string(4, '\0');
    }
    return bytes;
}

// Loads a book of these entries as the engine's book; false if the load failed.
inline bool load_test_book(const std::vector<TestBookEntry>& entries) {
    return book_load(write_temp_file("test.bin", book_bytes(entries)).c_str());
}

// Position after a "position ..." command line, e.g. "position startpos moves e2e4". (Not
// position_from: the board tests' helper of that name reads a FEN, and two inline functions of
// one name would be one function to the linker.)
inline Position position_after(const char* command) {
    Position pos{};
    position_command(command, pos);
    return pos;
}
