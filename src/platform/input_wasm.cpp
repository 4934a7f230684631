// Standard input of the WebAssembly engine. The engine runs in a worker whose
// thread a search keeps busy, so its input cannot come as messages: the host
// hands the module a line channel (`Module.lineInput`, a reader over a
// SharedArrayBuffer that another thread fills; web/line-channel.js) and the
// engine reads it with Atomics, waiting only when idle. Without a channel a
// program under Node reads descriptor 0 as any program does.
#include <emscripten.h>

#include "platform/raw_input.h"

// clang-format off
EM_JS(int, read_input_bytes, (char* buffer, int size), {
    const channel = Module["lineInput"];
    const target = HEAPU8.subarray(buffer, buffer + size);
    if (channel) return channel.read(target);
    if (!ENVIRONMENT_IS_NODE) return 0;
    const fs = require("fs");
    for (;;) {
        try {
            return fs.readSync(0, target, 0, size, null);
        } catch (error) {
            // A descriptor that Node made non-blocking: wait a little, as a blocking read would.
            if (error.code !== "EAGAIN") return 0;
            Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, 1);
        }
    }
});

EM_JS(int, input_bytes_ready, (), {
    const channel = Module["lineInput"];
    if (channel) return channel.ready();
    // Without a channel only a regular file can answer without a read.
    if (!ENVIRONMENT_IS_NODE) return 1;
    try {
        return require("fs").fstatSync(0).isFile();
    } catch (error) {
        return 1;
    }
});
// clang-format on

long read_standard_input(char* buffer, long size) { return read_input_bytes(buffer, int(size)); }

bool standard_input_ready() { return input_bytes_ready() != 0; }
