// The command as a chess GUI meets it: started as a child process behind real
// pipes, `node gui-session.js COMMAND...` (`npx quillbrook` in an installation).
// During a search, isready is answered within 100 ms (the median of five) and a
// stop sent after 300 ms gives bestmove within 150 ms; quit, or the end of input,
// ends the process with status 0; a Hash the memory cannot hold leaves it playing.
// (QUILLBROOK_INPUT=yielding in the environment runs `npx quillbrook` as a browser
// without shared memory does, `node --wasm-max-mem-pages=8192` gives it 512 MB.)
import test from "node:test"
import assert from "node:assert/strict"
import {spawn} from "node:child_process"
import readline from "node:readline"

const command = process.argv.slice(2)
if (command.length === 0) throw new Error("usage: node gui-session.js COMMAND...")

function startEngine() {
  const child = spawn(command[0], command.slice(1), {stdio: ["pipe", "pipe", "inherit"]})
  const lines = []
  let wake = () => {}
  readline.createInterface({input: child.stdout}).on("line", (line) => {
    lines.push(line)
    wake()
  })
  const exited = new Promise((resolve) => child.on("exit", (code) => resolve(code)))
  return {
    send: (line) => child.stdin.write(`${line}\n`),
    end: () => child.stdin.end(),
    exited,
    // Milliseconds until the next line that starts with `prefix`, which
    // must come within `limit` ms; the lines before it are passed over.
    async next(prefix, limit = 10000) {
      const start = Date.now()
      const timer = setTimeout(() => wake(), limit)
      try {
        for (;;) {
          const line = lines.shift()
          const elapsed = Date.now() - start
          if (line !== undefined && !line.startsWith(prefix)) continue
          assert.ok(elapsed < limit, `no "${prefix}" within ${limit} ms`)
          if (line !== undefined) return elapsed
          await new Promise((resolve) => (wake = resolve))
        }
      } finally {
        clearTimeout(timer)
      }
    },
  }
}

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms))

test("isready and stop during go infinite, then quit", async (t) => {
  const engine = startEngine()
  engine.send("uci")
  await engine.next("uciok")
  engine.send("go infinite")
  const started = Date.now()
  await engine.next("info depth ")  // info lines come while the search runs
  // Five times, and the median must be under 100 ms: on a busy machine one answer
  // in five may wait for a core.
  const ready = []
  for (let round = 0; round < 5; round++) {
    engine.send("isready")
    ready.push(await engine.next("readyok", 1000))
  }
  const median = [...ready].sort((a, b) => a - b)[2]
  assert.ok(median < 100, `readyok came a median ${median} ms after isready`)
  await pause(300 - (Date.now() - started))
  engine.send("stop")
  const stopped = await engine.next("bestmove ", 150)
  t.diagnostic(`readyok ${ready.join(", ")} ms after isready, bestmove ${stopped} ms after stop`)
  engine.send("quit")
  assert.equal(await engine.exited, 0)
})

test("the end of input ends a search and the process", async () => {
  const engine = startEngine()
  engine.send("go infinite")
  await engine.next("info depth ")
  engine.end()
  await engine.next("bestmove ")
  assert.equal(await engine.exited, 0)
})

test("a Hash larger than the memory there is leaves the engine playing", async () => {
  const engine = startEngine()
  engine.send("setoption name Hash value 2048")
  engine.send("isready")
  await engine.next("readyok")
  engine.send("go depth 6")
  await engine.next("bestmove ")
  engine.send("quit")
  assert.equal(await engine.exited, 0)
})
