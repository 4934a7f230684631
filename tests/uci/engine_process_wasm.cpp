// The test program under Node.js: child processes through Node's
// child_process, the test program's own input through a line channel, and
// file mappings counted as the program makes them (engine_process_wasm.js
// holds the JavaScript half).
#include <emscripten.h>
#include <sys/mman.h>

#include <map>
#include <stdexcept>

#include "uci/engine_process.h"

namespace {

// clang-format off
// words: `count` NUL-terminated strings one after the other.
EM_JS(void, start_process, (const char* words, int count, const char* dir, const char* input_file, intptr_t* ids), {
    const list = [];
    for (let i = 0; i < count; i++) {
        list.push(UTF8ToString(words));
        words += lengthBytesUTF8(list[i]) + 1;
    }
    const [pid, input, output] = testStartProcess(list, UTF8ToString(dir), UTF8ToString(input_file));
    HEAP32[ids >> 2] = pid;
    HEAP32[(ids >> 2) + 1] = input;
    HEAP32[(ids >> 2) + 2] = output;
});
EM_JS(int, wait_process, (int pid, int timeout_ms), { return testWaitExit(pid, timeout_ms); });
EM_JS(void, kill_and_forget, (int pid), {
    try {
        process.kill(pid, "SIGKILL");
    } catch {
        // already gone
    }
});
EM_JS(int, write_to, (int pipe, const char* bytes, int size), {
    return testPipes[pipe].write(HEAPU8.subarray(bytes, bytes + size));
});
EM_JS(int, read_from, (int pipe, char* chunk, int size, int timeout_ms), {
    return testReadPipe(pipe, HEAPU8.subarray(chunk, chunk + size), timeout_ms);
});
EM_JS(void, close_end, (int pipe), { testPipes[pipe].close(); });
EM_JS(void, redirect_input, (const char* input_file, intptr_t* ends), {
    const [restore, writer] = testRedirectInput(UTF8ToString(input_file));
    HEAP32[ends >> 2] = restore;
    HEAP32[(ends >> 2) + 1] = writer;
});
EM_JS(int, stream_path, (int fd, char* path, int size), {
    const stream = FS.getStream(fd);
    return stream ? stringToUTF8(stream.path, path, size) : 0;
});
// clang-format on

// Paths of the files mapped now, by address: the system keeps no list.
std::map<const void*, std::string>& file_mappings() {
    static std::map<const void*, std::string> mappings;
    return mappings;
}

}  // namespace

// The link wraps mmap and munmap (-Wl,--wrap) to keep that list.
extern "C" void* __real_mmap(void* address, size_t size, int protection, int flags, int fd, off_t offset);
extern "C" int __real_munmap(void* address, size_t size);

extern "C" void* __wrap_mmap(void* address, size_t size, int protection, int flags, int fd, off_t offset) {
    void* mapped = __real_mmap(address, size, protection, flags, fd, offset);
    char path[4096];
    if (mapped != MAP_FAILED && !(flags & MAP_ANONYMOUS) && stream_path(fd, path, sizeof(path)) > 0)
        file_mappings()[mapped] = path;
    return mapped;
}

extern "C" int __wrap_munmap(void* address, size_t size) {
    file_mappings().erase(address);
    return __real_munmap(address, size);
}

int mapped_files_under(const std::string& dir) {
    int n = 0;
    for (const auto& [address, path] : file_mappings()) n += path.compare(0, dir.size() + 1, dir + "/") == 0;
    return n;
}

void EngineProcess::start(const std::vector<std::string>& args, const std::string& input_file) {
    std::vector<std::string> command = {QUILLBROOK_EMULATOR, QUILLBROOK_BINARY};
    command.insert(command.end(), args.begin(), args.end());
    std::string words;
    for (const std::string& word : command) words.append(word.c_str(), word.size() + 1);
    intptr_t ids[3];
    start_process(words.data(), int(command.size()), dir_.c_str(), input_file.c_str(), ids);
    if (ids[0] < 0) throw std::runtime_error("the engine did not start");
    process_ = ids[0];
    to_engine_ = ids[1];
    from_engine_ = ids[2];
}

bool EngineProcess::wait_for_exit(int timeout_ms, int& exit_code) {
    int status = wait_process(int(process_), timeout_ms);
    if (status == -2) return false;
    exit_code = status;
    return true;
}

void EngineProcess::kill_process() {
    if (!exited_) kill_and_forget(int(process_));
}

long write_pipe(PipeEnd pipe, const char* bytes, long size) { return write_to(int(pipe), bytes, int(size)); }

long read_pipe(PipeEnd pipe, char* chunk, long size, int timeout_ms) {
    return read_from(int(pipe), chunk, int(size), timeout_ms);
}

void close_pipe(PipeEnd& pipe) {
    if (pipe >= 0) close_end(int(pipe));
    pipe = -1;
}

// The engine in this process reads its channel; `saved` restores the one before.
StdinRedirect::StdinRedirect(const std::string& input_file) {
    intptr_t ends[2];
    redirect_input(input_file.c_str(), ends);
    saved = ends[0];
    writer = ends[1];
}

StdinRedirect::~StdinRedirect() {
    for (PipeEnd* end : {&writer, &saved}) close_pipe(*end);
}
