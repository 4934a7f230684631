// The engines a review runs on: the package's WebAssembly engine in a worker thread,
// or a native Quillbrook program, each behind the same client. Every engine gets the
// Hash the page's review uses, so that both find the same evaluations.
import {spawn} from "node:child_process"
import {accessSync, constants, mkdirSync, symlinkSync} from "node:fs"
import {devNull, tmpdir, userInfo} from "node:os"
import path from "node:path"
import {createInterface} from "node:readline"
import {createEngine} from "quillbrook"
import {createEngineClient} from "quillbrook/client"
import {createEnginePool} from "quillbrook/review"

export const ENGINE_OPTIONS = {Hash: 16}

// A pool of `size` engines: the native program at `program`, or WebAssembly ones.
export function enginePool({size, program}) {
  if (program) {
    try {
      accessSync(program, constants.X_OK)
    } catch {
      throw new Error(`no engine program at ${program}`)
    }
  }
  const cwd = quietFolder()
  const start = program ? nativeStarter(program, cwd) : ({options}) => createEngine({options, cwd})
  return createEnginePool({size, start, options: ENGINE_OPTIONS})
}

// The engines' working folder, where the protocol log each engine appends to leads
// nowhere: a review of many games would otherwise fill the disk with it. One folder
// serves every run, so that a run killed leaves nothing behind.
function quietFolder() {
  const folder = path.join(tmpdir(), `quillbrook-review-${userInfo().uid}`)
  mkdirSync(folder, {recursive: true})
  try {
    symlinkSync(devNull, path.join(folder, "quillbrook_uci.log"))
  } catch (error) {
    if (error.code !== "EEXIST") throw error
  }
  return folder
}

// What starts the native program at `program` in folder `cwd` as an engine of a pool.
export function nativeStarter(program, cwd = process.cwd()) {
  return ({options}) => {
    const child = spawn(path.resolve(program), [], {cwd, stdio: ["pipe", "pipe", "ignore"]})
    const lines = createInterface({input: child.stdout})
    const exits = []
    let ended = false
    const end = status => {
      if (ended) return
      ended = true
      exits.forEach(listener => listener(status))
    }
    child.on("exit", (code, signal) => end(code ?? (signal ? 1 : 0)))
    child.on("error", () => end(1))
    // An engine that died mid-line is reported by its exit, not by a failed write.
    child.stdin.on("error", () => {})
    const transport = {
      send: line => child.stdin.write(`${line}\n`),
      onLine: listener => lines.on("line", listener),
      onExit: listener => exits.push(listener),
      terminate: () => child.kill(),
    }
    const engine = createEngineClient(transport, {options})
    return engine.ready.then(() => engine)
  }
}
