#include "uci/engine_process.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

}  // namespace

std::string make_temp_dir() {
    // Random names, since test processes may run side by side.
    static std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path dir = base / ("quillbrook-test-" + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(dir)) return dir.string();
    }
    throw std::runtime_error("no new temporary directory");
}

std::vector<std::string> read_file_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

EngineProcess::EngineProcess(const std::vector<std::string>& args, const std::string& working_dir,
                             const std::string& input_file)
    : dir_(working_dir.empty() ? make_temp_dir() : working_dir) {
    start(args, input_file);
}

EngineProcess::~EngineProcess() {
    close_input();
    wait_exit(2000);
    kill_process();
    close_pipe(from_engine_);
}

void EngineProcess::send_raw(const std::string& bytes) {
    if (to_engine_ >= 0) write_pipe(to_engine_, bytes.data(), long(bytes.size()));
}

void EngineProcess::send(const std::string& line) { send_raw(line + "\n"); }

void EngineProcess::close_input() { close_pipe(to_engine_); }

bool EngineProcess::read_line(std::string& line, int timeout_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        size_t eol = buffer_.find('\n');
        if (eol != std::string::npos) {
            line = buffer_.substr(0, eol);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            buffer_.erase(0, eol + 1);
            return true;
        }
        if (from_engine_ < 0) return false;
        char chunk[4096];
        long n = read_pipe(from_engine_, chunk, sizeof(chunk), remaining_ms(deadline));
        if (n < 0) return false;
        if (n == 0) {
            close_pipe(from_engine_);
            if (buffer_.empty()) return false;
            line = buffer_;
            buffer_.clear();
            return true;
        }
        buffer_.append(chunk, size_t(n));
    }
}

std::vector<std::string> EngineProcess::read_until(const std::string& prefix, int timeout_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::vector<std::string> lines;
    std::string line;
    while (read_line(line, remaining_ms(deadline))) {
        lines.push_back(line);
        if (has_prefix(line, prefix)) break;
    }
    return lines;
}

// No output line starts with a NUL byte, so this reads to the end.
std::vector<std::string> EngineProcess::read_all(int timeout_ms) { return read_until(std::string(1, '\0'), timeout_ms); }

int EngineProcess::wait_exit(int timeout_ms) {
    if (!exited_) exited_ = wait_for_exit(timeout_ms, exit_code_);
    return exited_ ? exit_code_ : -1;
}

bool EngineProcess::ready(int timeout_ms) {
    send("isready");
    auto lines = read_until("readyok", timeout_ms);
    return !lines.empty() && lines.back() == "readyok";
}

std::vector<std::string> lines_with_prefix(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (has_prefix(l, prefix)) out.push_back(l);
    return out;
}

std::vector<std::string> run_engine(const std::string& input, const std::vector<std::string>& args,
                                    const std::string& working_dir, int timeout_ms) {
    EngineProcess engine(args, working_dir);
    engine.send_raw(input);
    engine.close_input();
    return engine.read_all(timeout_ms);
}
