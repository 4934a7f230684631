// What the review needs to know of a game's positions without a rules library: whose
// move it is, and whether a position with no legal move is checkmate or stalemate
// (the engine answers both with "bestmove 0000" and no score).
import {fenProblem} from "../fen.js"

const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

// The game's first position as a FEN; "startpos" or nothing means the usual start.
function firstFen(fen) {
  return fen === undefined || fen === "startpos" ? START : fen
}

// "w" or "b": the side to move after `plies` moves from `fen`.
export function sideToMove(fen, plies = 0) {
  const first = firstFen(fen).trim().split(/\s+/)[1]
  return (plies % 2 === 0) === (first === "w") ? "w" : "b"
}

// The FEN's board as 64 squares, a8 first as in the FEN, each a piece letter or "".
function readBoard(fen) {
  const squares = []
  for (const c of firstFen(fen).trim().split(/\s+/)[0].replaceAll("/", "")) {
    if (c >= "1" && c <= "8") squares.push(...Array(Number(c)).fill(""))
    else squares.push(c)
  }
  return squares
}

function writeBoard(squares) {
  const ranks = []
  for (let at = 0; at < 64; at += 8) {
    ranks.push(squares.slice(at, at + 8).map(piece => piece || "1").join("").replace(/1+/g, ones => String(ones.length)))
  }
  return ranks.join("/")
}

const square = name => (8 - Number(name[1])) * 8 + name.charCodeAt(0) - 97

// Plays a move in coordinates, taken as legal: the castling rook and the pawn taken en
// passant move with it, which is all a board needs beyond "from goes to to".
function play(squares, move) {
  const [from, to] = [square(move.slice(0, 2)), square(move.slice(2, 4))]
  const piece = squares[from]
  const [fromFile, toFile] = [from % 8, to % 8]
  if (/p/i.test(piece) && fromFile !== toFile && squares[to] === "") squares[from - fromFile + toFile] = ""
  if (/k/i.test(piece) && Math.abs(toFile - fromFile) === 2) {
    const [corner, beside] = toFile > fromFile ? [from + 3, to - 1] : [from - 4, to + 1]
    squares[beside] = squares[corner]
    squares[corner] = ""
  }
  squares[to] = move[4] ? (piece === "P" ? move[4].toUpperCase() : move[4]) : piece
  squares[from] = ""
}

// Whether the side to move is in check after `moves` (legal, in coordinates) from `fen`.
// Handing the move to the other side makes that check the one thing fenProblem can find
// wrong with a position reached by legal moves ("the side not to move is in check").
export function inCheckAfter(fen, moves) {
  const squares = readBoard(fen)
  for (const move of moves) play(squares, move)
  const waiting = sideToMove(fen, moves.length) === "w" ? "b" : "w"
  return fenProblem(`${writeBoard(squares)} ${waiting} - - 0 1`) !== null
}
