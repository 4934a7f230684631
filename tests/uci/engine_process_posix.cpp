#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "uci/engine_process.h"

void EngineProcess::start(const std::vector<std::string>& args, const std::string& input_file) {
    signal(SIGPIPE, SIG_IGN);
    int input[2] = {-1, -1}, output[2];
    if (input_file.empty() ? pipe(input) != 0 : (input[0] = open(input_file.c_str(), O_RDONLY)) < 0)
        throw std::runtime_error("no input for the engine");
    if (pipe(output) != 0) throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        for (int fd : {input[0], input[1], output[0], output[1]})
            if (fd >= 0) close(fd);
        if (chdir(dir_.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
#ifdef QUILLBROOK_EMULATOR
        // A cross-built engine runs under the emulator that runs these tests.
        for (const char* word : {QUILLBROOK_EMULATOR}) argv.push_back(const_cast<char*>(word));
#endif
        argv.push_back(const_cast<char*>(QUILLBROOK_BINARY));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    process_ = pid;
    to_engine_ = input[1];
    from_engine_ = output[0];
}

int mapped_files_under(const std::string& dir) {
    std::ifstream maps("/proc/self/maps");
    int n = 0;
    for (std::string line; std::getline(maps, line);) n += line.find(dir + "/") != std::string::npos;
    return n;
}

bool EngineProcess::wait_for_exit(int timeout_ms, int& exit_code) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    int status;
    while (waitpid(pid_t(process_), &status, WNOHANG) != pid_t(process_)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

void EngineProcess::kill_process() {
    if (exited_) return;
    kill(pid_t(process_), SIGKILL);
    waitpid(pid_t(process_), nullptr, 0);
}

long write_pipe(PipeEnd pipe, const char* bytes, long size) {
    long done = 0;
    while (done < size) {
        ssize_t n = write(int(pipe), bytes + done, size_t(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += long(n);
    }
    return done;
}

long read_pipe(PipeEnd pipe, char* chunk, long size, int timeout_ms) {
    for (;;) {
        pollfd fd{int(pipe), POLLIN, 0};
        int ready = poll(&fd, 1, timeout_ms);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return -1;
        ssize_t n = read(int(pipe), chunk, size_t(size));
        if (n < 0 && errno == EINTR) continue;
        return n > 0 ? long(n) : 0;
    }
}

void close_pipe(PipeEnd& pipe) {
    if (pipe >= 0) close(int(pipe));
    pipe = -1;
}

StdinRedirect::StdinRedirect(const std::string& input_file) : saved(dup(STDIN_FILENO)) {
    int ends[2] = {-1, -1};
    if (input_file.empty() ? pipe(ends) != 0 : (ends[0] = open(input_file.c_str(), O_RDONLY)) < 0)
        throw std::runtime_error("no input to redirect to");
    reader = ends[0];
    writer = ends[1];
    dup2(ends[0], STDIN_FILENO);
}

StdinRedirect::~StdinRedirect() {
    dup2(int(saved), STDIN_FILENO);
    for (PipeEnd* end : {&saved, &reader, &writer}) close_pipe(*end);
}
