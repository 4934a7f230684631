// The engine as a Web Worker, one UCI line per message each way:
//   const engine = new Worker("quillbrook-worker.js")
//   engine.onmessage = event => console.log(event.data)
//   engine.postMessage("uci")
// The worker's other messages are objects: {mode} first, naming how input reaches a
// searching engine, then {stderr: line} for each line of its standard error and
// {exit: status} at its end. A page may send {wasm: bytes or URL, files} before any
// line: files ({book: File, tables: [File]}) that the engine then finds, where they
// are on the person's disk, as /user/book/<name> and /user/tables/<name>.
//
// Where shared memory can be had (a cross-origin isolated page), the engine runs in a
// worker of this worker and reads a line channel that this one, never busy, fills as
// lines come: "shared-memory". Elsewhere the engine runs here and pauses its search
// every few tens of milliseconds to let the messages in: "yielding".
"use strict"
if (typeof Quillbrook !== "function") importScripts("line-channel.js", "message-input.js", "quillbrook.js")

function sharedMemoryWorks() {
  if (typeof SharedArrayBuffer !== "function" || typeof Atomics !== "object") return false
  try {
    // Only a cross-origin isolated page may pass shared memory to another thread.
    new MessageChannel().port1.postMessage(new SharedArrayBuffer(8))
    return true
  } catch {
    return false
  }
}

// Mounts the chosen files. WebAssembly cannot map a file into its memory: where the
// engine maps a table, the table is read into memory allocated as the engine's own
// mappings are, and freed with them; a book is read as the engine reads any file.
function mountFiles(module, {book, tables = []}) {
  const {FS} = module
  const WORKERFS = FS.filesystems.WORKERFS
  WORKERFS.stream_ops.mmap = (stream, address, length, position) => {
    const ptr = module._malloc(length)
    if (!ptr) throw new FS.ErrnoError(48)
    const bytes = new FileReaderSync().readAsArrayBuffer(stream.node.contents.slice(position, position + length))
    module.HEAPU8.set(new Uint8Array(bytes), ptr)
    return {ptr, allocated: true}
  }
  FS.mkdir("/user")
  for (const [folder, files] of [["book", book ? [book] : []], ["tables", tables]]) {
    FS.mkdir(`/user/${folder}`)
    FS.mount(WORKERFS, {files}, `/user/${folder}`)
  }
}

// Runs the engine on this thread, reading `lineInput` and posting what it prints.
// The protocol log has no place to go in a browser: its file is a link to /dev/null.
function runEngine({wasm, files}, lineInput) {
  Quillbrook({
    arguments: [],
    lineInput,
    wasmBinary: wasm instanceof ArrayBuffer || ArrayBuffer.isView(wasm) ? wasm : undefined,
    locateFile: typeof wasm === "string" ? () => wasm : undefined,
    print: line => postMessage(line),
    printErr: line => postMessage({stderr: line}),
    preRun: [
      module => {
        module.FS.symlink("/dev/null", `${module.FS.cwd()}/quillbrook_uci.log`)
        if (files) mountFiles(module, files)
      },
    ],
    onAbort: reason => postMessage({stderr: `the engine could not start: ${reason}`}),
    onExit: status => {
      postMessage({exit: status})
      close()
    },
  }).catch(() => {
    postMessage({exit: 1})
    close()
  })
}

// The worker that holds the engine when it reads a line channel.
function runChannelEngine(config) {
  runEngine(config, channelReader(config.channel))
}

// This worker: starts the engine in the mode that works here and passes each line
// on to it; returns what takes a line.
function startEngine(config) {
  const mode = config.mode ?? (sharedMemoryWorks() ? "shared-memory" : "yielding")
  postMessage({mode})
  if (mode === "yielding") {
    const input = createMessageInput(browserNextTask)
    runEngine(config, input)
    return line => input.push(`${line}\n`)
  }
  const channel = createLineChannel()
  const writer = channelWriter(channel)
  const engine = new Worker(self.location.href)
  engine.onmessage = event => {
    postMessage(event.data)
    if (event.data?.exit !== undefined) close()
  }
  engine.onerror = event => {
    event.preventDefault()
    postMessage({stderr: `the engine's worker failed: ${event.message}`})
    postMessage({exit: 1})
    close()
  }
  engine.postMessage({...config, channel})
  return line => writer.write(`${line}\n`)
}

onmessage = event => {
  const first = event.data
  const config = typeof first === "string" ? {} : first
  if (config.channel) {
    runChannelEngine(config)
    return
  }
  const deliver = startEngine(config)
  onmessage = next => {
    if (typeof next.data === "string") deliver(next.data)
  }
  if (typeof first === "string") deliver(first)
}
