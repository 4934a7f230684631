// The engine's UCI lines as data, and the numbers of an info line as the page shows them.

// "info depth 12 seldepth 18 [multipv 1] score cp 31|mate -3 nodes N nps N time T [tbhits N] pv e2e4 ..."
// as {depth, seldepth, multipv, score: {unit, value}, nodes, nps, time, pv}; null for any
// other info line (info string ...), which carries no line to show.
export function parseInfo(line) {
  const words = line.trim().split(/\s+/)
  if (words[0] !== "info") return null
  const info = {pv: []}
  for (let i = 1; i < words.length; i++) {
    const word = words[i]
    if (word === "pv") {
      info.pv = words.slice(i + 1)
      break
    }
    if (word === "score") {
      info.score = {unit: words[i + 1], value: Number(words[i + 2])}
      i += 2
    } else if (["depth", "seldepth", "multipv", "nodes", "nps", "time", "tbhits"].includes(word)) {
      info[word] = Number(words[++i])
    } else {
      return null
    }
  }
  return info.depth !== undefined && info.score !== undefined ? info : null
}

// "bestmove e2e4 [ponder e7e5]" gives "e2e4"; "bestmove 0000" (no legal move) gives null.
export function parseBestmove(line) {
  const move = line.split(/\s+/)[1]
  return move && move !== "0000" ? move : null
}

// "option name Style type combo default PeSTO var PeSTO var Linear" as
// {name: "Style", type: "combo", default: "PeSTO", vars: ["PeSTO", "Linear"]}.
export function parseOption(line) {
  const option = {vars: []}
  let key = null
  for (const word of line.split(/\s+/).slice(1)) {
    if (["name", "type", "default", "min", "max", "var"].includes(word)) {
      key = word
      if (key === "var") option.vars.push("")
      else option[key] = ""
    } else if (key === "var") {
      const last = option.vars.length - 1
      option.vars[last] = option.vars[last] ? `${option.vars[last]} ${word}` : word
    } else if (key) {
      option[key] = option[key] ? `${option[key]} ${word}` : word
    }
  }
  return option
}

// The engine scores from the side to move; the page always from White's side.
export function whiteScore(score, blackToMove) {
  return blackToMove ? {unit: score.unit, value: -score.value} : score
}

// Pawns with a sign ("+0.31", "-1.05", "0.00"), or "#3" / "#-3" for a mate in that many
// moves by White / by Black.
export function formatScore(score) {
  if (score.unit === "mate") return `#${score.value}`
  const pawns = (Math.abs(score.value) / 100).toFixed(2)
  if (score.value === 0) return pawns
  return (score.value > 0 ? "+" : "-") + pawns
}

export function formatNps(nps) {
  const thousands = Math.round(nps / 1e3)
  if (thousands >= 1000) return `${(nps / 1e6).toFixed(2)} Mn/s`
  if (thousands >= 1) return `${thousands} kn/s`
  return `${nps} n/s`
}
