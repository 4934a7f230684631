#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "book/book.h"
#include "eval/psq.h"
#include "search/root.h"
#include "search/tt.h"
#include "tablebase/tablebase.h"
#include "uci/commands.h"
#include "uci/text.h"

namespace {

constexpr int MIN_HASH_MB = 1;
constexpr int MAX_HASH_MB = 2048;
constexpr int TB_MESSAGE_SIZE = 512;


int clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

void set_syzygy_path(const char* path) {
    if (*path == '\0' || begins_with(path, "<empty>")) return;  // earlier tables stay in use
    char offending[TB_MESSAGE_SIZE] = {};
    if (tb_check_pairs(path, offending)) {
        tb_load(path);
        tb_probe_limit = tb_largest;
    } else {
        std::printf("info string Syzygy disabled: unpaired tablebase file %s in %s\n", offending, path);
        std::fflush(stdout);
        tb_probe_limit = 0;
    }
}

}  // namespace

void cmd_setoption(const char* line) {
    const char* name = std::strstr(line, "name");
    if (!name) return;
    const char* value = std::strstr(line, "value");
    if (!value) return;  // every option needs a value
    name += 4;
    while (*name == ' ') ++name;
    value += 5;
    const char* text = value;  // string values: the rest of the line after the blanks
    while (*text == ' ') ++text;

    if (begins_with(name, "Hash")) {
        tt_resize(clamp(std::atoi(value), MIN_HASH_MB, MAX_HASH_MB));
    } else if (begins_with(name, "MultiPV")) {
        multipv = clamp(std::atoi(value), 1, MAX_MULTIPV);
    } else if (begins_with(name, "OwnBook")) {
        book_enabled = begins_with(text, "true");
    } else if (begins_with(name, "BookFile")) {
        book_load(text);
    } else if (begins_with(name, "Style")) {
        eval_style = begins_with(text, "Linear") ? STYLE_LINEAR : STYLE_PESTO;
        psq_init();
    } else if (begins_with(name, "SyzygyPath")) {
        set_syzygy_path(text);
    }
}
