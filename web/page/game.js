// What the page needs of a game beyond its tree of moves: the end of the game, moves
// in SAN with their numbers, and the game in the page's address. The rules come from
// chess.js.
import {Chess, DEFAULT_POSITION} from "chess.js"

export {Chess, DEFAULT_POSITION}

// A position without its move counters: two positions are the same for repetition when
// these are, "rnbqkbnr/... w KQkq -".
const positionKey = fen => fen.split(" ").slice(0, 4).join(" ")

// {result, reason} once the game that led to the last node of `path` (root first) is
// over, else null.
export function gameEnd(path) {
  const fen = path[path.length - 1].fen
  const chess = new Chess(fen)
  if (chess.isCheckmate()) return {result: chess.turn() === "w" ? "0-1" : "1-0", reason: "checkmate"}
  if (chess.isStalemate()) return {result: "1/2-1/2", reason: "stalemate"}
  if (chess.isInsufficientMaterial()) return {result: "1/2-1/2", reason: "insufficient material"}
  const key = positionKey(fen)
  if (path.filter(node => positionKey(node.fen) === key).length >= 3) return {result: "1/2-1/2", reason: "threefold repetition"}
  if (Number(fen.split(" ")[4]) >= 100) return {result: "1/2-1/2", reason: "fifty-move rule"}
  return null
}

// The number a move carries: "12." before White's move, "12..." before Black's.
export function moveNumber(fen) {
  const [, side, , , , fullmove] = fen.split(" ")
  return side === "w" ? `${fullmove}.` : `${fullmove}...`
}

// Coordinate moves from the position as {uci, san, number} (number only where a
// line shows one: before each White move and before the first move), up to the
// first that is not legal there.
export function sanMoves(fen, moves) {
  const chess = new Chess(fen)
  const line = []
  for (const uci of moves) {
    const number = chess.turn() === "w" || line.length === 0 ? moveNumber(chess.fen()) : null
    let move
    try {
      move = chess.move({from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci[4]})
    } catch {
      break
    }
    line.push({uci, san: move.san, number})
  }
  return line
}

// The same as text: "12... Nf6 13. Bxf6 gxf6".
export function sanLine(fen, moves) {
  return sanMoves(fen, moves)
    .flatMap(({number, san}) => (number ? [number, san] : [san]))
    .join(" ")
}

// The game in the address's fragment: "#pgn=<PGN>" once moves have been played,
// "#fen=<FEN>" for a position without moves, "" for the usual first position with
// none; the game's PGN is given by the caller, encoded here as a URL component.
export function gameFragment(tree, pgn) {
  if (tree.root.children.length > 0) return `#pgn=${encodeURIComponent(pgn)}`
  const fen = tree.root.fen
  return fen === DEFAULT_POSITION ? "" : `#fen=${encodeURIComponent(fen).replaceAll("%2F", "/")}`
}

// The fragment of an address as {fen} or {pgn}, {} for none, or {error} saying why it
// opens nothing. A FEN may have "_" or "+" for its blanks, as in addresses typed by
// hand; whether the FEN or PGN is good is for its reader to say.
export function gameFromFragment(hash) {
  const match = /^#(fen|pgn)=(.*)$/s.exec(hash)
  if (!match) return {}
  try {
    const text = decodeURIComponent(match[1] === "fen" ? match[2].replace(/[_+]/g, " ") : match[2]).trim()
    return {[match[1]]: text}
  } catch {
    return {error: `the address's ${match[1]} is not encoded text`}
  }
}
