// How accurately each side played, from 0 to 100.
//
// A move's accuracy is 103.1668 · e^(−0.04354 · d) − 3.1669, kept within 0..100, where
// d is how many points the mover's win percentage (50 + 50 × winning chances) fell
// with the move; a move that does not lower it scores 100. A side's accuracy is the
// plain mean of its moves' accuracies (lichess weighs moves by how sharp the position
// was and mixes in a harmonic mean; its figures come out somewhat lower).

// The accuracy of a move that lowered the mover's winning chances by `drop`.
export function moveAccuracy(drop) {
  const points = 50 * drop
  if (points <= 0) return 100
  return Math.max(0, 103.1668 * Math.exp(-0.04354 * points) - 3.1669)
}

// The accuracy of `side` ("w" or "b") over its judged moves; null when it made none.
export function sideAccuracy(judged, side) {
  const figures = judged.filter(move => move.side === side).map(move => moveAccuracy(move.drop))
  return figures.length ? figures.reduce((sum, figure) => sum + figure, 0) / figures.length : null
}
