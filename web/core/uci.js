// The engine's UCI lines as data. Words this reader does not know are skipped, so
// that a field added to a line later never hides the rest of it.

const NUMBER_FIELDS = new Set(["depth", "seldepth", "multipv", "nodes", "nps", "time", "tbhits", "hashfull", "currmovenumber"])

// "info depth 12 seldepth 18 [multipv 2] score cp 31|mate -3 nodes N nps N time T pv e2e4 ..."
// as {depth, seldepth, multipv, score: {cp} | {mate}, nodes, nps, time, pv}: multipv is
// 1 where the line names none. null for an info line that carries no line of play
// (info string ..., or no depth or no score).
export function parseInfo(line) {
  const words = line.trim().split(/\s+/)
  if (words[0] !== "info") return null
  const info = {multipv: 1, pv: []}
  for (let i = 1; i < words.length; i++) {
    const word = words[i]
    if (word === "string") return null
    if (word === "pv") {
      info.pv = words.slice(i + 1)
      break
    }
    if (word === "score") {
      const [unit, value] = [words[i + 1], Number(words[i + 2])]
      if ((unit === "cp" || unit === "mate") && Number.isFinite(value)) info.score = {[unit]: value}
      i += 2
    } else if (word === "lowerbound" || word === "upperbound") {
      info.bound = word
    } else if (NUMBER_FIELDS.has(word) && Number.isFinite(Number(words[i + 1]))) {
      info[word] = Number(words[++i])
    }
  }
  return info.depth !== undefined && info.score !== undefined ? info : null
}

// "bestmove e2e4 [ponder e7e5]" as {bestmove: "e2e4", ponder: "e7e5"}; "bestmove 0000"
// (no legal move) as {bestmove: null}.
export function parseBestmove(line) {
  const words = line.trim().split(/\s+/)
  const move = words[1] && words[1] !== "0000" && words[1] !== "(none)" ? words[1] : null
  const result = {bestmove: move}
  if (move && words[2] === "ponder" && words[3]) result.ponder = words[3]
  return result
}

// "option name Style type combo default PeSTO var PeSTO var Linear" as
// {name: "Style", type: "combo", default: "PeSTO", vars: ["PeSTO", "Linear"]}.
export function parseOption(line) {
  const option = {vars: []}
  let key = null
  for (const word of line.trim().split(/\s+/).slice(1)) {
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

// The score from White's side, for a position with `side` ("w" or "b") to move.
export function whiteScore(score, side) {
  if (side !== "b") return score
  return "mate" in score ? {mate: -score.mate} : {cp: -score.cp}
}
