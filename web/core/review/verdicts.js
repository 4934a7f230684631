// Marks on moves: how much of the mover's winning chances a move gave away.

// The least drop, on the -1..1 scale, for each mark; lichess's thresholds and words.
const MARKS = [
  [0.3, "Blunder"],
  [0.2, "Mistake"],
  [0.1, "Inaccuracy"],
]

// The mark for a move that lowered the mover's winning chances by `drop`, or null.
export function verdict(drop) {
  return MARKS.find(([least]) => drop >= least)?.[1] ?? null
}

// Each move of the game, judged: {ply, move, side, drop, verdict, better?}, given the
// positions after 0..n moves as {side, chances, best}: the side to move, White's
// winning chances and the engine's move. ply counts the position the move leads to (1
// for White's first move from the usual start). The engine's own choice is never
// marked, whatever the numbers say (they come from two searches, which may disagree a
// little); a marked move comes with the move the engine preferred, where it named one
// (not in a position drawn by rule).
export function judgeMoves(moves, positions) {
  return moves.map((move, i) => {
    const [before, after] = [positions[i], positions[i + 1]]
    const drop = (before.side === "w" ? 1 : -1) * (before.chances - after.chances)
    const mark = move === before.best ? null : verdict(drop)
    return {ply: i + 1, move, side: before.side, drop, verdict: mark, ...(mark && before.best && {better: before.best})}
  })
}

// The first marked move of `side` after position `ply`, or null.
export function nextMistake(judged, side, ply) {
  return judged.find(move => move.side === side && move.ply > ply && move.verdict) ?? null
}
