// The rules of the game come from chess.js, through this module: besides its Chess,
// what the page needs of a game: the end of the game, moves in SAN with their
// numbers, and the game in the page's address.
import {Chess, DEFAULT_POSITION} from "chess.js"

export {Chess, DEFAULT_POSITION}

// What the engine is asked to search for the game: its first position, unless it is
// the usual one, and every move since, which the engine needs to see repetitions.
export function searchRequest(chess) {
  const history = chess.history({verbose: true})
  const start = history.length ? history[0].before : chess.fen()
  return {...(start === DEFAULT_POSITION ? {} : {fen: start}), moves: history.map(move => move.lan)}
}

// {result, reason} once the game is over, else null.
export function gameEnd(chess) {
  if (chess.isCheckmate()) return {result: chess.turn() === "w" ? "0-1" : "1-0", reason: "checkmate"}
  if (chess.isStalemate()) return {result: "1/2-1/2", reason: "stalemate"}
  if (chess.isInsufficientMaterial()) return {result: "1/2-1/2", reason: "insufficient material"}
  if (chess.isThreefoldRepetition()) return {result: "1/2-1/2", reason: "threefold repetition"}
  if (chess.isDrawByFiftyMoves()) return {result: "1/2-1/2", reason: "fifty-move rule"}
  return null
}

// The number a move carries in the move list: "12." before White's move, "12..." before
// Black's when it opens a line.
function moveNumber(fen) {
  const [, side, , , , fullmove] = fen.split(" ")
  return side === "w" ? `${fullmove}.` : `${fullmove}...`
}

// Coordinate moves from the position as SAN with move numbers ("12... Nf6 13. Bxf6 gxf6"),
// up to the first move that is not legal there.
export function sanLine(fen, moves) {
  const chess = new Chess(fen)
  const words = []
  for (const lan of moves) {
    const side = chess.turn()
    const number = moveNumber(chess.fen())
    let move
    try {
      move = chess.move({from: lan.slice(0, 2), to: lan.slice(2, 4), promotion: lan[4]})
    } catch {
      break
    }
    if (side === "w" || words.length === 0) words.push(number)
    words.push(move.san)
  }
  return words.join(" ")
}

// The history as rows of the move list: {number, white, black}, with an empty white
// move when the game started with Black to move.
export function moveRows(history) {
  const rows = []
  for (const move of history) {
    if (move.color === "w" || rows.length === 0) {
      rows.push({number: Number(move.before.split(" ")[5]), white: move.color === "w" ? move.san : "", black: ""})
    }
    if (move.color === "b") rows[rows.length - 1].black = move.san
  }
  return rows
}

// The game in the address's fragment: "#fen=<FEN>" for a position, "#pgn=<PGN>" once
// moves have been played (with its first position in tags where it is not the
// usual one), "" for the usual first position; encoded as a URL component.
export function gameFragment(chess) {
  if (chess.history().length > 0) {
    const pgn = chess.pgn({newline: "\n"}).replace(/\[(?!SetUp|FEN)[^\n]*\]\n/g, "").trim()
    return `#pgn=${encodeURIComponent(pgn)}`
  }
  const fen = chess.fen()
  return fen === DEFAULT_POSITION ? "" : `#fen=${encodeURIComponent(fen).replaceAll("%2F", "/")}`
}

// The fragment of an address as {fen} or {pgn} that the rules accept, {} for none,
// or {error} saying why it opens nothing. A FEN may have "_" or "+" for its blanks,
// as in addresses typed by hand.
export function gameFromFragment(hash) {
  const match = /^#(fen|pgn)=(.*)$/s.exec(hash)
  if (!match) return {}
  let text
  try {
    text = decodeURIComponent(match[1] === "fen" ? match[2].replace(/[_+]/g, " ") : match[2]).trim()
  } catch {
    return {error: `the address's ${match[1]} is not encoded text`}
  }
  const chess = new Chess()
  try {
    if (match[1] === "fen") chess.load(text)
    else chess.loadPgn(text)
  } catch (error) {
    return {error: `the address's ${match[1]}: ${error.message}`}
  }
  return {[match[1]]: text}
}
