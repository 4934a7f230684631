// The game review: its arithmetic from tables, the analysis against scripted engines,
// and, given built engines, a real review checked against the native engine.
import {test} from "node:test"
import assert from "node:assert/strict"
import path from "node:path"
import {pathToFileURL} from "node:url"
import {createEnginePool} from "../core/engine-pool.js"
import {parseBestmove, parseInfo} from "../core/uci.js"
import {inCheckAfter, sideToMove} from "../core/review/position.js"
import {nativeEvaluations} from "./native.js"
import {moveAccuracy, nextMistake, positionChances, reviewGame, judgeGame, sideAccuracy, verdict, winningChances} from "../core/review/index.js"

// Numbers to four places, so that expected values can be written out.
const rounded = value => JSON.parse(JSON.stringify(value, (key, v) => (typeof v === "number" ? Number(v.toFixed(4)) : v)))
const settle = () => new Promise(resolve => setTimeout(resolve, 0))

test("winning chances, marks, accuracy, next mistake", () => {
  // The logistic curve is tanh of half its exponent: a second way to the same numbers.
  for (const cp of [0, 1, -35, 100, -300, 1000, 5000]) assert.ok(Math.abs(winningChances({cp}) - Math.tanh(0.00184104 * cp)) < 1e-12, `cp ${cp}`)
  assert.deepEqual([{cp: 100}, {mate: 1}, {mate: 40}, {mate: -1}].map(score => rounded(winningChances(score))), [0.1821, 1, 1, -1])
  const ends = [["checkmate", "w"], ["checkmate", "b"], ["stalemate", "w"], ["stalemate", "b"]]
  assert.deepEqual(ends.map(([end, side]) => positionChances({end, score: null}, side)), [-1, 1, 0, 0])

  // drop in the mover's winning chances: the mark, the move's accuracy
  const rows = [
    [-0.4, null, 100], [0, null, 100], [0.001, null, 99.7756], [0.0999, null, 79.8351], [0.1, "Inaccuracy", 79.817],
    [0.1999, "Inaccuracy", 63.5972], [0.2, "Mistake", 63.5826], [0.2999, "Mistake", 50.5359], [0.3, "Blunder", 50.5242],
    [1.4, "Blunder", 1.7297], [2, "Blunder", 0],
  ]
  for (const [drop, mark, accuracy] of rows) assert.deepEqual([verdict(drop), rounded(moveAccuracy(drop))], [mark, accuracy], `drop ${drop}`)

  const moves = [
    [1, "w", 0, null], [2, "b", 0.2, "Mistake"], [3, "w", 0.5, "Blunder"], [4, "b", -0.1, null], [5, "w", 0, null], [6, "b", 0.1, "Inaccuracy"],
  ].map(([ply, side, drop, mark]) => ({ply, side, drop, verdict: mark}))
  assert.deepEqual(rounded([sideAccuracy(moves, "w"), sideAccuracy(moves, "b"), sideAccuracy([], "w")]), [77.1905, 81.1332, null])
  // side, from ply, the ply of that side's next marked move
  const next = [["w", 0, 3], ["w", 3, null], ["b", 0, 2], ["b", 2, 6], ["b", 5, 6], ["b", 6, null]]
  for (const [side, from, ply] of next) assert.equal(nextMistake(moves, side, from)?.ply ?? null, ply, `${side} from ${from}`)
})

test("whose move it is, and check at the end of a game", () => {
  assert.deepEqual([0, 1, 2, 7].map(plies => sideToMove(undefined, plies)), ["w", "b", "w", "b"])
  assert.deepEqual([0, 1].map(plies => sideToMove("4k3/8/8/8/8/8/4P3/4K3 b - - 0 1", plies)), ["b", "w"])
  // first position (undefined: the usual start), moves, whether the side to move is then in check
  const rows = [
    [undefined, "f2f3 e7e5 g2g4 d8h4", true],
    [undefined, "f2f3 e7e5 g2g4 d8e7", false],
    [undefined, "e2e3 a7a5 d1h5 a8a6 h5a5 h7h5 h2h4 a6h6 a5c7 f7f6 c7d7 e8f7 d7b7 d8d3 b7b8 d3h7 b8c8 f7g6 c8e6", false],
    ["5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", true],
    ["3k4/8/8/8/8/8/8/R3K3 w Q - 0 1", "e1c1", true],
    ["8/8/8/k2pP2R/8/8/8/7K w - d6 0 1", "e5d6", true],
    ["8/8/8/8/r2Pp2K/8/8/7k b - d3 0 1", "e4d3", true],
    ["8/8/8/8/r2Pp2K/8/8/7k b - d3 0 1", "e4e3", false],
    ["k7/4P3/8/8/8/8/8/7K w - - 0 1", "e7e8q", true],
    ["k7/4P3/8/8/8/8/8/7K w - - 0 1", "e7e8n", false],
    ["7k/8/8/8/8/8/3p4/K7 b - - 0 1", "d2d1r", true],
  ]
  for (const [fen, moves, check] of rows) assert.equal(inCheckAfter(fen, moves.split(" ")), check, `${fen ?? "startpos"} ${moves}`)
})

// Fool's mate, with what a scripted engine prints for each position (scores from the
// side to move), and the review that must come of it.
const FOOLS = {fen: "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", moves: ["f2f3", "e7e5", "g2g4", "d8h4"]}
const FOOLS_ENGINE = [
  "info depth 9 score cp 30 pv e2e4 e7e5 | bestmove e2e4",
  "info depth 9 score cp 40 pv e7e5 | bestmove e7e5",
  // This search disagrees with the last: Black's best move seems to drop 0.43, and is not marked.
  "info depth 9 score cp 200 pv d2d4 | bestmove d2d4",
  "info depth 9 score mate 1 pv d8h4 | bestmove d8h4",
  "bestmove 0000",
]
const FOOLS_REVIEW = {
  nodes: 300000,
  positions: [
    {score: {cp: 30}, best: "e2e4", pv: ["e2e4", "e7e5"], depth: 9, side: "w", chances: 0.0552},
    {score: {cp: -40}, best: "e7e5", pv: ["e7e5"], depth: 9, side: "b", chances: -0.0735},
    {score: {cp: 200}, best: "d2d4", pv: ["d2d4"], depth: 9, side: "w", chances: 0.3524},
    {score: {mate: -1}, best: "d8h4", pv: ["d8h4"], depth: 9, side: "b", chances: -1},
    {end: "checkmate", score: null, best: null, pv: [], depth: 0, side: "w", chances: -1},
  ],
  moves: [
    {ply: 1, move: "f2f3", side: "w", drop: 0.1287, verdict: "Inaccuracy", better: "e2e4"},
    {ply: 2, move: "e7e5", side: "b", drop: 0.4259, verdict: null},
    {ply: 3, move: "g2g4", side: "w", drop: 1.3524, verdict: "Blunder", better: "d2d4"},
    {ply: 4, move: "d8h4", side: "b", drop: 0, verdict: null},
  ],
  accuracy: {w: 38.5288, b: 68.8249},
}

test("a review from scripted engines: each position searched once, from a cleared state, then judged", async () => {
  const searches = []
  const progress = []
  const tableEngine = () => {
    let cleared = false
    return {
      newGame: async () => (cleared = true),
      async analyse({fen, moves, nodes}) {
        searches.push(`${fen} moves ${moves.join(" ")} nodes ${nodes}${cleared ? "" : " not cleared"}`)
        cleared = false
        const lines = FOOLS_ENGINE[moves.length].split(" | ")
        return {...parseBestmove(lines.pop()), lines: lines.map(parseInfo)}
      },
      on() {},
      quit: async () => 0,
    }
  }
  const pool = createEnginePool({size: 2, start: async () => tableEngine()})
  const review = await reviewGame(pool, FOOLS, {onProgress: ({done, total, ply}) => progress.push(`${done}/${total} ${ply}`)})
  assert.deepEqual(rounded(review), FOOLS_REVIEW)
  const {nodes, ...judged} = FOOLS_REVIEW
  assert.deepEqual(rounded(judgeGame(FOOLS, review.positions)), judged)
  assert.deepEqual(searches.sort(), FOOLS_ENGINE.map((line, ply) => `${FOOLS.fen} moves ${FOOLS.moves.slice(0, ply).join(" ")} nodes 300000`).sort())
  assert.deepEqual(progress.map(step => step.split(" ")[0]), ["1/5", "2/5", "3/5", "4/5", "5/5"])
  assert.deepEqual(progress.map(step => step.split(" ")[1]).sort(), ["0", "1", "2", "3", "4"])
  await pool.close()
})

test("a position drawn by rule (a repetition): scored 0.00, with no better move for the move made from it", async () => {
  // The knights go out and back; the engine answers the repeated position at once, with
  // no score and a move that is no advice; then White plays badly from it.
  const game = {moves: ["g1f3", "g8f6", "f3g1", "f6g8", "d2d4", "e7e5", "d1d3", "f8b4"]}
  const answers = ["info depth 9 score cp 500 pv e2e4 | bestmove e2e4", ...Array(3).fill("info depth 9 score cp 0 pv a2a3 | bestmove a2a3"),
    "bestmove a2a3", "info depth 9 score cp 400 pv e7e5 | bestmove e7e5", "info depth 9 score cp 0 pv c1g5 | bestmove c1g5",
    "info depth 9 score cp 900 pv f8b4 | bestmove f8b4", "info depth 9 score cp -900 pv a2a3 | bestmove a2a3"]
  const engine = {
    newGame: async () => {},
    async analyse({moves}) {
      const lines = answers[moves.length].split(" | ")
      return {...parseBestmove(lines.pop()), lines: lines.map(parseInfo)}
    },
    on() {},
    quit: async () => 0,
  }
  const pool = createEnginePool({size: 1, start: async () => engine})
  const review = await reviewGame(pool, game, {nodes: 1000})
  await pool.close()
  assert.deepEqual(rounded(review.positions[4]), {end: "draw by rule", score: {cp: 0}, best: null, pv: [], depth: 0, side: "w", chances: 0})
  // Going back into the start's position threw away White's edge, and is marked with the
  // move the engine preferred; the move made from the drawn position has none to offer.
  assert.deepEqual(review.moves.filter(move => move.verdict).map(({ply, verdict, better}) => [ply, verdict, better]),
    [[1, "Blunder", "e2e4"], [5, "Blunder", undefined], [7, "Blunder", "c1g5"]])
  assert.ok(!("better" in review.moves[4]))
})

// An engine whose searches last until stopped (it then answers with what it has), and
// whose newGame waits for `clearing` when given one.
function stallingEngine(id, log, clearing) {
  const exits = []
  let search = null
  return {
    newGame: () => log.push(`#${id} newGame`) && clearing,
    analyse({moves}) {
      log.push(`#${id} search ${moves.length}`)
      return new Promise((resolve, reject) => (search = {resolve, reject}))
    },
    stop() {
      log.push(`#${id} stop`)
      search?.resolve({bestmove: "e2e4", lines: [parseInfo("info depth 1 score cp 0 pv e2e4")]})
    },
    die() {
      search.reject(new Error("the engine has ended (status 1)"))
      for (const listener of exits) listener(1)
    },
    on: (event, listener) => exits.push(listener),
    quit: async () => 0,
  }
}

test("a review cancelled: its searches stopped, none started after, the pool still usable", async () => {
  const log = []
  let release
  const clearing = new Promise(resolve => (release = resolve))
  let started = 0
  const pool = createEnginePool({size: 2, start: async () => stallingEngine(++started, log, started === 2 && clearing)})
  const controller = new AbortController()
  const review = reviewGame(pool, {moves: ["e2e4", "e7e5", "g1f3"]}, {signal: controller.signal})
  await settle()
  controller.abort()
  await assert.rejects(review, {name: "AbortError"})
  // The second engine was clearing its tables when it was stopped: it must not search now.
  release()
  await settle()
  assert.deepEqual(log, ["#1 newGame", "#2 newGame", "#1 search 0", "#1 stop", "#2 stop"])
  assert.equal(await pool.run(async () => "still usable"), "still usable")
})

test("an engine that dies fails the review, stops its other searches, and is replaced", async () => {
  const log = []
  const engines = []
  const pool = createEnginePool({size: 2, start: async () => (engines[engines.length] = stallingEngine(engines.length + 1, log))})
  const review = reviewGame(pool, {moves: ["e2e4", "e7e5"]})
  await settle()
  engines[1].die()
  await assert.rejects(review, /the engine has ended \(status 1\)/)
  await settle()
  // The third engine, started for the last position, is stopped before it searches.
  assert.deepEqual(log, ["#1 newGame", "#2 newGame", "#1 search 0", "#2 search 1", "#3 newGame", "#1 stop", "#3 stop"])
  const which = async engine => engines.indexOf(engine) + 1
  assert.deepEqual((await Promise.all([pool.run(which), pool.run(which)])).sort(), [1, 3])
})

// Legal's mate: 5...Bxd1?? walks into mate in two.
const LEGAL = {moves: "e2e4 e7e5 g1f3 d7d6 f1c4 c8g4 b1c3 g7g6 f3e5 g4d1 c4f7 e8e7 c3d5".split(" ")}
const [NODES, HASH] = [20000, 16]
const {QUILLBROOK_NPM: npm, QUILLBROOK_NATIVE: native} = process.env

test("a real review: the blunder found, the evaluations those of the native engine, on any number of engines",
  {skip: !npm || !native ? "set QUILLBROOK_NPM (the built npm package) and QUILLBROOK_NATIVE (the native engine)" : false},
  async t => {
    // The package's own copy of the review, as a program reviewing games has it.
    const {createEngine} = await import(pathToFileURL(path.resolve(npm, "node.mjs")))
    const {createEnginePool, reviewGame} = await import(pathToFileURL(path.resolve(npm, "core/review/index.js")))
    // The native engines of quillbrook-review --engine, built beside the package.
    const {nativeStarter} = await import(pathToFileURL(path.resolve(npm, "../npm-review/lib/engines.js")))
    const nativeClient = nativeStarter(path.resolve(native))
    const timed = async (size, start) => {
      const began = performance.now()
      const pool = createEnginePool({size, start, options: {Hash: HASH}})
      const review = await reviewGame(pool, LEGAL, {nodes: NODES})
      await pool.close()
      return {review, seconds: ((performance.now() - began) / 1000).toFixed(2)}
    }
    const [two, one, natives] = [await timed(2, createEngine), await timed(1, createEngine), await timed(2, nativeClient)]
    const seconds = `WebAssembly ${two.seconds} s on 2 engines, ${one.seconds} s on 1; native ${natives.seconds} s on 2`
    t.diagnostic(`${LEGAL.moves.length + 1} positions at ${NODES} nodes: ${seconds}`)

    const blunders = two.review.moves.filter(move => move.verdict === "Blunder").map(({ply, move, better}) => `${ply} ${move} (${better})`)
    assert.ok(blunders.includes("10 g4d1 (d6e5)"), `blunders: ${blunders.join(", ")}`)
    assert.equal(two.review.positions.at(-1).end, "checkmate")
    const evaluations = two.review.positions.map(({score, best, pv, depth}) => (best ? {score, best, pv, depth} : {best}))
    assert.deepEqual(evaluations, await nativeEvaluations(native, LEGAL.moves, {nodes: NODES, hash: HASH}))
    assert.deepEqual(one.review, two.review)
    assert.deepEqual(natives.review, two.review)
  })
