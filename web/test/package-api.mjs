// The npm package as a Node.js program uses it, run from a directory where it is
// installed: `node package-api.mjs NATIVE_ENGINE`. Both its entries (import
// and require) in both input modes; a search at a fixed node count gives the native
// engine's move and score; searches queue; a bad FEN is refused and the engine
// goes on; the review module reviews a game on a pool of the package's engines.
import {test} from "node:test"
import assert from "node:assert/strict"
import {spawn} from "node:child_process"
import {createInterface} from "node:readline"
import {createRequire} from "node:module"
import {createEngine} from "quillbrook"
import {createEnginePool, reviewGame} from "quillbrook/review"

const native = process.argv[2]
if (!native) throw new Error("usage: node package-api.mjs NATIVE_ENGINE")
const require = createRequire(import.meta.url)
const FEN = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"
const NODES = 20000

// The native engine's last info line and bestmove for `go nodes` from FEN. Its
// input is held back until bestmove: a searching engine reads ahead, and would
// take a quit waiting behind the go for a stop.
function nativeSearch() {
  const engine = spawn(native, {stdio: ["pipe", "pipe", "inherit"]})
  engine.stdin.write(`position fen ${FEN}\ngo nodes ${NODES}\n`)
  let info
  return new Promise(resolve => {
    createInterface({input: engine.stdout}).on("line", line => {
      if (line.startsWith("info depth")) info = line
      if (!line.startsWith("bestmove")) return
      engine.stdin.end("quit\n")
      resolve({bestmove: line.split(" ")[1], score: / score (\S+ -?\d+) /.exec(info)[1]})
    })
  })
}

const expected = await nativeSearch()
const scoreText = score => ("cp" in score ? `cp ${score.cp}` : `mate ${score.mate}`)

for (const input of ["shared-memory", "yielding"]) {
  test(`${input}: import and require, a fixed-node search as the native engine's`, async () => {
    const viaRequire = await require("quillbrook").createEngine({input})
    const viaImport = await createEngine({input, options: {Hash: 16}})
    assert.equal(viaImport.mode, input)
    for (const engine of [viaRequire, viaImport]) {
      assert.match(engine.name, /^Quillbrook v\d+/)
      const result = await engine.analyse({fen: FEN, nodes: NODES})
      assert.deepEqual({bestmove: result.bestmove, score: scoreText(result.lines[0].score)}, expected)
      assert.equal(await engine.quit(), 0)
    }
  })

  test(`${input}: searches queue, a bad FEN is refused, stop ends an infinite search`, async () => {
    const engine = await createEngine({input})
    const ended = []
    const infos = []
    const first = engine.analyse({infinite: true}, info => infos.push(info)).then(result => (ended.push("first"), result))
    await new Promise(resolve => setTimeout(resolve, 300))
    const second = engine.analyse({fen: FEN, moves: ["f1c4"], depth: 6, multipv: 2}).then(result => (ended.push("second"), result))
    const [infinite, multipv] = await Promise.all([first, second])
    assert.deepEqual(ended, ["first", "second"])
    assert.ok(infos.length > 0 && infinite.bestmove && infinite.lines[0].pv[0] === infinite.bestmove)
    assert.deepEqual(multipv.lines.map(line => [line.multipv, line.depth]), [[1, 6], [2, 6]])

    await assert.rejects(engine.analyse({fen: "8/8/8/8/8/8/8/8 w - - 0 1", depth: 1}), /each side needs exactly one king/)
    const searching = engine.analyse({fen: FEN, infinite: true})
    await new Promise(resolve => setTimeout(resolve, 200))
    const stopped = Date.now()
    engine.stop()
    const result = await searching
    assert.ok(Date.now() - stopped < 150, `bestmove came ${Date.now() - stopped} ms after stop`)
    assert.match(result.bestmove, /^[a-h][1-8][a-h][1-8]$/)
    assert.equal(await engine.quit(), 0)
  })
}

test("quillbrook/review: the fool's mate reviewed on two engines, the blunder named with the engine's move", async () => {
  const pool = createEnginePool({size: 2, start: createEngine, options: {Hash: 16}})
  const review = await reviewGame(pool, {moves: ["f2f3", "e7e5", "g2g4", "d8h4"]}, {nodes: 5000})
  await pool.close()
  assert.equal(review.positions.at(-1).end, "checkmate")
  const marked = review.moves.filter(move => move.verdict === "Blunder")
  assert.deepEqual(marked.map(({ply, move}) => [ply, move]), [[3, "g2g4"]])
  assert.ok(review.accuracy.b > review.accuracy.w)
})
