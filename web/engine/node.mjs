// Quillbrook for Node.js programs as an ES module: createEngine() starts the
// WebAssembly engine in a worker thread and resolves with its client once the
// engine is ready (core/engine-client.js); startEngine() gives the raw protocol.
import {createRequire} from "node:module"
import {createEngineClient} from "./core/engine-client.js"

const {startEngine} = createRequire(import.meta.url)("./index.js")

// options: {input: "shared-memory" | "yielding", cwd, options: {Hash: 64, ...},
// log(direction, line)}.
export async function createEngine({input, cwd, options, log} = {}) {
  const process = startEngine({input, cwd})
  const transport = {
    mode: process.mode,
    send: process.send,
    onLine: listener => process.on("line", listener),
    onExit: listener => process.on("exit", listener),
    terminate: () => process.terminate(),
  }
  const engine = createEngineClient(transport, {options, log})
  await engine.ready
  return engine
}

export {startEngine}
export {fenProblem} from "./core/fen.js"
export {whiteScore} from "./core/uci.js"
