// Small Polyglot books written to temporary files, for tests that need a
// book with particular entries.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/position.h"
#include "uci/uci.h"

struct TestBookEntry {
    uint64_t key;
    uint16_t move;
    uint16_t weight;
};

// Polyglot move bits from coordinate text: "e1h1" -> 0x01C7, "f2g1n" adds knight (1) at bit 12.
inline uint16_t polyglot_move(const char* text) {
    int from = (text[0] - 'a') + 8 * (text[1] - '1');
    int to = (text[2] - 'a') + 8 * (text[3] - '1');
    int promotion = 0;
    switch (text[4]) {
        case 'n': promotion = 1; break;
        case 'b': promotion = 2; break;
        case 'r': promotion = 3; break;
        case 'q': promotion = 4; break;
        default: break;
    }
    return static_cast<uint16_t>(to | (from << 6) | (promotion << 12));
}

// Writes raw bytes to a fresh file in the test temporary folder; returns its path.
inline std::string write_temp_file(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + "quillbrook_" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

// The 16-byte big-endian records of a Polyglot file (learn field zero).
inline std::string book_bytes(const std::vector<TestBookEntry>& entries) {
    std::string bytes;
    for (const TestBookEntry& e : entries) {
        for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(e.key >> shift);
        bytes += static_cast<char>(e.move >> 8);
        bytes += static_cast<char>(e.move);
        bytes += static_cast<char>(e.weight >> 8);
        bytes += static_cast<char>(e.weight);
        bytes += std::string(4, '\0');
    }
    return bytes;
}

inline std::string write_temp_book(const std::string& name, const std::vector<TestBookEntry>& entries) {
    return write_temp_file(name, book_bytes(entries));
}

// Position after a "position ..." command line, e.g. "position startpos moves e2e4".
inline Position position_from(const char* command) {
    Position pos{};
    position_command(command, pos);
    return pos;
}
