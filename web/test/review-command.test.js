// The quillbrook-review command of the built package, run as a user runs it: its
// outputs against files kept under data/review/ and against the native engine's own
// searches, its bad input, a run killed and resumed, and reviews through a Redis
// queue with a worker killed mid-game. Its parts: games read from a stream cut
// anywhere, results handed on in order, the journal.
import {test} from "node:test"
import assert from "node:assert/strict"
import {spawn, spawnSync} from "node:child_process"
import {once} from "node:events"
import {existsSync, mkdtempSync, readFileSync, writeFileSync} from "node:fs"
import {createServer} from "node:net"
import {tmpdir} from "node:os"
import path from "node:path"
import {Readable} from "node:stream"
import {pathToFileURL} from "node:url"
import {splitGames} from "../core/chess/pgn.js"
import {nativeEvaluations} from "./native.js"

const {QUILLBROOK_NPM: npm} = process.env
// Absolute, since the command runs in folders of its own.
const native = process.env.QUILLBROOK_NATIVE && path.resolve(process.env.QUILLBROOK_NATIVE)
const skip = !npm || !native ? "set QUILLBROOK_NPM (the built npm package, with npm-review/ beside it) and QUILLBROOK_NATIVE (the native engine)" : false
const reviewPackage = npm && path.resolve(npm, "..", "npm-review")
const command = reviewPackage && path.join(reviewPackage, "bin", "quillbrook-review.js")
const lib = name => import(pathToFileURL(path.join(reviewPackage, "lib", name)))

// What the expected outputs were made with; the package's review uses Hash 16.
const NODES = 10000
const data = name => new URL(`data/review/${name}`, import.meta.url).pathname
const expected = name => readFileSync(data(name), "utf8")
const folder = () => mkdtempSync(path.join(tmpdir(), "review-test-"))

// Runs the command; resolves with {status, signal, stderr} once it ends. `whileRunning`
// (given the child) may kill it.
async function review(args, {cwd, whileRunning} = {}) {
  const child = spawn(process.execPath, [command, ...args.map(String)], {cwd, stdio: ["ignore", "ignore", "pipe"]})
  let stderr = ""
  child.stderr.on("data", chunk => (stderr += chunk))
  const ended = once(child, "exit")
  await whileRunning?.(child)
  const [status, signal] = await ended
  return {status, signal, stderr}
}

// Resolves once `check()` is true, looking every 20 ms, or once `child` has ended.
async function until(check, child) {
  while (!check() && child.exitCode === null && child.signalCode === null) await new Promise(resolve => setTimeout(resolve, 20))
}

// The last game the journal at `file` says is written, 0 when none.
function committed(file) {
  if (!existsSync(file)) return 0
  const commits = readFileSync(file, "utf8").split("\n").filter(line => line.startsWith('{"commit"'))
  return commits.length ? JSON.parse(commits.at(-1)).commit : 0
}

test("games read from a stream cut anywhere are the games of the whole text", {skip}, async () => {
  const {readGames} = await lib("games.js")
  const text = readFileSync(data("games.pgn"), "utf8") + readFileSync(data("bad.pgn"), "utf8")
  const whole = splitGames(text).map(({text: body, line, firstLine}) => ({text: body, line, firstLine}))
  for (const size of [1, 7, 100, text.length]) {
    const chunks = Array.from({length: Math.ceil(text.length / size)}, (_, i) => text.slice(i * size, (i + 1) * size))
    const inputs = [{name: "a", stream: () => Readable.from(chunks)}, {name: "b", stream: () => Readable.from(chunks)}]
    const games = []
    for await (const game of readGames(inputs)) games.push(game)
    assert.deepEqual(games.map(game => game.number), Array.from({length: 2 * whole.length}, (_, i) => i + 1), `chunks of ${size}`)
    assert.deepEqual(games.map(({text: body, line, firstLine}) => ({text: body, line, firstLine})), [...whole, ...whole], `chunks of ${size}`)
    assert.deepEqual([games[0].input, games.at(-1).input], ["a", "b"])
  }
})

test("work finished in any order is handed on in order, with no more than the window ahead", {skip}, async () => {
  const {inOrder} = await lib("order.js")
  const delays = [40, 5, 30, 0, 10, 20, 0, 15]
  let running = 0
  let most = 0
  const handed = []
  async function* items() {
    yield* delays.keys()
  }
  await inOrder(items(), {
    ahead: 3,
    async work(i) {
      most = Math.max(most, ++running)
      await new Promise(resolve => setTimeout(resolve, delays[i]))
      running--
      if (i === 4) throw new Error("four failed")
      return i * 10
    },
    deliver: (i, {value, error}) => handed.push(error ? error.message : value),
  })
  assert.deepEqual(handed, [0, 10, 20, 30, "four failed", 50, 60, 70])
  assert.equal(most, 3)
})

test("the journal: what a stopped run saved comes back, a line cut short is left out, other settings are refused", {skip}, async () => {
  const {openJournal} = await lib("journal.js")
  const file = path.join(folder(), "out.pgn.journal")
  const settings = {nodes: 5}
  const first = await openJournal(file, settings)
  assert.deepEqual([first.commit.commit, first.reviewed.size], [0, 0])
  first.record(2, "h2", [{best: null}])
  first.record(1, "h1", [{best: "e2e4"}])
  first.commitTo({commit: 1, skipped: 0, chain: "c1", sizes: {pgn: 10}})
  first.record(3, "h3", [{best: "d2d4"}])
  writeFileSync(file, `${readFileSync(file, "utf8")}{"game": 4, "ha`)

  const again = await openJournal(file, settings)
  assert.deepEqual(again.commit, {commit: 1, skipped: 0, chain: "c1", sizes: {pgn: 10}})
  assert.deepEqual([...again.reviewed], [[2, {hash: "h2", evaluations: [{best: null}]}], [3, {hash: "h3", evaluations: [{best: "d2d4"}]}]])
  await assert.rejects(openJournal(file, {nodes: 6}), /journal of a run with other settings/)
  again.remove()
  assert.equal(existsSync(file), false)
})

test("one machine: the expected outputs in input order, every position as the native engine finds it, with either engine", {skip}, async () => {
  const cwd = folder()
  const runs = [["wasm", 2], ["wasm", 1], ["native", 2]]
  for (const [engine, workers] of runs) {
    const args = [data("games.pgn"), "--nodes", NODES, "--workers", workers, "--pgn", `${engine}${workers}.pgn`, "--jsonl", `${engine}${workers}.jsonl`]
    const {status, stderr} = await review(engine === "native" ? [...args, "--engine", native] : args, {cwd})
    assert.equal(status, 0, stderr)
    assert.equal(readFileSync(path.join(cwd, `${engine}${workers}.pgn`), "utf8"), expected("games.out.pgn"), `${engine} on ${workers}`)
    assert.equal(readFileSync(path.join(cwd, `${engine}${workers}.jsonl`), "utf8"), expected("games.out.jsonl"), `${engine} on ${workers}`)
    assert.equal(existsSync(path.join(cwd, `${engine}${workers}.pgn.journal`)), false)
  }

  // The evaluations database's lines are the native engine's searches of each position
  // of the games from the usual start (all but the last game), from a cleared state.
  const {readGame} = await import("../core/chess/pgn.js")
  const {mainLinePositions} = await import("../core/chess/tree.js")
  const lines = []
  for (const {text} of splitGames(expected("games.pgn")).slice(0, -1)) {
    const moves = mainLinePositions(readGame(text).tree).slice(1).map(position => position.move.uci)
    for (const found of await nativeEvaluations(native, moves, {nodes: NODES, hash: 16})) {
      if (found.best) lines.push({depth: found.depth, pvs: [{...found.score, line: found.pv.join(" ")}]})
    }
  }
  const written = expected("games.out.jsonl").trim().split("\n").map(line => JSON.parse(line).evals[0])
  assert.ok(lines.length >= 80)
  assert.deepEqual(written.slice(0, lines.length).map(({depth, pvs}) => ({depth, pvs})), lines)
  assert.ok(written.every(({knodes}) => knodes === NODES / 1000))
})

test("bad input: the good games reviewed, the bad ones named with their first line, status 2; a missing file or queue, status 1", {skip}, async () => {
  const cwd = folder()
  const {status, stderr} = await review([data("bad.pgn"), "--nodes", NODES, "--engine", native, "--pgn", "out.pgn"], {cwd})
  assert.equal(status, 2, stderr)
  assert.equal(readFileSync(path.join(cwd, "out.pgn"), "utf8"), expected("bad.out.pgn"))
  const reported = stderr.split("\n").filter(line => line.startsWith("game "))
  assert.deepEqual(reported, [
    `game 2 skipped (${data("bad.pgn")}, line 6: [Event "Illegal move"]): illegal move 3. Ke3`,
    `game 3 skipped (${data("bad.pgn")}, line 11: [Event "Broken tag]): unexpected "[" at line 12, column 1`,
    `game 4 skipped (${data("bad.pgn")}, line 16: [Event "Empty"]): no moves`,
    `game 5 skipped (${data("bad.pgn")}, line 21: [Event "Broken FEN"]): Invalid FEN "8/8/8/8/8/8/8/8 w - - 0 1": each side needs exactly one king`,
  ])

  const port = await freePort()
  const failures = [
    [["missing.pgn", "--pgn", "x.pgn"], "quillbrook-review: no such file: missing.pgn"],
    [[data("bad.pgn"), "--queue", `redis://127.0.0.1:${port}`, "--pgn", "x.pgn"], `quillbrook-review: cannot reach the queue at redis://127.0.0.1:${port}: connect ECONNREFUSED 127.0.0.1:${port}`],
    [[data("bad.pgn"), "--engine", "no-such-engine", "--pgn", "x.pgn"], "quillbrook-review: no engine program at no-such-engine"],
  ]
  for (const [args, line] of failures) assert.deepEqual(await review(args, {cwd}), {status: 1, signal: null, stderr: `${line}\n`})
  assert.equal(existsSync(path.join(cwd, "x.pgn")), false)
})

// Twelve games, the same four three times over: long enough to be stopped halfway.
function twelveGames(cwd) {
  writeFileSync(path.join(cwd, "twelve.pgn"), Array(3).fill(expected("games.pgn")).join("\n"))
  return {pgn: expected("games.out.pgn").repeat(3), jsonl: expected("games.out.jsonl").repeat(3)}
}

test("resume: a run killed with SIGKILL halfway, then again before its first game, and run again ends with the outputs of a run never stopped", {skip}, async () => {
  const cwd = folder()
  const whole = twelveGames(cwd)
  const args = ["twelve.pgn", "--nodes", NODES, "--workers", 2, "--pgn", "out.pgn", "--jsonl", "out.jsonl"]
  const journal = path.join(cwd, "out.pgn.journal")
  const killAt = games => async child => {
    await until(() => committed(journal) >= games, child)
    child.kill("SIGKILL")
  }
  assert.equal((await review(args, {cwd, whileRunning: killAt(6)})).signal, "SIGKILL")
  const halfway = committed(journal)
  assert.ok(halfway >= 6 && halfway < 12, `killed after game ${halfway}`)
  // Killed again as soon as it says where it goes on from.
  const resumed = await review(args, {
    cwd,
    async whileRunning(child) {
      await once(child.stderr, "data")
      child.kill("SIGKILL")
    },
  })
  assert.equal(resumed.signal, "SIGKILL")
  assert.match(resumed.stderr, new RegExp(`^resuming after game ${halfway}\n`))

  const last = await review(args, {cwd})
  assert.equal(last.status, 0, last.stderr)
  assert.equal(readFileSync(path.join(cwd, "out.pgn"), "utf8"), whole.pgn)
  assert.equal(readFileSync(path.join(cwd, "out.jsonl"), "utf8"), whole.jsonl)
  assert.equal(existsSync(journal), false)
})

// A port nothing listens on now.
async function freePort() {
  const server = createServer().listen(0, "127.0.0.1")
  await once(server, "listening")
  const {port} = server.address()
  server.close()
  await once(server, "close")
  return port
}

const redis = spawnSync("redis-server", ["--version"]).status === 0
test("through a Redis queue: two workers, one killed with SIGKILL mid-game, every game once, the outputs of one machine", {skip: skip || (!redis && "no redis-server")}, async () => {
  const cwd = folder()
  const whole = twelveGames(cwd)
  const port = await freePort()
  const url = `redis://127.0.0.1:${port}`
  const server = spawn("redis-server", ["--port", port, "--bind", "127.0.0.1", "--save", "", "--appendonly", "no"], {cwd, stdio: "ignore"})
  const workers = []
  try {
    await until(() => spawnSync("redis-cli", ["-p", port, "ping"]).stdout?.toString().trim() === "PONG", server)
    const worker = engine => {
      const args = [command, "worker", "--queue", url, "--workers", 1, "--lock-ms", 1000, ...(engine ? ["--engine", engine] : [])]
      const child = spawn(process.execPath, args.map(String), {cwd, stdio: "ignore"})
      workers.push(child)
      return child
    }
    const doomed = worker(native)
    worker()
    const journal = path.join(cwd, "out.pgn.journal")
    const args = ["twelve.pgn", "--nodes", NODES, "--queue", url, "--pgn", "out.pgn", "--jsonl", "out.jsonl"]
    // The coordinator is killed too, and run again: it finds its jobs in the queue.
    const first = await review(args, {
      cwd,
      async whileRunning(child) {
        // Killed while both workers hold a game.
        const held = () => spawnSync("redis-cli", ["-p", port, "llen", "bull:quillbrook-review:active"]).stdout.toString().trim()
        await until(() => committed(journal) >= 3 && held() === "2", child)
        doomed.kill("SIGKILL")
        await until(() => committed(journal) >= 6, child)
        child.kill("SIGKILL")
      },
    })
    assert.equal(first.signal, "SIGKILL")
    const last = await review(args, {cwd})
    assert.equal(last.status, 0, last.stderr)
    assert.equal(readFileSync(path.join(cwd, "out.pgn"), "utf8"), whole.pgn)
    assert.equal(readFileSync(path.join(cwd, "out.jsonl"), "utf8"), whole.jsonl)
    // Every job's answer was taken and its job removed.
    const keys = spawnSync("redis-cli", ["-p", port, "keys", "bull:quillbrook-review:1*"]).stdout.toString().trim()
    assert.equal(keys, "")
  } finally {
    for (const child of workers) child.kill("SIGKILL")
    server.kill()
    await once(server, "exit")
  }
})
