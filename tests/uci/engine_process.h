// Runs the real engine binary as a child process behind pipes, the way a
// chess GUI does, so tests can talk UCI to it and read what it prints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A pipe end, descriptor or handle; -1 when closed.
using PipeEnd = std::intptr_t;

class EngineProcess {
public:
    // Starts the engine with the given arguments in `working_dir` (a fresh
    // temporary directory when empty). Its standard input is a pipe, or the
    // file `input_file` when one is named.
    explicit EngineProcess(const std::vector<std::string>& args = {}, const std::string& working_dir = "",
                           const std::string& input_file = "");
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    void send(const std::string& line);        // writes line + "\n"
    void send_raw(const std::string& bytes);   // writes bytes as they are
    void close_input();                        // end of the engine's standard input

    // Next output line without its line end; false on timeout or end of output.
    bool read_line(std::string& line, int timeout_ms = 10000);
    // Reads lines until one starts with `prefix` (included as the last line);
    // on timeout or end of output the last line is not the wanted one.
    std::vector<std::string> read_until(const std::string& prefix, int timeout_ms = 10000);
    // Everything printed until the engine closes its output.
    std::vector<std::string> read_all(int timeout_ms = 10000);
    // Waits for the process to end; its exit code, or -1 on timeout or abnormal end.
    int wait_exit(int timeout_ms = 10000);
    // Sends isready and waits for readyok; false if it never came.
    bool ready(int timeout_ms = 20000);

    const std::string& directory() const { return dir_; }

private:
    // The system-specific halves, in engine_process_posix.cpp and engine_process_win32.cpp.
    void start(const std::vector<std::string>& args, const std::string& input_file);
    // True once the process has ended; exit_code is -1 when it did not exit normally.
    bool wait_for_exit(int timeout_ms, int& exit_code);
    // Kills the process if it still runs and releases it.
    void kill_process();

    std::intptr_t process_ = -1;
    PipeEnd to_engine_ = -1;
    PipeEnd from_engine_ = -1;
    std::string buffer_;
    std::string dir_;
    bool exited_ = false;
    int exit_code_ = -1;
};

// Bytes written (all of them unless the reader has gone).
long write_pipe(PipeEnd pipe, const char* bytes, long size);
// Bytes read into `chunk`; 0 at end of output, -1 when none came in time.
long read_pipe(PipeEnd pipe, char* chunk, long size, int timeout_ms);
void close_pipe(PipeEnd& pipe);

// This test process's own standard input, replaced while the object lives by
// a fresh pipe (fed through `writer`) or by the file `input_file`.
struct StdinRedirect {
    explicit StdinRedirect(const std::string& input_file = "");
    ~StdinRedirect();
    PipeEnd saved = -1, reader = -1, writer = -1;
};

// Files under `dir` that this process has mapped into memory.
int mapped_files_under(const std::string& dir);

// Feeds `input` to a fresh engine, closes its input and returns every line it printed.
std::vector<std::string> run_engine(const std::string& input, const std::vector<std::string>& args = {},
                                    const std::string& working_dir = "", int timeout_ms = 60000);

// A new empty temporary directory.
std::string make_temp_dir();

// Lines of a text file.
std::vector<std::string> read_file_lines(const std::string& path);

// True if `s` begins with `prefix`: has_prefix("bestmove e2e4", "bestmove") is true.
inline bool has_prefix(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The lines that begin with `prefix`, in order.
std::vector<std::string> lines_with_prefix(const std::vector<std::string>& lines, const std::string& prefix);
