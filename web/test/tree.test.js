// The move tree: a session of moves, navigation and edits, each with what it returns,
// and the positions and saved form that the engine, the review and the browser use.
import {test} from "node:test"
import assert from "node:assert/strict"
import * as tree from "../core/chess/tree.js"

// "call args -> result": the result of tree.call(game, ...args), a node shown by its id
// ("." for the root, also as an argument), nodes and moves by a list of them, an error
// by its message. "show -> ..." is the whole tree: main moves with the variations
// beside each in parentheses.
const SESSION = `
addMove . e4 -> e2e4
addMove . e2e4 -> e2e4
addMove e2e4 e5 -> e2e4/e7e5
addMove . d4 -> d2d4
addMove . c2c4 -> c2c4
addMove d2d4 Nf6 -> d2d4/g8f6
addMove d2d4 d7d5 -> d2d4/d7d5
addMove e2e4/e7e5 Nf3 -> e2e4/e7e5/g1f3
show -> e4 (d4 Nf6 (d5)) (c4) e5 Nf3
addMove e2e4 Ke3 -> error "Ke3" is not a legal move in rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1
addMove e2e4 e7e5q -> error "e7e5q" is not a legal move in rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1
addMove e2e4 -- -> error "--" is not a legal move in rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1
addMove e2e4/e2e4 e5 -> error no move "e2e4/e2e4" in this game
nodeAt d2d4/e7e5 -> none
pathTo e2e4/e7e5/g1f3 -> . e2e4 e2e4/e7e5 e2e4/e7e5/g1f3
parentOf e2e4/e7e5 -> e2e4
parentOf . -> none
mainLine . -> . e2e4 e2e4/e7e5 e2e4/e7e5/g1f3
mainLine d2d4 -> d2d4 d2d4/g8f6
siblings d2d4 -> e2e4 d2d4 c2c4
siblings . -> .
lineStart e2e4/e7e5/g1f3 -> .
lineStart d2d4/g8f6 -> d2d4
lineStart d2d4/d7d5 -> d2d4/d7d5
lineEnd d2d4 -> d2d4/g8f6
movesTo d2d4/d7d5 -> d2d4 d7d5
movesTo . -> none
promoteVariation d2d4/d7d5 -> true
show -> e4 (d4 d5 (Nf6)) (c4) e5 Nf3
promoteVariation d2d4/d7d5 -> true
show -> d4 (e4 e5 Nf3) (c4) d5 (Nf6)
promoteVariation d2d4/d7d5 -> false
addMove d2d4/g8f6 c4 -> d2d4/g8f6/c2c4
addMove d2d4/g8f6 Nf3 -> d2d4/g8f6/g1f3
makeMainLine c2c4 -> true
show -> c4 (d4 d5 (Nf6 c4 (Nf3))) (e4 e5 Nf3)
makeMainLine d2d4/g8f6/g1f3 -> true
show -> d4 (c4) (e4 e5 Nf3) Nf6 (d5) Nf3 (c4)
lineStart d2d4/g8f6/c2c4 -> d2d4/g8f6/c2c4
deleteNode d2d4/g8f6 -> d2d4
show -> d4 (c4) (e4 e5 Nf3) d5
deleteNode . -> error the first position cannot be deleted
`

function show(node) {
  const words = []
  for (let [main, ...variations] = node.children; main; [main, ...variations] = main.children) {
    words.push(main.move.san, ...variations.map(variation => `(${[variation.move.san, show(variation)].join(" ").trim()})`))
  }
  return words.join(" ")
}

function describe(value) {
  if (value === undefined) return "none"
  if (Array.isArray(value)) return value.map(describe).join(" ") || "none"
  if (typeof value === "object") return value.id || "."
  return String(value)
}

test("a session of moves, navigation and edits", () => {
  const game = tree.createTree()
  const calls = {...tree, show: () => show(game.root)}
  const lines = SESSION.trim().split("\n")
  const got = lines.map(line => {
    const [call, ...args] = line.split(" -> ")[0].split(" ")
    let result
    try {
      result = describe(calls[call](game, ...args.map(arg => (arg === "." ? "" : arg))))
    } catch (error) {
      result = `error ${error.message}`
    }
    return `${line.split(" -> ")[0]} -> ${result}`
  })
  assert.deepEqual(got, lines)
})

test("moves from a position: SAN and coordinates, numbering, what the engine and a review are given", () => {
  const game = tree.createTree("r3k3/1P6/8/3pP3/8/8/8/R3K2R w KQq d6 0 30")
  let id = ""
  for (const move of ["exd6", "Kf7", "b8=Q", "a8b8", "O-O"]) id = tree.addMove(game, id, move).id
  tree.addMove(game, "e5d6", "a8a1")
  tree.addMove(game, "e5d6", "e8d8")
  assert.deepEqual(
    tree.mainLinePositions(game).map(({id, ply, fen, move, moves}) => [ply, move?.san, move?.uci, fen, moves.join(" ")]),
    [
      [58, undefined, undefined, "r3k3/1P6/8/3pP3/8/8/8/R3K2R w KQq d6 0 30", ""],
      [59, "exd6", "e5d6", "r3k3/1P6/3P4/8/8/8/8/R3K2R b KQq - 0 30", "e5d6"],
      [60, "Kf7", "e8f7", "r7/1P3k2/3P4/8/8/8/8/R3K2R w KQ - 1 31", "e5d6 e8f7"],
      [61, "b8=Q", "b7b8q", "rQ6/5k2/3P4/8/8/8/8/R3K2R b KQ - 0 31", "e5d6 e8f7 b7b8q"],
      [62, "Rxb8", "a8b8", "1r6/5k2/3P4/8/8/8/8/R3K2R w KQ - 0 32", "e5d6 e8f7 b7b8q a8b8"],
      [63, "O-O+", "e1g1", "1r6/5k2/3P4/8/8/8/8/R4RK1 b - - 1 32", "e5d6 e8f7 b7b8q a8b8 e1g1"],
    ],
  )
  assert.deepEqual(
    tree.nodeAt(game, "e5d6").children.map(child => child.move.san),
    ["Kf7", "Rxa1+", "Kd8"],
  )
})

test("a first position that is not a legal one is refused", () => {
  assert.throws(() => tree.createTree("4k3/8/8/8/8/8/4R3/4K3 w - - 0 1"), /Invalid FEN .*the side not to move is in check/)
  assert.throws(() => tree.createTree("8/8/8/8/8/8/8/8 w - - 0 1"), /Invalid FEN/)
  assert.equal(tree.createTree("4k3/8/8/8/8/8/4P3/4K3 b - -").root.fen, "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1")
})

test("saved as JSON and read back: ids, comments, NAGs and attached data kept, the rest played again", () => {
  const game = tree.createTree()
  const e5 = tree.addMove(game, tree.addMove(game, "", "e4").id, "e5")
  tree.addMove(game, "e2e4", "c5").nags = [1]
  e5.comment = "the usual reply"
  e5.nags = [6, 14]
  e5.data = {eval: {cp: 31}, review: {verdict: "Inaccuracy"}}
  game.root.comment = "before the first move"
  const text = JSON.stringify(game)
  assert.deepEqual(tree.treeFromJSON(text), game)
  assert.deepEqual(tree.treeFromJSON(JSON.parse(text)), game)

  // What can be derived is, whatever the saved text says.
  const edited = JSON.parse(text)
  edited.root.children[0].fen = "8/8/8/8/8/8/8/8 w - - 0 1"
  edited.root.children[0].move.san = "Qh5"
  edited.root.children[0].id = "x"
  assert.deepEqual(tree.treeFromJSON(edited), game)

  const illegal = JSON.parse(text)
  illegal.root.children[0].children[0].move.uci = "e2e4"
  assert.throws(() => tree.treeFromJSON(illegal), /"e2e4" is not a legal move/)
  assert.throws(() => tree.treeFromJSON({}), /not a saved move tree/)
})
