// Which FENs the client gives the engine, and what it says of the others.
import {test} from "node:test"
import assert from "node:assert/strict"
import {fenProblem} from "../core/fen.js"

const POSITIONS = [
  ["rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", null],
  ["rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", null],
  ["rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", null],
  ["8/8/8/8/8/8/8/K1k5 w - -", null],
  ["4k3/8/8/8/8/8/8/4K2R w Kkq - 0 1", null],
  ["4k3/8/8/8/8/8/8/4K3 b - - 99 300", null],
  ["", "a FEN has 6 fields, this one 1"],
  ["8/8/8/8/8/8/8/K1k5 w - - 0", "a FEN has 6 fields, this one 5"],
  ["8/8/8/8/8/8/K1k5 w - - 0 1", "the board has 7 ranks, not 8"],
  ["8/8/8/8/8/8/8/K1k6 w - - 0 1", "rank 1 has 9 squares, not 8"],
  ["8/8/8/8/8/8/8/K1k4 w - - 0 1", "rank 1 has 7 squares, not 8"],
  ["8/8/8/8/8/8/8/K1k4x w - - 0 1", "\"x\" is not a piece"],
  ["8/8/8/8/8/8/8/K7 w - - 0 1", "each side needs exactly one king"],
  ["8/8/8/8/8/8/8/KK1k4 w - - 0 1", "each side needs exactly one king"],
  ["4k3/pppppppp/p7/8/8/8/8/4K3 w - - 0 1", "Black has more than 8 pawns"],
  ["qqqqkqqq/qqqqqqqq/q7/8/8/8/8/4K3 w - - 0 1", "Black has more than 16 pieces"],
  ["P3k3/8/8/8/8/8/8/4K3 w - - 0 1", "a pawn stands on the first or last rank"],
  ["4k3/8/8/8/8/8/8/p3K3 b - - 0 1", "a pawn stands on the first or last rank"],
  ["4k3/8/8/8/8/8/8/4K3 x - - 0 1", "the side to move is \"x\", not w or b"],
  // The side not to move in check, by each kind of piece, and by the king itself.
  ["4k3/8/8/8/8/8/8/4K2R w - - 0 1", null],
  ["4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "the side not to move is in check"],
  ["4k3/8/8/8/B7/8/8/6K1 w - - 0 1", "the side not to move is in check"],
  ["4k3/8/3N4/8/8/8/8/6K1 w - - 0 1", "the side not to move is in check"],
  ["4k3/3P4/8/8/8/8/8/6K1 w - - 0 1", "the side not to move is in check"],
  ["4k3/4P3/8/8/8/8/8/6K1 w - - 0 1", null],
  ["6k1/8/8/8/8/8/5p2/4K3 b - - 0 1", "the side not to move is in check"],
  ["8/8/8/8/8/8/3k4/4K3 w - - 0 1", "the side not to move is in check"],
  ["4k3/8/8/8/4Q3/8/4P3/4K3 b - - 0 1", null],
  ["4k3/4n3/8/8/4Q3/8/8/4K3 w - - 0 1", null],
  ["4k3/8/8/8/8/8/8/4K3 w KX - 0 1", "castling rights \"KX\" are not made of K, Q, k, q"],
  ["4k3/8/8/8/8/8/8/4K3 w qk - 0 1", "castling rights \"qk\" are not made of K, Q, k, q"],
  ["4k3/8/8/8/4P3/8/8/4K3 b - e4 0 1", "\"e4\" is not an en passant square with b to move"],
  ["4k3/8/8/8/4P3/8/8/4K3 w - e3 0 1", "\"e3\" is not an en passant square with w to move"],
  ["4k3/8/8/8/8/8/8/4K3 b - e3 0 1", "no pawn has just passed e3"],
  ["4k3/8/8/8/8/8/8/4K3 w - - x 1", "the half-move clock \"x\" is not a number"],
  ["4k3/8/8/8/8/8/8/4K3 w - - 0 0", "the move number \"0\" is not a number from 1"],
]

test("FENs the engine may be given, and what is wrong with the others", () => {
  for (const [fen, problem] of POSITIONS) assert.equal(fenProblem(fen), problem, fen)
  assert.equal(fenProblem(undefined), "a FEN is text")
})
