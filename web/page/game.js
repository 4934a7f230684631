// The rules of the game come from chess.js, through this module: besides its Chess,
// what the engine and the page need of a game: the position command, the end of the
// game, and moves in SAN with their numbers.
import {Chess, DEFAULT_POSITION} from "chess.js"

export {Chess, DEFAULT_POSITION}

// The position command for the game from its first position: the whole history goes to
// the engine, which needs it to see repetitions.
export function positionCommand(startFen, history) {
  const start = startFen === DEFAULT_POSITION ? "startpos" : `fen ${startFen}`
  const moves = history.map(move => move.lan)
  return moves.length ? `position ${start} moves ${moves.join(" ")}` : `position ${start}`
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
