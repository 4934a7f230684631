// The reading of the engine's lines, and the page's notation and games, run under
// Node with the libraries of web/node_modules (npm ci --prefix web first).
import {test} from "node:test"
import assert from "node:assert/strict"
import {searchLines} from "../core/engine-client.js"
import {parseBestmove, parseInfo, parseOption, whiteScore} from "../core/uci.js"
import {formatNps, formatScore} from "../page/format.js"
import {addMove, createTree, movesTo, pathTo} from "../core/chess/tree.js"
import {readGame, writePgn} from "../core/chess/pgn.js"
import {Chess, gameEnd, gameFragment, gameFromFragment, sanLine, sanMoves} from "../page/game.js"

const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
const AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"

// An info line from the position FEN, as the analysis shows it: depth/seldepth,
// score from White's side, speed, and the line in SAN.
const ANALYSIS = [
  [START, "info depth 12 seldepth 18 score cp 31 nodes 981234 nps 1234567 time 795 pv e2e4 e7e5 g1f3",
    ["12/18", "+0.31", "1.23 Mn/s", "1. e4 e5 2. Nf3"]],
  [AFTER_E4, "info depth 9 seldepth 14 score cp 31 nodes 52000 nps 850400 time 61 pv e7e5 g1f3 b8c6",
    ["9/14", "-0.31", "850 kn/s", "1... e5 2. Nf3 Nc6"]],
  [AFTER_E4, "info depth 3 seldepth 3 score cp -140 nodes 900 nps 499 time 1 pv e7e5",
    ["3/3", "+1.40", "499 n/s", "1... e5"]],
  [START, "info depth 1 seldepth 1 score cp 0 nodes 20 nps 0 time 0 pv",
    ["1/1", "0.00", "0 n/s", ""]],
  ["6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "info depth 2 seldepth 2 score mate 1 nodes 61 nps 61000 time 1 pv a1a8",
    ["2/2", "#1", "61 kn/s", "1. Ra8#"]],
  ["R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", "info depth 5 seldepth 2 score mate -1 nodes 10 nps 999500 time 1 pv",
    ["5/2", "#1", "1.00 Mn/s", ""]],
  ["r5k1/8/8/8/8/8/5PPP/6K1 w - - 0 40", "info depth 7 seldepth 9 score mate -2 nodes 5 nps 5 time 1 pv g2g3 a8a1 g1g2",
    ["7/9", "#-2", "5 n/s", "40. g3 Ra1+ 41. Kg2"]],
  ["8/4P1k1/8/8/8/8/8/4K3 w - - 0 1", "info depth 4 seldepth 6 multipv 1 score cp 900 nodes 4000 nps 400000 time 10 pv e7e8n g7f7 e8d6",
    ["4/6", "+9.00", "400 kn/s", "1. e8=N+ Kf7 2. Nd6+"]],
  // The line stops at its first move that is not legal in the position.
  [START, "info depth 4 seldepth 4 score cp 12 nodes 4000 nps 400000 time 10 pv d2d4 d2d4 g8f6",
    ["4/4", "+0.12", "400 kn/s", "1. d4"]],
  // The tablebase answer at the root has no speed.
  ["8/8/8/8/8/2k5/8/K1Q5 b - - 0 1", "info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1 pv c3b3",
    ["1/1", "0.00", "", "1... Kb3"]],
]

test("an info line as the analysis shows it", () => {
  for (const [fen, line, expected] of ANALYSIS) {
    const info = parseInfo(line)
    const shown = [
      `${info.depth}/${info.seldepth}`,
      formatScore(whiteScore(info.score, fen.split(" ")[1])),
      info.nps === undefined ? "" : formatNps(info.nps),
      sanLine(fen, info.pv),
    ]
    assert.deepEqual(shown, expected, line)
  }
})

test("lines that carry no analysis", () => {
  for (const line of [
    "info string Syzygy disabled: unpaired tablebase file KQvK.rtbw in /tmp",
    "info depth 5",
    "info nodes 100 nps 100",
    "bestmove e2e4",
    "information",
  ]) assert.equal(parseInfo(line), null, line)
})

test("bestmove", () => {
  assert.deepEqual(parseBestmove("bestmove e7e8q"), {bestmove: "e7e8q"})
  assert.deepEqual(parseBestmove("bestmove e2e4 ponder e7e5"), {bestmove: "e2e4", ponder: "e7e5"})
  assert.deepEqual(parseBestmove("bestmove 0000"), {bestmove: null})
  assert.deepEqual(parseBestmove("bestmove"), {bestmove: null})
})

test("the engine's options", () => {
  const rows = [
    ["option name Style type combo default PeSTO var PeSTO var Linear",
      {name: "Style", type: "combo", default: "PeSTO", vars: ["PeSTO", "Linear"]}],
    ["option name Hash type spin default 256 min 1 max 2048",
      {name: "Hash", type: "spin", default: "256", min: "1", max: "2048", vars: []}],
    ["option name SyzygyPath type string default <empty>",
      {name: "SyzygyPath", type: "string", default: "<empty>", vars: []}],
    ["option name Move Overhead type combo default Two words var Two words var One",
      {name: "Move Overhead", type: "combo", default: "Two words", vars: ["Two words", "One"]}],
  ]
  for (const [line, expected] of rows) assert.deepEqual(parseOption(line), expected, line)
})

// Games from a first position: the position command the engine gets, the rows of the
// move list, and how the game ended. Each comes back whole from the address it leaves.
const GAMES = [
  [START, [], "position startpos", [], null],
  [START, ["e4", "e5", "Nf3"], "position startpos moves e2e4 e7e5 g1f3",
    [[1, "e4", "e5"], [2, "Nf3", ""]], null],
  [START, ["f3", "e5", "g4", "Qh4#"], "position startpos moves f2f3 e7e5 g2g4 d8h4",
    [[1, "f3", "e5"], [2, "g4", "Qh4#"]], {result: "0-1", reason: "checkmate"}],
  ["r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", ["O-O", "O-O-O"],
    "position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 moves e1g1 e8c8", [[1, "O-O", "O-O-O"]], null],
  ["4k3/1P6/8/8/8/8/8/4K3 b - - 3 60", ["Kd7", "b8=N+"],
    "position fen 4k3/1P6/8/8/8/8/8/4K3 b - - 3 60 moves e8d7 b7b8n", [[60, "", "Kd7"], [61, "b8=N+", ""]],
    {result: "1/2-1/2", reason: "insufficient material"}],
  ["7k/5Q2/8/8/8/8/8/K7 w - - 0 1", ["Qe6"], "position fen 7k/5Q2/8/8/8/8/8/K7 w - - 0 1 moves f7e6",
    [[1, "Qe6", ""]], null],
  ["7k/8/6Q1/8/8/8/8/K7 w - - 0 1", ["Qf7"], "position fen 7k/8/6Q1/8/8/8/8/K7 w - - 0 1 moves g6f7",
    [[1, "Qf7", ""]], {result: "1/2-1/2", reason: "stalemate"}],
  // Twice is not yet a repetition that ends the game; the third time is.
  [START, ["Nf3", "Nf6", "Ng1", "Ng8"], "position startpos moves g1f3 g8f6 f3g1 f6g8",
    [[1, "Nf3", "Nf6"], [2, "Ng1", "Ng8"]], null],
  [START, ["Nf3", "Nf6", "Ng1", "Ng8", "Nf3", "Nf6", "Ng1", "Ng8"],
    "position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8",
    [[1, "Nf3", "Nf6"], [2, "Ng1", "Ng8"], [3, "Nf3", "Nf6"], [4, "Ng1", "Ng8"]],
    {result: "1/2-1/2", reason: "threefold repetition"}],
  ["4k3/8/8/8/8/8/8/R3K3 w - - 99 80", ["Ra2"], "position fen 4k3/8/8/8/8/8/8/R3K3 w - - 99 80 moves a1a2",
    [[80, "Ra2", ""]], {result: "1/2-1/2", reason: "fifty-move rule"}],
  // A capture or pawn move on the hundredth half-move resets the count; a mate on it ends the game as mate.
  ["k7/8/1K6/8/8/8/8/7R w - - 99 80", ["Rh8#"], "position fen k7/8/1K6/8/8/8/8/7R w - - 99 80 moves h1h8",
    [[80, "Rh8#", ""]], {result: "1-0", reason: "checkmate"}],
]

// The game of a row as the page keeps it: a tree with the moves as its main line, and
// the id of the last one.
function gameTree(fen, moves) {
  const tree = createTree(fen)
  const chess = new Chess(fen)
  let id = ""
  for (const san of moves) {
    const {lan} = chess.move(san)
    id = addMove(tree, id, lan).id
  }
  return {tree, id}
}

test("games: position command, numbered moves, end and address", () => {
  for (const [fen, moves, command, rows, end] of GAMES) {
    const {tree, id} = gameTree(fen, moves)
    const request = {...(fen === START ? {} : {fen}), moves: movesTo(tree, id)}
    assert.equal(searchLines(request, 1)[0], command)
    const numbered = sanMoves(fen, request.moves).map(({number, san}) => (number ? `${number} ${san}` : san))
    assert.deepEqual(numbered, rows.flatMap(([number, white, black]) => [white && `${number}. ${white}`, black && (white ? black : `${number}... ${black}`)]).filter(Boolean), command)
    assert.deepEqual(gameEnd(pathTo(tree, id)), end, command)
    const fragment = gameFragment(tree, writePgn(tree))
    // An address keeps the fragment as it is: nothing in it for the browser to encode.
    assert.equal(new URL(fragment, "https://quillbrook.example/").hash, fragment, command)
    const {fen: openedFen, pgn} = gameFromFragment(fragment)
    const reopened = pgn ? readGame(pgn).tree : createTree(openedFen ?? START)
    assert.deepEqual([reopened.root.fen, movesTo(reopened, id)], [tree.root.fen, request.moves], command)
  }
})

test("addresses typed by hand", () => {
  const rows = [
    ["", {}],
    ["#", {}],
    ["#moves=e2e4", {}],
    ["#fen=8/8/8/8/8/8/8/K1k5_w_-_-_0_1", {fen: "8/8/8/8/8/8/8/K1k5 w - - 0 1"}],
    ["#fen=8/8/8/8/8/8/8/K1k5+b+-+-+0+1", {fen: "8/8/8/8/8/8/8/K1k5 b - - 0 1"}],
    ["#fen=8%2F8%2F8%2F8%2F8%2F8%2F8%2FK1k5%20w%20-%20-%200%201", {fen: "8/8/8/8/8/8/8/K1k5 w - - 0 1"}],
    ["#pgn=1.%20e4%20e5%202.%20Qh5%2B%20Ke7", {pgn: "1. e4 e5 2. Qh5+ Ke7"}],
    ["#pgn=1.e4 e5 2.Qh5+", {pgn: "1.e4 e5 2.Qh5+"}],
    // Read as they are: the page's readers of FEN and PGN say what is wrong with them.
    ["#fen=8/8/8/8/8/8/8/K7_w_-_-_0_1", {fen: "8/8/8/8/8/8/8/K7 w - - 0 1"}],
    ["#pgn=1.%20e4%20e5%202.%20Ke3", {pgn: "1. e4 e5 2. Ke3"}],
    ["#pgn=%E0%A4%A", {error: "the address's pgn is not encoded text"}],
  ]
  for (const [hash, expected] of rows) assert.deepEqual(gameFromFragment(hash), expected, hash)
})
