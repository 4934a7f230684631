#include "uci/engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

}  // namespace

std::string make_temp_dir() {
    char pattern[] = "/tmp/quillbrook-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) throw std::runtime_error("mkdtemp failed");
    return dir;
}

std::vector<std::string> read_file_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

EngineProcess::EngineProcess(const std::vector<std::string>& args, const std::string& working_dir)
    : dir_(working_dir.empty() ? make_temp_dir() : working_dir) {
    signal(SIGPIPE, SIG_IGN);
    int in_pipe[2], out_pipe[2];
    if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        dup2(in_pipe[0], STDIN_FILENO);
        dup2(out_pipe[1], STDOUT_FILENO);
        for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1]}) close(fd);
        if (chdir(dir_.c_str()) != 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(QUILLBROOK_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(QUILLBROOK_BINARY, argv.data());
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    to_engine_ = in_pipe[1];
    from_engine_ = out_pipe[0];
}

EngineProcess::~EngineProcess() {
    close_input();
    if (!exited_ && wait_exit(2000) < 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (from_engine_ >= 0) close(from_engine_);
}

void EngineProcess::send_raw(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size() && to_engine_ >= 0) {
        ssize_t n = write(to_engine_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
}

void EngineProcess::send(const std::string& line) { send_raw(line + "\n"); }

void EngineProcess::close_input() {
    if (to_engine_ >= 0) close(to_engine_);
    to_engine_ = -1;
}

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
        pollfd fd{from_engine_, POLLIN, 0};
        int ready = poll(&fd, 1, remaining_ms(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char chunk[4096];
        ssize_t n = read(from_engine_, chunk, sizeof(chunk));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            close(from_engine_);
            from_engine_ = -1;
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
    if (exited_) return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        pid_t r = waitpid(pid_, &status_, WNOHANG);
        if (r == pid_) {
            exited_ = true;
            return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
        }
        if (remaining_ms(deadline) == 0) return -1;
        usleep(2000);
    }
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
