// The native engine as the tests' reference, spoken to as at a terminal: lines
// sent, then nothing more until the answer (a searching engine reads ahead, and
// would take a quit sent behind a go for a stop), and its lines read with the tests'
// own patterns rather than the client's reader, which they check.
import {spawn} from "node:child_process"
import {once} from "node:events"
import {createInterface} from "node:readline"

// The engine at `program`: send(line), until(prefix) -> the lines up to and with
// the first that starts with prefix, and quit().
export function nativeEngine(program) {
  const child = spawn(program, [], {stdio: ["pipe", "pipe", "inherit"]})
  const lines = createInterface({input: child.stdout})
  // Made on first use: an iterator keeps every line, which a client listening to
  // `lines` has no use for.
  let read
  return {
    child,
    lines,
    send: line => child.stdin.write(`${line}\n`),
    async until(prefix) {
      const seen = []
      for (;;) {
        read ??= lines[Symbol.asyncIterator]()
        const {value, done} = await read.next()
        if (done) throw new Error(`${program} ended before "${prefix}"`)
        seen.push(value)
        if (value.startsWith(prefix)) return seen
      }
    },
    async quit() {
      child.stdin.end("quit\n")
      if (child.exitCode === null) await once(child, "exit")
    },
  }
}

// The search's result from its lines: {best} (null for "0000", no legal move), with
// {score, pv, depth} from the last line that has a pv; score from the mover's side.
function searchResult(seen) {
  const best = seen.at(-1).split(" ")[1]
  const info = seen.filter(line => / pv /.test(line)).at(-1)
  if (!info) return {best: best === "0000" ? null : best}
  const [, unit, value] = / score (cp|mate) (-?\d+)/.exec(info)
  const [pv, depth] = [/ pv (.*)$/.exec(info)[1].split(" "), Number(/ depth (\d+)/.exec(info)[1])]
  return {score: {[unit]: Number(value)}, best, pv, depth}
}

// What the engine finds for each position of a game from the usual start (moves in
// coordinates), each searched at `nodes` from a cleared state, with `hash` MB of
// table: [{score, best, pv, depth}] with the score from White's side, or [{best: null}]
// where the side to move has no move.
export async function nativeEvaluations(program, moves, {nodes, hash}) {
  const engine = nativeEngine(program)
  engine.send("uci")
  engine.send(`setoption name Hash value ${hash}`)
  const found = []
  for (let ply = 0; ply <= moves.length; ply++) {
    engine.send("ucinewgame")
    engine.send("isready")
    await engine.until("readyok")
    engine.send(`position startpos${ply ? ` moves ${moves.slice(0, ply).join(" ")}` : ""}`)
    engine.send(`go nodes ${nodes}`)
    const result = searchResult(await engine.until("bestmove"))
    if (result.score && ply % 2) result.score = Object.fromEntries(Object.entries(result.score).map(([unit, value]) => [unit, -value]))
    found.push(result)
  }
  await engine.quit()
  return found
}

// The engine's bestmove after `lines` (options, a position and a go).
export async function nativeBestmove(program, lines) {
  const engine = nativeEngine(program)
  for (const line of lines) engine.send(line)
  const {best} = searchResult(await engine.until("bestmove"))
  await engine.quit()
  return best
}
