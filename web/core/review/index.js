// A game review: every position evaluated by a pool of engines, each move judged, each
// side's accuracy. Data only: the page draws its graph and marks from it, a command
// writes PGN or JSON from it.
import {analyseGame, DEFAULT_NODES} from "./analyse.js"
import {sideAccuracy} from "./accuracy.js"
import {positionChances} from "./chances.js"
import {sideToMove} from "./position.js"
import {judgeMoves} from "./verdicts.js"

export {analyseGame, DEFAULT_NODES}
export {moveAccuracy, sideAccuracy} from "./accuracy.js"
export {positionChances, winningChances} from "./chances.js"
export {nextMistake, verdict} from "./verdicts.js"
// The engines a review runs on.
export {createEnginePool} from "../engine-pool.js"

// The review of `game` ({fen?, moves}) from analyseGame's evaluations, with no engine:
//   positions  after 0..n moves: the evaluation with side (to move) and chances (White's)
//   moves      {ply, move, side, drop, verdict, better?}, verdict "Inaccuracy", "Mistake",
//              "Blunder" or null
//   accuracy   {w, b}, each 0..100, null for a side with no move
export function judgeGame(game, evaluations) {
  const positions = evaluations.map((evaluation, ply) => {
    const side = sideToMove(game.fen, ply)
    return {...evaluation, side, chances: positionChances(evaluation, side)}
  })
  const moves = judgeMoves(game.moves, positions)
  return {positions, moves, accuracy: {w: sideAccuracy(moves, "w"), b: sideAccuracy(moves, "b")}}
}

// Analyses `game` on `pool` (options as analyseGame's) and judges it: {nodes, ...judgeGame}.
export async function reviewGame(pool, game, options = {}) {
  const evaluations = await analyseGame(pool, game, options)
  return {nodes: options.nodes ?? DEFAULT_NODES, ...judgeGame(game, evaluations)}
}
