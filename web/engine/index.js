// Quillbrook for Node.js programs: the WebAssembly engine in a worker thread.
//   startEngine()   the raw protocol: send a line, receive each line
//   createEngine()  a client that queues searches and reads their lines (node.mjs)
// By default the engine reads its input from a line channel in shared memory
// (line-channel.js), so that lines sent during a search reach it at once; with
// {input: "yielding"} it reads the thread's messages, pausing its search to let
// them in, as it does in a browser without shared memory.
"use strict"
const path = require("node:path")
const {EventEmitter} = require("node:events")
const {Worker} = require("node:worker_threads")
const {createLineChannel, channelWriter} = require("./line-channel.js")

function startEngine({args = [], cwd = process.cwd(), input = "shared-memory"} = {}) {
  if (input !== "shared-memory" && input !== "yielding") throw new Error(`input "${input}" is not shared-memory or yielding`)
  const channel = input === "yielding" ? null : createLineChannel()
  const worker = new Worker(path.join(__dirname, "engine-thread.js"), {
    workerData: {input: channel, args: args.map(String), cwd: path.resolve(cwd)},
  })
  const writer = channel
    ? channelWriter(channel)
    : {write: data => worker.postMessage(typeof data === "string" ? data : new Uint8Array(data)), close: () => worker.postMessage({end: true})}
  const engine = new EventEmitter()
  engine.mode = input
  worker.on("message", message => {
    if (typeof message === "string") engine.emit("line", message)
    else if (message.stderr !== undefined) engine.emit("stderr", message.stderr)
  })
  // A crash inside the engine shows as a line on its standard error and status 1.
  worker.on("error", error => engine.emit("stderr", String(error?.stack ?? error)))
  engine.exited = new Promise(resolve => {
    worker.on("exit", code => {
      engine.emit("exit", code)
      resolve(code)
    })
  })
  engine.send = line => writer.write(`${line}\n`)
  engine.write = data => writer.write(data)
  engine.end = () => writer.close()
  engine.terminate = () => worker.terminate().then(() => engine.exited)
  return engine
}

// The client of node.mjs, for CommonJS programs.
function createEngine(options) {
  return import("./node.mjs").then(module => module.createEngine(options))
}

module.exports = {startEngine, createEngine}
