// The game as a tree of moves, knowing nothing of the board or the engine.
//
// A tree is plain data, {root}, and so is each node:
//   {id, ply, fen, move: {san, uci} (null at the root), children, comment?, nags?, data?}
// The first child is the main continuation, the others are variations. `nags` are
// numbers (2 for "?"); `data` holds what others attach (an evaluation, say), which the
// tree keeps without reading. A node's id is the path of its moves in coordinates
// from the first position, "e2e4/e7e5" ("" for the root): it stays the node's while the
// node exists, whatever is promoted or deleted, and the same game always gets the
// same ids. JSON.stringify(tree) saves a tree; treeFromJSON reads it back.
import {Chess, DEFAULT_POSITION} from "chess.js"
import {fenProblem} from "../fen.js"

const COORDINATES = /^([a-h][1-8])([a-h][1-8])([nbrq])?$/

// The one board every move is played on, loaded with the position before it.
const board = new Chess()

// The ply of a position: 0 before White's first move, 1 before Black's.
function plyOf(fen) {
  const [, side, , , , fullmove] = fen.split(" ")
  return 2 * (Number(fullmove) - 1) + (side === "b" ? 1 : 0)
}

// A tree holding only its first position; throws when the FEN is not a legal position.
export function createTree(fen = DEFAULT_POSITION) {
  const problem = fenProblem(fen)
  if (problem) throw new Error(`Invalid FEN "${fen}": ${problem}`)
  board.load(fen)
  const start = board.fen()
  return {root: {id: "", ply: plyOf(start), fen: start, move: null, children: []}}
}

// `move` (SAN such as "Nf3" or "e8=Q+", coordinates such as "g1f3" or "e7e8q", or
// chess.js's {from, to, promotion}) played in `fen`: {san, uci, fen}. Throws when it
// is not a legal move there.
function play(fen, move) {
  board.load(fen)
  const coordinates = typeof move === "string" && COORDINATES.exec(move)
  let played = null
  try {
    played = board.move(coordinates ? {from: coordinates[1], to: coordinates[2], promotion: coordinates[3]} : move)
  } catch {}
  // chess.js plays "--" as a null move and lets "e2e4q" through as e2e4: neither is a move.
  if (!played || played.san === "--" || (coordinates && played.lan !== move)) {
    throw new Error(`${JSON.stringify(move)} is not a legal move in ${fen}`)
  }
  return {san: played.san, uci: played.lan, fen: board.fen()}
}

// The child of `node` reached by `move`: the one there already, or a new one after the
// others (a new variation when the node has a continuation). Throws on an illegal move.
export function addChild(node, move) {
  const {san, uci, fen} = play(node.fen, move)
  const existing = node.children.find(child => child.move.uci === uci)
  if (existing) return existing
  const child = {id: node.id ? `${node.id}/${uci}` : uci, ply: node.ply + 1, fen, move: {san, uci}, children: []}
  node.children.push(child)
  return child
}

// The nodes from the root to the node `id`, or undefined when there is no such node.
// pathTo(tree, "e2e4/e7e5") -> [root, e4, e5]
export function pathTo(tree, id) {
  const path = [tree.root]
  for (const uci of id ? id.split("/") : []) {
    const next = path[path.length - 1].children.find(child => child.move.uci === uci)
    if (!next) return undefined
    path.push(next)
  }
  return path
}

// nodeAt(tree, "e2e4") -> the node after 1. e4, or undefined
export function nodeAt(tree, id) {
  return pathTo(tree, id)?.at(-1)
}

function knownPath(tree, id) {
  const path = pathTo(tree, id)
  if (!path) throw new Error(`no move ${JSON.stringify(id)} in this game`)
  return path
}

// addMove(tree, "e2e4", "e5") -> the node "e2e4/e7e5"
export function addMove(tree, id, move) {
  return addChild(knownPath(tree, id).at(-1), move)
}

// parentOf(tree, "e2e4/e7e5") -> the node "e2e4"; undefined for the root
export function parentOf(tree, id) {
  return id ? knownPath(tree, id).at(-2) : undefined
}

// The node and its main continuation to the end: mainLine(tree) is the game's main line.
export function mainLine(tree, id = "") {
  const line = [knownPath(tree, id).at(-1)]
  while (line[line.length - 1].children.length) line.push(line[line.length - 1].children[0])
  return line
}

// The moves beside the node, itself among them, in order (what ↑ and ↓ step through).
export function siblings(tree, id) {
  return parentOf(tree, id)?.children ?? [tree.root]
}

// The first node of the line the node is on: the first move of its variation, or the
// root on the main line.
export function lineStart(tree, id) {
  const path = knownPath(tree, id)
  let i = path.length - 1
  while (i > 0 && path[i - 1].children[0] === path[i]) i--
  return path[i]
}

// The last node of the line the node is on.
export function lineEnd(tree, id) {
  return mainLine(tree, id).at(-1)
}

// Puts the line holding the node first at its forks: at the nearest one only, or at
// every one up to the root. True when something moved.
function promote(tree, id, everyFork) {
  const path = knownPath(tree, id)
  let moved = false
  for (let i = path.length - 1; i > 0; i--) {
    const children = path[i - 1].children
    const index = children.indexOf(path[i])
    if (index === 0) continue
    children.splice(index, 1)
    children.unshift(path[i])
    moved = true
    if (!everyFork) break
  }
  return moved
}

// The variation holding the node becomes the main continuation where it branches off.
export function promoteVariation(tree, id) {
  return promote(tree, id, false)
}

// The line through the node becomes the game's main line.
export function makeMainLine(tree, id) {
  return promote(tree, id, true)
}

// Removes the node and everything after it; returns its parent.
export function deleteNode(tree, id) {
  if (!id) throw new Error("the first position cannot be deleted")
  const path = knownPath(tree, id)
  const parent = path[path.length - 2]
  parent.children.splice(parent.children.indexOf(path[path.length - 1]), 1)
  return parent
}

// The moves from the first position to the node, in coordinates, as the engine is
// given them with the tree's root.fen: movesTo(tree, "e2e4/e7e5") -> ["e2e4", "e7e5"]
export function movesTo(tree, id) {
  return knownPath(tree, id)
    .slice(1)
    .map(node => node.move.uci)
}

// Each position of the main line, the first position included: {id, ply, fen, move,
// moves}, with `move` the one played to reach it and `moves` all of them from the root.
export function mainLinePositions(tree) {
  const moves = []
  return mainLine(tree).map(({id, ply, fen, move}) => {
    if (move) moves.push(move.uci)
    return {id, ply, fen, move, moves: [...moves]}
  })
}

// The tree saved as JSON.stringify(tree), read back (text or parsed). The moves are
// played again, so what comes back is a tree of legal moves with its ids, comments,
// NAGs and data; anything else (a FEN or SAN written by hand) is recomputed. Throws
// on what is not such a tree.
export function treeFromJSON(saved) {
  const value = typeof saved === "string" ? JSON.parse(saved) : saved
  if (!value?.root?.fen) throw new Error("not a saved move tree")
  const tree = createTree(value.root.fen)
  const copy = (from, to) => {
    for (const key of ["comment", "nags", "data"]) if (from[key] !== undefined) to[key] = from[key]
    for (const child of from.children ?? []) copy(child, addChild(to, child.move?.uci))
  }
  copy(value.root, tree.root)
  return tree
}
