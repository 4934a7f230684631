// Quillbrook in a browser: createEngine() starts the WebAssembly engine in a Web
// Worker and resolves with its client once the engine is ready
// (core/engine-client.js). With no options the worker and the engine come inlined
// in this package (engine-inline.mjs, loaded on first use), so that a bundler has
// no file to find and the page may be served from anywhere or opened from disk.
import {createEngineClient} from "./core/engine-client.js"

export {fenProblem} from "./core/fen.js"
export {whiteScore} from "./core/uci.js"

function bytesOf(base64) {
  const text = atob(base64)
  const bytes = new Uint8Array(text.length)
  for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i)
  return bytes.buffer
}

// The worker, and the first message that tells it where its engine is.
async function startWorker({workerUrl, wasmUrl, wasmBinary, files}) {
  if (workerUrl) return {worker: new Worker(workerUrl), config: {wasm: wasmBinary ?? wasmUrl, files}}
  const {workerSource, wasmBase64} = await import("./engine-inline.mjs")
  const url = URL.createObjectURL(new Blob([workerSource], {type: "text/javascript"}))
  return {worker: new Worker(url), config: {wasm: wasmBinary ?? (wasmUrl || bytesOf(wasmBase64)), files}}
}

// How long a new engine may take to say that it runs, and then to be ready. Firefox
// has been seen, now and then, to leave a new worker silent for good with no error
// (a request for its script that a service worker intercepted, failed), and the same
// start made again works: an engine silent for so long is ended and started again,
// once.
const START_MS = 15000

// The worker as a transport; resolves once the worker has said which input mode it
// runs the engine in.
async function workerTransport(options) {
  const {worker, config} = await startWorker(options)
  const listeners = {line: [], exit: []}
  let exited = false
  const exit = status => {
    if (exited) return
    exited = true
    worker.terminate()
    for (const listener of listeners.exit) listener(status)
  }
  const mode = new Promise((resolve, reject) => {
    worker.onmessage = ({data}) => {
      if (typeof data === "string") for (const listener of listeners.line) listener(data)
      else if (data.mode) resolve(data.mode)
      else if (data.stderr !== undefined) options.onStderr?.(data.stderr)
      else if (data.exit !== undefined) exit(data.exit)
    }
    worker.onerror = event => {
      event.preventDefault()
      reject(new Error(`the engine's worker failed to start: ${event.message || "no reason given"}`))
      exit(1)
    }
  })
  worker.postMessage({...config, mode: options.input})
  return {
    mode: await withinStartTime(mode, () => exit(1)),
    send: line => worker.postMessage(line),
    onLine: listener => listeners.line.push(listener),
    onExit: listener => listeners.exit.push(listener),
    terminate: () => exit(1),
  }
}

// options: {workerUrl, wasmUrl, wasmBinary, input: "shared-memory" | "yielding",
// options: {Hash: 16, ...}, files: {book: File, tables: [File]}, log(direction,
// line), onStderr(line)}. The files are read where they are, never uploaded: the
// engine finds the book as /user/book/<name> and the tables in /user/tables. workerUrl names quillbrook-worker.js
// where it is served (with quillbrook.js, line-channel.js and message-input.js
// beside it); the engine's .wasm is then found beside it unless wasmUrl or
// wasmBinary says otherwise.
export async function createEngine(options = {}) {
  try {
    return await startEngine(options)
  } catch (error) {
    if (!error.silent) throw error
    return startEngine(options)
  }
}

async function startEngine(options) {
  const transport = await workerTransport(options)
  const engine = createEngineClient(transport, {options: options.options, log: options.log})
  await withinStartTime(engine.ready, () => transport.terminate())
  return engine
}

// `promise`, or a rejection marked silent, after end(), when it takes longer than START_MS.
async function withinStartTime(promise, end) {
  let timer
  const late = new Promise((resolve, reject) => {
    timer = setTimeout(() => {
      end()
      reject(Object.assign(new Error(`the engine said nothing for ${START_MS / 1000} s`), {silent: true}))
    }, START_MS)
  })
  try {
    return await Promise.race([promise, late])
  } finally {
    clearTimeout(timer)
  }
}
