// What a reviewed game becomes in each output: the game as PGN with the review in it,
// and its positions as lines of the public evaluation database's JSON.
import {writePgn} from "../core/chess/pgn.js"
import {addChild, mainLine} from "../core/chess/tree.js"

// The NAGs of the marks: ?! ? ??
const VERDICT_NAGS = {Inaccuracy: 6, Mistake: 2, Blunder: 4}

// The game's PGN with an [%eval] after each move of its main line, each marked move's
// NAG (in place of any other judgement of the move, $1 to $6) and the engine's line
// from the position before it as a variation, and the accuracy of each side as tags.
// Everything else the game had is kept. `parsed` is {tags, tree}; its tree is changed.
export function annotatedPgn({tags, tree}, review) {
  const line = mainLine(tree)
  for (const {ply, verdict} of review.moves) {
    if (!verdict) continue
    const node = line[ply]
    node.nags = [VERDICT_NAGS[verdict], ...(node.nags ?? []).filter(nag => nag > 6)]
    addLine(line[ply - 1], review.positions[ply - 1].pv)
  }
  const scores = new Map(line.slice(1).map((node, i) => [node, review.positions[i + 1].score ?? undefined]))
  const evaluation = node => (scores.has(node) ? scores.get(node) : node.data?.eval)
  const accuracy = Object.entries({WhiteAccuracy: review.accuracy.w, BlackAccuracy: review.accuracy.b})
    .filter(([, value]) => value !== null)
    .map(([name, value]) => [name, value.toFixed(1)])
  return writePgn(tree, {tags: {...tags, ...Object.fromEntries(accuracy)}, evaluation})
}

// The moves of `pv` after `node`, as far as they are legal there.
function addLine(node, pv) {
  try {
    for (const move of pv) node = addChild(node, move)
  } catch {
    // An engine's line is legal; should one not be, its legal start is enough.
  }
}

// One JSON line per position of the main line that has a move, as the evaluation
// database writes them: {"fen", "evals": [{"knodes", "depth", "pvs": [{"cp" | "mate",
// "line"}]}]}, scores from White's side and the FEN without its move counters.
export function evaluationLines({tree}, review) {
  const knodes = Math.floor(review.nodes / 1000)
  return mainLine(tree)
    .map((node, ply) => [node, review.positions[ply]])
    // A position drawn by rule is drawn by this game's history, not by its FEN.
    .filter(([, position]) => position.score && !position.end)
    .map(([node, {score, pv, depth}]) => {
      const fen = node.fen.split(" ").slice(0, 4).join(" ")
      return `${JSON.stringify({fen, evals: [{knodes, depth, pvs: [{...score, line: pv.join(" ")}]}]})}\n`
    })
    .join("")
}
