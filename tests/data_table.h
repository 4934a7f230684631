// Case tables kept as data under tests/data/tables: one case a line, fields separated by '|'
// with the blanks around them trimmed; blank lines and lines starting with '#' are comments.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using TableRow = std::vector<std::string>;

inline std::vector<TableRow> read_table(const std::string& name) {
    std::vector<TableRow> rows;
    std::ifstream in(std::string(TEST_DATA_DIR) + "/tables/" + name);
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(" \r") == std::string::npos || line[0] == '#') continue;
        TableRow row;
        for (size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1) {
            bar = line.find('|', at);
            const std::string field = line.substr(at, bar == std::string::npos ? bar : bar - at);
            const size_t first = field.find_first_not_of(' '), last = field.find_last_not_of(" \r");
            row.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
        }
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << "no cases in " << name;
    return rows;
}
