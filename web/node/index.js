// Quillbrook for Node.js programs: the WebAssembly engine in a worker thread,
// spoken to in UCI one line at a time. The engine reads its input from a line
// channel (line-channel.js), so lines sent during a search reach it at once.
"use strict";
const path = require("node:path");
const { EventEmitter } = require("node:events");
const { Worker } = require("node:worker_threads");
const { createLineChannel, channelWriter } = require("./line-channel.js");

function startEngine({ args = [], cwd = process.cwd() } = {}) {
  const input = createLineChannel();
  const writer = channelWriter(input);
  const worker = new Worker(path.join(__dirname, "engine-thread.js"), {
    workerData: { input, args: args.map(String), cwd: path.resolve(cwd) },
  });
  const engine = new EventEmitter();
  worker.on("message", ([kind, line]) => engine.emit(kind, line));
  // A crash inside the engine shows as a line on its standard error and status 1.
  worker.on("error", (error) => engine.emit("stderr", String(error && error.stack ? error.stack : error)));
  engine.exited = new Promise((resolve) => {
    worker.on("exit", (code) => {
      engine.emit("exit", code);
      resolve(code);
    });
  });
  engine.send = (line) => writer.write(`${line}\n`);
  engine.write = (data) => writer.write(data);
  engine.end = () => writer.close();
  engine.terminate = () => worker.terminate().then(() => engine.exited);
  return engine;
}

module.exports = { startEngine };
