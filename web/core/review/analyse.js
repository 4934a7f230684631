// Every position of a game searched by a pool of engines, the same way whichever
// engine takes it.
import {whiteScore} from "../uci.js"
import {inCheckAfter, sideToMove} from "./position.js"

export const DEFAULT_NODES = 300000

// The evaluations of the positions after 0..n moves of `game` ({fen?, moves}, legal
// moves in coordinates: the engine does not say when one is not), each {score, best,
// pv, depth} with the score from White's side, or {end: "checkmate" | "stalemate",
// score: null, best: null, pv: [], depth: 0} where the side to move has no legal move,
// or {end: "draw by rule", score: {cp: 0}, best: null, pv: [], depth: 0} where the
// position repeats an earlier one of the game or the fifty-move count has run out.
//
// Each position is searched at `nodes` from a cleared state (ucinewgame), given as the
// moves from the first position so that the engine sees repetitions. The result then
// depends only on the game, `nodes` and the engines' Hash (the size of the table
// changes what it keeps), never on which engine took which position or in what order.
// onProgress({done, total, ply, evaluation}) sees each position as it comes. Aborting
// `signal` stops the searches and rejects with its reason; so does any position
// failing (an engine that ends), with that error.
export async function analyseGame(pool, game, {nodes = DEFAULT_NODES, onProgress = () => {}, signal} = {}) {
  const {fen = "startpos", moves} = game
  if (!Array.isArray(moves)) throw new Error("a game's moves are an array of moves such as e2e4")
  signal?.throwIfAborted()
  const total = moves.length + 1
  let done = 0
  const stop = new AbortController()
  const forward = () => stop.abort(signal.reason)
  signal?.addEventListener("abort", forward)

  const search = ply =>
    pool.run(async (engine, stopped) => {
      const played = moves.slice(0, ply)
      await engine.newGame()
      // A stop sent while the engine was clearing its tables found no search to stop.
      stopped.throwIfAborted()
      const result = await engine.analyse({fen, moves: played, nodes})
      return evaluationOf(result, fen, played)
    }, {signal: stop.signal}).then(evaluation => {
      onProgress({done: ++done, total, ply, evaluation})
      return evaluation
    })

  try {
    return await Promise.all(Array.from({length: total}, (_, ply) => search(ply)))
  } catch (error) {
    stop.abort()
    throw error
  } finally {
    signal?.removeEventListener("abort", forward)
  }
}

function evaluationOf({bestmove, lines: [line]}, fen, played) {
  if (!bestmove) return {end: inCheckAfter(fen, played) ? "checkmate" : "stalemate", score: null, best: null, pv: [], depth: 0}
  // The engine searches no further in a position that repeats one before it, or that
  // the fifty-move count has reached: it is drawn, and the move it names is no advice.
  if (!line) return {end: "draw by rule", score: {cp: 0}, best: null, pv: [], depth: 0}
  return {score: whiteScore(line.score, sideToMove(fen, played.length)), best: bestmove, pv: line.pv, depth: line.depth}
}
