// Whether a FEN describes a position the engine can be given: the engine itself reads
// any text as best it can, so a client must refuse what is not a legal position.

const PIECES = "PNBRQKpnbrqk"
const KNIGHT_STEPS = [[1, 2], [2, 1], [2, -1], [1, -2], [-1, -2], [-2, -1], [-2, 1], [-1, 2]]
const KING_STEPS = [[1, 0], [1, 1], [0, 1], [-1, 1], [-1, 0], [-1, -1], [0, -1], [1, -1]]
const ROOK_RAYS = [[1, 0], [-1, 0], [0, 1], [0, -1]]
const BISHOP_RAYS = [[1, 1], [1, -1], [-1, 1], [-1, -1]]

// The board of a FEN's first field as board[rank][file] (rank 0 is the first rank),
// each square a piece letter or "", or the reason it is not one.
function readBoard(field) {
  const ranks = field.split("/")
  if (ranks.length !== 8) return `the board has ${ranks.length} ranks, not 8`
  const board = []
  for (let row = 0; row < 8; row++) {
    const squares = []
    for (const c of ranks[row]) {
      if (c >= "1" && c <= "8") squares.push(...Array(Number(c)).fill(""))
      else if (PIECES.includes(c)) squares.push(c)
      else return `"${c}" is not a piece`
    }
    if (squares.length !== 8) return `rank ${8 - row} has ${squares.length} squares, not 8`
    board.unshift(squares)
  }
  return board
}

function pieceAt(board, file, rank) {
  return file >= 0 && file < 8 && rank >= 0 && rank < 8 ? board[rank][file] : undefined
}

// True when a piece of `by` ("w" or "b") attacks the square.
function attacked(board, file, rank, by) {
  const own = letter => (by === "w" ? letter.toUpperCase() : letter)
  const forward = by === "w" ? -1 : 1
  if ([-1, 1].some(side => pieceAt(board, file + side, rank + forward) === own("p"))) return true
  if (KNIGHT_STEPS.some(([df, dr]) => pieceAt(board, file + df, rank + dr) === own("n"))) return true
  if (KING_STEPS.some(([df, dr]) => pieceAt(board, file + df, rank + dr) === own("k"))) return true
  const slides = (rays, pieces) =>
    rays.some(([df, dr]) => {
      let [f, r] = [file + df, rank + dr]
      while (pieceAt(board, f, r) === "") [f, r] = [f + df, r + dr]
      return pieces.includes(pieceAt(board, f, r))
    })
  return slides(ROOK_RAYS, [own("r"), own("q")]) || slides(BISHOP_RAYS, [own("b"), own("q")])
}

function findKing(board, king) {
  for (let rank = 0; rank < 8; rank++) {
    const file = board[rank].indexOf(king)
    if (file >= 0) return [file, rank]
  }
  return null
}

// null when `fen` is a legal position (the move counters may be left out), else why
// it is not, in words: "the side not to move is in check".
export function fenProblem(fen) {
  if (typeof fen !== "string") return "a FEN is text"
  const fields = fen.trim().split(/\s+/)
  if (fields.length !== 4 && fields.length !== 6) return `a FEN has 6 fields, this one ${fields.length}`
  const [placement, side, castling, passant, halfmoves = "0", fullmoves = "1"] = fields
  const board = readBoard(placement)
  if (typeof board === "string") return board

  const count = letter => board.flat().filter(piece => piece === letter).length
  if (count("K") !== 1 || count("k") !== 1) return "each side needs exactly one king"
  for (const colour of ["w", "b"]) {
    const letters = colour === "w" ? "PNBRQK" : "pnbrqk"
    const pieces = [...letters].reduce((sum, letter) => sum + count(letter), 0)
    if (pieces > 16) return `${colour === "w" ? "White" : "Black"} has more than 16 pieces`
    if (count(letters[0]) > 8) return `${colour === "w" ? "White" : "Black"} has more than 8 pawns`
  }
  if ([...board[0], ...board[7]].some(piece => piece === "P" || piece === "p")) return "a pawn stands on the first or last rank"

  if (side !== "w" && side !== "b") return `the side to move is "${side}", not w or b`
  const [kingFile, kingRank] = findKing(board, side === "w" ? "k" : "K")
  if (attacked(board, kingFile, kingRank, side)) return "the side not to move is in check"

  // Rights whose king or rook has left home are dropped by the engine, as by most readers.
  if (castling !== "-" && !/^K?Q?k?q?$/.test(castling)) return `castling rights "${castling}" are not made of K, Q, k, q`
  if (passant !== "-") {
    const match = /^([a-h])([36])$/.exec(passant)
    if (!match || match[2] !== (side === "w" ? "6" : "3")) return `"${passant}" is not an en passant square with ${side} to move`
    const file = match[1].charCodeAt(0) - 97
    const [pawnRank, pawn] = side === "w" ? [4, "p"] : [3, "P"]
    if (board[pawnRank][file] !== pawn) return `no pawn has just passed ${passant}`
  }

  if (!/^\d+$/.test(halfmoves)) return `the half-move clock "${halfmoves}" is not a number`
  if (!/^\d+$/.test(fullmoves) || Number(fullmoves) < 1) return `the move number "${fullmoves}" is not a number from 1`
  return null
}
