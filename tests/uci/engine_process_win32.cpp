#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "uci/engine_process.h"

namespace {

HANDLE handle(PipeEnd end) { return reinterpret_cast<HANDLE>(end); }
PipeEnd end_of(HANDLE h) { return reinterpret_cast<PipeEnd>(h); }

// A pipe, or a regular file opened for reading when `file` is named (ends[1]
// then stays invalid). Nothing is inherited by a child until allowed. The
// pipe holds as much as a POSIX one, so a test may write a long script before
// it reads the replies.
void open_ends(HANDLE ends[2], const std::string& file) {
    ends[1] = INVALID_HANDLE_VALUE;
    bool opened = file.empty() ? CreatePipe(&ends[0], &ends[1], nullptr, 1 << 16)
                               : (ends[0] = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                        OPEN_EXISTING, 0, nullptr)) != INVALID_HANDLE_VALUE;
    if (!opened) throw std::runtime_error("no pipe or file");
}

}  // namespace

void EngineProcess::start(const std::vector<std::string>& args, const std::string& input_file) {
    HANDLE input[2], output[2];
    open_ends(input, input_file);
    open_ends(output, "");
    SetHandleInformation(input[0], HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    SetHandleInformation(output[1], HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    std::string command = std::string("\"") + QUILLBROOK_BINARY + "\"";
    for (const std::string& a : args) command += " \"" + a + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input[0];
    startup.hStdOutput = output[1];
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(QUILLBROOK_BINARY, command.data(), nullptr, nullptr, TRUE, 0, nullptr, dir_.c_str(), &startup,
                        &info))
        throw std::runtime_error("CreateProcess failed");
    CloseHandle(info.hThread);
    CloseHandle(input[0]);
    CloseHandle(output[1]);
    process_ = end_of(info.hProcess);
    to_engine_ = end_of(input[1]);
    from_engine_ = end_of(output[0]);
}

int mapped_files_under(const std::string& dir) {
    std::string folder = "\\";
    folder += std::filesystem::path(dir).filename().string() + "\\";
    int n = 0;
    MEMORY_BASIC_INFORMATION region;
    char name[MAX_PATH];
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof(region)); at += region.RegionSize) {
        at = static_cast<const char*>(region.BaseAddress);
        n += region.Type == MEM_MAPPED && region.BaseAddress == region.AllocationBase &&
             GetMappedFileNameA(GetCurrentProcess(), region.BaseAddress, name, sizeof(name)) &&
             std::strstr(name, folder.c_str());
    }
    return n;
}

bool EngineProcess::wait_for_exit(int timeout_ms, int& exit_code) {
    DWORD code;
    if (WaitForSingleObject(handle(process_), DWORD(timeout_ms)) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(handle(process_), &code))
        return false;
    exit_code = int(code);
    return true;
}

void EngineProcess::kill_process() {
    if (!exited_) {
        TerminateProcess(handle(process_), 1);
        WaitForSingleObject(handle(process_), INFINITE);
    }
    CloseHandle(handle(process_));
}

long write_pipe(PipeEnd pipe, const char* bytes, long size) {
    long done = 0;
    DWORD n;
    while (done < size && WriteFile(handle(pipe), bytes + done, DWORD(size - done), &n, nullptr) && n > 0)
        done += long(n);
    return done;
}

// An anonymous pipe has no read with a time limit: look, and nap while it is empty.
long read_pipe(PipeEnd pipe, char* chunk, long size, int timeout_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        DWORD waiting = 0, n = 0;
        if (!PeekNamedPipe(handle(pipe), nullptr, 0, nullptr, &waiting, nullptr)) return 0;  // the writer is gone
        if (waiting > 0)
            return ReadFile(handle(pipe), chunk, std::min(waiting, DWORD(size)), &n, nullptr) ? long(n) : 0;
        if (std::chrono::steady_clock::now() >= deadline) return -1;
        Sleep(1);
    }
}

void close_pipe(PipeEnd& pipe) {
    if (pipe >= 0) CloseHandle(handle(pipe));
    pipe = -1;
}

StdinRedirect::StdinRedirect(const std::string& input_file) : saved(end_of(GetStdHandle(STD_INPUT_HANDLE))) {
    HANDLE ends[2];
    open_ends(ends, input_file);
    reader = end_of(ends[0]);
    writer = end_of(ends[1]);
    SetStdHandle(STD_INPUT_HANDLE, ends[0]);
}

StdinRedirect::~StdinRedirect() {
    SetStdHandle(STD_INPUT_HANDLE, handle(saved));
    close_pipe(reader);
    close_pipe(writer);
}
