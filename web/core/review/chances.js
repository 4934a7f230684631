// Winning chances: a score as a number from -1 (Black wins) to 1 (White wins), the
// scale on which the review draws its graph and weighs each move.

// White's winning chances from a score from White's side ({cp} or {mate}): the
// logistic curve lichess fits to its players' results; any mate is a win or a loss
// outright.
export function winningChances(score) {
  if ("mate" in score) return Math.sign(score.mate)
  return 2 / (1 + Math.exp(-0.00368208 * score.cp)) - 1
}

// White's winning chances in an evaluated position with `side` to move: a checkmate is
// lost for the side to move, a stalemate or a draw by rule drawn.
export function positionChances(evaluation, side) {
  if (evaluation.end === "checkmate") return side === "w" ? -1 : 1
  if (evaluation.end === "stalemate" || evaluation.end === "draw by rule") return 0
  return winningChances(evaluation.score)
}
