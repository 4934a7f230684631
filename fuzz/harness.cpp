#include "fuzz/harness.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "board/legality.h"
#include "search/limits.h"
#include "search/tt.h"
#include "uci/log.h"
#include "uci/uci.h"

void fuzz_engine_init() {
    static bool done = false;
    if (done) return;
    done = true;
    engine_init();
    // Logging every fuzzed line would grow a file without end.
    log_tried = true;
    // ucinewgame clears the whole table: keep that cheap.
    tt_resize(1);
    // The process's standard input is not the engine's: searches poll nothing.
    search_poll = [] {};
}

namespace {

void remove_scratch_dir() {
    std::error_code ignored;
    std::filesystem::remove_all(fuzz_scratch_dir(), ignored);
}

}  // namespace

const std::string& fuzz_scratch_dir() {
    static const std::string dir = [] {
        std::random_device random;
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("quillbrook_fuzz_" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    // Registered after the name itself, so it runs while the name still exists.
    static const bool removed_at_exit = std::atexit(remove_scratch_dir) == 0;
    (void)removed_at_exit;
    return dir;
}

bool fuzz_write_file(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return bool(out);
}

const char* fuzz_data_dir() { return QUILLBROOK_DATA_DIR; }

bool among_legal_moves(const Position& pos, Move m) {
    MoveList legal;
    generate_legal_moves(pos, legal);
    for (int i = 0; i < legal.count; ++i)
        if (legal.moves[i] == m) return true;
    return false;
}

std::string random_material_fen(const char* signature, uint64_t& seed, bool white_to_move) {
    char board[64];
    for (char& c : board) c = '1';
    bool white = true;
    for (const char* p = signature; *p; ++p) {
        if (*p == 'v') {
            white = false;
            continue;
        }
        int sq;
        do {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            sq = int(seed >> 58);
        } while (board[sq] != '1');
        board[sq] = white ? *p : char(*p - 'A' + 'a');
    }
    std::string fen;
    for (int rank = 7; rank >= 0; --rank) {
        fen.append(board + 8 * rank, 8);
        if (rank) fen += '/';
    }
    return fen + (white_to_move ? " w - - 0 1" : " b - - 0 1");
}

