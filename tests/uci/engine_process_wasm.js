// The Node.js half of engine_process_wasm.cpp, linked into the test program
// with --pre-js. The test program runs to its end without returning to Node's
// event loop, so everything here is synchronous: child processes are spawned
// with pipes whose descriptors are read and written directly, waits are
// naps, and a child's exit status is read from /proc, where the child stays a
// zombie until the loop (which never runs) would reap it.
"use strict";
const testChildProcess = require("child_process");
const testFs = require("fs");

// PipeEnd numbers index this list: { write(bytes), read(target), close() }.
const testPipes = [];

function testNap(ms) {
  Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, ms);
}

function testAddPipe(end) {
  testPipes.push(end);
  return testPipes.length - 1;
}

// A pipe to or from a child: its descriptor, non-blocking, used as it is.
function testSocketPipe(socket) {
  const fd = socket._handle.fd;
  return testAddPipe({
    write(bytes) {
      let done = 0;
      while (done < bytes.length) {
        try {
          done += testFs.writeSync(fd, bytes, done, bytes.length - done);
        } catch (error) {
          if (error.code !== "EAGAIN") break;  // the reader has gone
          testNap(1);
        }
      }
      return done;
    },
    read(target) {
      try {
        return testFs.readSync(fd, target, 0, target.length, null);
      } catch (error) {
        return error.code === "EAGAIN" ? -1 : 0;
      }
    },
    close() {
      socket.destroy();
    },
  });
}

// Starts words[0] with the other words as arguments in `dir`; standard input
// from a pipe or from the file `inputFile`, standard error shared with this
// process. Returns [pid, pipe to its input (-1 for a file), pipe from its output].
function testStartProcess(words, dir, inputFile) {
  const input = inputFile ? testFs.openSync(inputFile, "r") : "pipe";
  const child = testChildProcess.spawn(words[0], words.slice(1), { cwd: dir, stdio: [input, "pipe", "inherit"] });
  if (inputFile) testFs.closeSync(input);
  if (!child.pid) return [-1, -1, -1];
  child.unref();
  return [child.pid, inputFile ? -1 : testSocketPipe(child.stdin), testSocketPipe(child.stdout)];
}

// Bytes read into `target`; 0 at the end of output, -1 when none came in time.
function testReadPipe(pipe, target, timeoutMs) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const count = testPipes[pipe].read(target);
    if (count >= 0 || Date.now() >= deadline) return count;
    testNap(1);
  }
}

// The exit code once the process has ended; -1 when it was killed by a
// signal, -2 when it still runs after the time.
function testWaitExit(pid, timeoutMs) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    let fields;
    try {
      // Fields after the name in parentheses: the state first, the wait status 50th.
      fields = testFs.readFileSync(`/proc/${pid}/stat`, "latin1").replace(/^.*\) /s, "").split(" ");
    } catch {
      return -1;  // reaped by someone else: ended, status unknown
    }
    if (fields[0] === "Z") {
      const status = Number(fields[49]);
      return (status & 0x7f) === 0 ? (status >> 8) & 0xff : -1;
    }
    if (Date.now() >= deadline) return -2;
    testNap(2);
  }
}

// Replaces the engine's input, in this process, by a fresh line channel, fed
// with the file's bytes and closed when `inputFile` is named. Returns
// [pipe that restores the old input when closed, pipe that writes to the channel].
function testRedirectInput(inputFile) {
  const buffer = createLineChannel();
  const writer = channelWriter(buffer);
  const saved = Module["lineInput"];
  Module["lineInput"] = channelReader(buffer);
  if (inputFile) {
    writer.write(testFs.readFileSync(inputFile));
    writer.close();
  }
  const restore = testAddPipe({ close: () => (Module["lineInput"] = saved) });
  const write = testAddPipe({
    write(bytes) {
      writer.write(bytes);
      return bytes.length;
    },
    close: () => writer.close(),
  });
  return [restore, write];
}
