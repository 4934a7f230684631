// Numbers of the analysis as the page shows them.

// Pawns with a sign ("+0.31", "-1.05", "0.00"), or "#3" / "#-3" for a mate in that many
// moves by White / by Black, for a score {cp} or {mate} from White's side.
export function formatScore(score) {
  if ("mate" in score) return `#${score.mate}`
  const pawns = (Math.abs(score.cp) / 100).toFixed(2)
  if (score.cp === 0) return pawns
  return (score.cp > 0 ? "+" : "-") + pawns
}

export function formatNps(nps) {
  const thousands = Math.round(nps / 1e3)
  if (thousands >= 1000) return `${(nps / 1e6).toFixed(2)} Mn/s`
  if (thousands >= 1) return `${thousands} kn/s`
  return `${nps} n/s`
}
