// The two imports behind input_wasm.cpp, linked with --js-library. The host hands
// the module a reader, Module.lineInput, of one of two kinds:
// - a line channel over a SharedArrayBuffer that another thread fills
//   (web/engine/line-channel.js), read with Atomics, waiting only when idle;
// - where shared memory is not to be had, the worker's own messages
//   (web/engine/message-input.js): the engine, built with Asyncify, unwinds to the
//   worker's event loop to wait for a line, and every few tens of milliseconds
//   from the search's input poll, so that the lines sent meanwhile arrive.
// Without a reader a program under Node reads descriptor 0 as any program does.
mergeInto(LibraryManager.library, {
#if ASYNCIFY
  // Once the engine has waited for input, main returns through Asyncify's
  // rewinding rather than to callMain: its status then ends the program here,
  // and the ExitStatus that the runtime throws to unwind is caught as callMain
  // would catch it.
  $exitWhenMainReturns__deps: ["$Asyncify"],
  $exitWhenMainReturns__postset: "addOnPostRun(exitWhenMainReturns);",
  $exitWhenMainReturns: function () {
    if (!Asyncify.currData) return;
    Asyncify.whenDone().then((status) => {
      try {
        exit(status);
      } catch (error) {
        if (!(error instanceof ExitStatus)) throw error;
      }
    });
  },

  // While rewinding (Asyncify.currData set), the import is called once more
  // and must go through handleSleep again to end the rewind.
  read_input_bytes__deps: ["$exitWhenMainReturns"],
#endif
  read_input_bytes: function (buffer, size) {
    const reader = Module["lineInput"];
#if ASYNCIFY
    if (reader && reader.wait && (Asyncify.currData || !reader.ready())) {
      return Asyncify.handleSleep((wake) => {
        reader.wait().then(() => wake(reader.read(HEAPU8.subarray(buffer, buffer + size))));
      });
    }
#endif
    const target = HEAPU8.subarray(buffer, buffer + size);
    if (reader) return reader.read(target);
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
  },

  input_bytes_ready: function () {
    const reader = Module["lineInput"];
    if (reader) {
#if ASYNCIFY
      if (reader.pause && (Asyncify.currData || reader.pauseDue())) {
        return Asyncify.handleSleep((wake) => {
          reader.pause().then(() => wake(reader.ready()));
        });
      }
#endif
      return reader.ready();
    }
    // Without a reader only a regular file can answer without a read.
    if (!ENVIRONMENT_IS_NODE) return 1;
    try {
      return require("fs").fstatSync(0).isFile();
    } catch (error) {
      return 1;
    }
  },
});
