// Command lines through the real dispatcher, one input a session.
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/position.h"
#include "book/book.h"
#include "eval/psq.h"
#include "fuzz/harness.h"
#include "fuzz/targets.h"
#include "search/limits.h"
#include "search/root.h"
#include "search/tt.h"
#include "tablebase/tablebase.h"
#include "uci/commands.h"
#include "uci/text.h"
#include "uci/uci.h"

namespace {

// As the command loop reads: 4095 characters at most, a line end included.
constexpr size_t LINE_LIMIT = 4095;
// A search or perft must end within milliseconds however the line reads.
constexpr const char* GO_CAP = " depth 4 nodes 3000";
constexpr int PERFT_CAP = 2;
constexpr int HASH_CAP_MB = 4;

// Options and the position as a fresh engine has them, so that each input
// replays alike whatever ran before it.
void reset_engine(Position& pos) {
    parse_fen(pos, START_FEN);
    multipv = 1;
    book_load("");
    if (eval_style != STYLE_PESTO) {
        eval_style = STYLE_PESTO;
        psq_init();
    }
    tb_load("");
    tb_probe_limit = 0;
    tt_resize(1);
}

// The value text of a setoption line, or null.
const char* option_value(const std::string& line) {
    const char* value = std::strstr(line.c_str(), "value");
    if (!value) return nullptr;
    value += 5;
    while (*value == ' ') ++value;
    return value;
}

// Rewrites what would make one input slow or touch arbitrary files; other
// lines go through as they are.
std::string tame(const std::string& line) {
    if (begins_with(line.c_str(), "go")) {
        // The clock arithmetic still sees the untouched limits.
        const SearchLimits asked = parse_go(line.c_str());
        allot_time(asked, WHITE);
        allot_time(asked, BLACK);
        return line + GO_CAP;
    }
    if (begins_with(line.c_str(), "perft")) {
        if (line == "perfttest") return "";
        int depth = std::atoi(line.c_str() + 5);
        return "perft " + std::to_string(depth < PERFT_CAP ? depth : PERFT_CAP);
    }
    if (begins_with(line.c_str(), "bench")) return "";
    if (begins_with(line.c_str(), "setoption") && std::strstr(line.c_str(), "name")) {
        const char* value = option_value(line);
        if (!value) return line;
        const std::string prefix = line.substr(0, size_t(value - line.c_str()));
        if (std::strstr(line.c_str(), "Hash")) {
            int mb = std::atoi(value);
            return prefix + std::to_string(mb < HASH_CAP_MB ? mb : HASH_CAP_MB);
        }
        // Files are named from the test data folder: the real books and tables.
        if (std::strstr(line.c_str(), "BookFile") || std::strstr(line.c_str(), "SyzygyPath"))
            return *value ? prefix + fuzz_data_dir() + "/" + value : line;
    }
    return line;
}

}  // namespace

int fuzz_commands(const uint8_t* data, size_t size) {
    fuzz_engine_init();
    static Position pos;
    reset_engine(pos);
    const char* text = reinterpret_cast<const char*>(data);
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && end - start < LINE_LIMIT && text[end] != '\n') ++end;
        if (end < size && text[end] == '\n' && end - start < LINE_LIMIT) ++end;
        std::string line(text + start, end - start);
        start = end;
        // A NUL ends the line as the C string the loop would hold.
        line.resize(std::strlen(line.c_str()));
        line.resize(strip_line_end(line.data()));
        if (line == "quit") break;
        const std::string command = tame(line);
        uci_dispatch(command.c_str(), pos);
    }
    return 0;
}
