// The engine's analysis as the page shows it: the evaluation bar, and one row per
// line (MultiPV rank) with its score, depth and moves in SAN, each move a span that
// plays the line up to it when clicked.
import {formatScore} from "./format.js"
import {sanMoves} from "./game.js"
// The review's scale: the bar and the graph agree.
import {winningChances} from "quillbrook-core/review/chances.js"

// The bar for a score from White's side (none: an empty bar at even): White's winning
// chances, a mate filling it.
export function showEvalBar(bar, score) {
  const chances = score ? winningChances(score) : 0
  bar.querySelector("#eval-fill").style.height = `${(50 + 50 * chances).toFixed(1)}%`
  bar.querySelector("#eval-text").textContent = score ? formatScore(score) : ""
  bar.setAttribute("aria-valuenow", (100 * chances).toFixed(0))
  bar.setAttribute("aria-valuetext", score ? `${formatScore(score)} for White` : "no evaluation")
}

// One row per line: lines are [{multipv, depth, score (White's side), pv}] of the
// position `fen`. A move's span carries its line and its place in it.
export function showLines(list, fen, lines) {
  list.replaceChildren(
    ...lines.map(line => {
      const row = document.createElement("li")
      row.dataset.multipv = line.multipv
      const score = document.createElement("strong")
      score.textContent = formatScore(line.score)
      const depth = document.createElement("span")
      depth.className = "depth"
      depth.textContent = `d${line.depth}`
      row.append(score, " ", depth, " ")
      for (const [index, move] of sanMoves(fen, line.pv).entries()) {
        const span = document.createElement("span")
        span.className = "line-move"
        span.dataset.multipv = line.multipv
        span.dataset.index = index
        span.textContent = move.number ? `${move.number} ${move.san}` : move.san
        row.append(span, " ")
      }
      return row
    }),
  )
}
