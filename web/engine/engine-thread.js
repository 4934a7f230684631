// The body of the worker_threads worker that runs the engine for index.js. Lines
// come through the line channel of workerData.input or, without one, as messages
// (strings, then {end: true}); output lines go back as strings, standard error as
// {stderr: line}. The engine sees the host's files under their own paths (each
// top-level directory mounted with NODEFS) and starts in the directory it was given.
"use strict"
const fs = require("node:fs")
const path = require("node:path")
const {workerData, parentPort} = require("node:worker_threads")
const {channelReader} = require("./line-channel.js")
const {createMessageInput} = require("./message-input.js")
const Quillbrook = require("./quillbrook.js")

function mountHostFiles(FS, cwd) {
  const NODEFS = FS.filesystems.NODEFS
  if (process.platform === "win32") {
    // Drive paths have no place in the engine's tree: the working directory does.
    FS.mkdir("/cwd")
    FS.mount(NODEFS, {root: cwd}, "/cwd")
    FS.chdir("/cwd")
    return
  }
  for (const name of fs.readdirSync("/")) {
    // The runtime's own devices stay: they carry the engine's output.
    if (name === "dev" || name === "proc") continue
    const at = `/${name}`
    try {
      if (!fs.statSync(at).isDirectory()) continue
    } catch {
      continue
    }
    if (!FS.analyzePath(at).exists) FS.mkdir(at)
    FS.mount(NODEFS, {root: at}, at)
  }
  FS.chdir(cwd)
}

function messageInput() {
  const input = createMessageInput(() => new Promise(resolve => setImmediate(resolve)))
  parentPort.on("message", message => (message?.end ? input.close() : input.push(message)))
  return input
}

Quillbrook({
  arguments: workerData.args,
  wasmBinary: fs.readFileSync(path.join(__dirname, "quillbrook.wasm")),
  lineInput: workerData.input ? channelReader(workerData.input) : messageInput(),
  print: line => parentPort.postMessage(line),
  printErr: line => parentPort.postMessage({stderr: line}),
  preRun: [module => mountHostFiles(module.FS, workerData.cwd)],
})
