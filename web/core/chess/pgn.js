// PGN in and out: the games of a PGN text read into move trees, and a tree written
// as PGN.
//
// Reading leans on @mliebelt/pgn-parser for the syntax (chess.js reads only a game's
// main line) and on the tree for the rules. What the parser takes apart is put back
// as the tree keeps it: the comments of a move in one comment, with their blanks
// made single spaces, the suffixes "!" to "?!" as NAGs 1 to 6, and an evaluation
// [%eval 0.31] or [%eval #-3] as node.data.eval = {cp: 31} or {mate: -3}; other
// commands in comments ([%clk], arrows) are dropped.
import * as parser from "@mliebelt/pgn-parser"
import {DEFAULT_POSITION} from "chess.js"
import {addChild, createTree} from "./tree.js"

// The parser ships as UMD: Node and bundlers see its exports, while a browser that
// loads it as a module gets none, and finds it as the global it sets instead.
const {parseGame} = parser.parseGame ? parser : globalThis.PgnParser

const ROSTER = {Event: "?", Site: "?", Date: "????.??.??", Round: "?", White: "?", Black: "?", Result: "*"}
const RESULTS = ["1-0", "0-1", "1/2-1/2", "*"]
// The NAGs written as suffixes of the move; the others are written "$n".
const SUFFIXES = {2: "?", 4: "??", 6: "?!"}
const WIDTH = 80

// What splitting steps over whole: a comment in braces or after ";" (either may hold
// "[" or a result), a line of tags (however broken), a parenthesis, or a word.
const PIECE = /\{[^}]*\}?|;[^\n]*|^[ \t]*\[[^\n]*|[()]|[^\s{};()]+/gm

// The games of a PGN text as {number, line, start, firstLine, text}, numbered from 1,
// `line` and `start` (an offset) being where the game starts in the text. A game ends
// with its result, or where the tags of the next one start.
export function splitGames(text) {
  const games = []
  let start = null
  let moves = false
  let depth = 0
  // Lines are counted on from the last game's start, so that a long file is read once.
  let line = 1
  let counted = 0
  const end = at => {
    if (start === null) return
    line += text.slice(counted, start).split("\n").length - 1
    counted = start
    const body = text.slice(start, at)
    games.push({number: games.length + 1, line, start, firstLine: body.split("\n", 1)[0].trim(), text: body})
    ;[start, moves, depth] = [null, false, 0]
  }
  for (const {0: piece, index} of text.matchAll(PIECE)) {
    const tag = piece.trimStart()[0] === "["
    if (tag && moves) end(index)
    if (start === null && (piece[0] === "{" || piece[0] === ";")) continue
    start ??= index
    if (piece === "(") depth++
    else if (piece === ")") depth--
    else if (depth === 0 && RESULTS.includes(piece)) end(index + piece.length)
    else if (!tag) moves = true
  }
  end(text.length)
  return games
}

// "12." before White's move, "12..." before Black's, for the node reached by the move.
function moveNumber(ply) {
  return ply % 2 === 1 ? `${(ply + 1) / 2}.` : `${ply / 2}...`
}

// {cp} or {mate} from what the parser found in [%eval ...], which is White's view.
function readEval(value) {
  if (typeof value === "string" && value.startsWith("#")) return {mate: Number.parseInt(value.slice(1))}
  const pawns = Number.parseFloat(value)
  return Number.isFinite(pawns) ? {cp: Math.round(pawns * 100)} : undefined
}

// Puts what the parser found around a move (or before the first one) on its node.
function annotate(node, {commentMove, commentBefore, commentAfter, commentDiag, nag}) {
  const comment = [commentMove, commentBefore, commentDiag ? commentDiag.comment : commentAfter]
    .filter(Boolean)
    .join(" ")
    .replace(/\s+/g, " ")
    .trim()
  if (comment) node.comment = comment
  if (nag?.length) node.nags = nag.map(text => Number(text.slice(1)))
  const evaluation = readEval(commentDiag?.eval)
  if (evaluation) node.data = {...node.data, eval: evaluation}
}

// Adds a line of parsed moves after `node`, with the variations beside each move.
function addLine(node, moves) {
  for (const move of moves) {
    let child
    try {
      child = addChild(node, move.notation.notation)
    } catch {
      throw new Error(`illegal move ${moveNumber(node.ply + 1)} ${move.notation.notation}`)
    }
    annotate(child, move)
    for (const variation of move.variations) addLine(node, variation)
    node = child
  }
}

// The tag pairs at the start of a game as written: the parser's own reading turns some
// into dates and numbers, and "-" into 0. The result is the parser's: the game's end
// marker wins over the tag.
function readTags(text) {
  const tag = /\s*\[\s*(\w+)\s+"((?:\\.|[^"\\])*)"\s*\]/y
  const tags = {}
  for (let match; (match = tag.exec(text)); ) tags[match[1]] = match[2].replace(/\\(.)/g, "$1")
  return tags
}

// One game's PGN as {tags, tree}; throws an Error saying what is wrong, with lines
// counted from `firstLine`.
export function readGame(text, firstLine = 1) {
  let parsed
  try {
    parsed = parseGame(text)
  } catch (error) {
    const where = error.location?.start
    if (!where) throw error
    const what = error.found === null ? "end of game" : JSON.stringify(error.found)
    throw new Error(`unexpected ${what} at line ${firstLine + where.line - 1}, column ${where.column}`)
  }
  const tags = readTags(text)
  if (typeof parsed.tags?.Result === "string") tags.Result = parsed.tags.Result
  const tree = createTree(tags.FEN)
  if (parsed.gameComment) annotate(tree.root, {commentDiag: parsed.gameComment})
  addLine(tree.root, parsed.moves)
  return {tags, tree}
}

// Every game of a PGN text: {games: [{number, line, tags, tree}], skipped: [{number,
// line, firstLine, reason}]}, a game that cannot be read being skipped with the reason.
export function readPgn(text) {
  const games = []
  const skipped = []
  for (const {number, line, firstLine, text: body} of splitGames(text)) {
    try {
      games.push({number, line, ...readGame(body, line)})
    } catch (error) {
      skipped.push({number, line, firstLine, reason: error.message})
    }
  }
  return {games, skipped}
}

// "0.31", "-2.00" or "#-3".
function writeEval({cp, mate}) {
  return mate !== undefined ? `#${mate}` : (cp / 100).toFixed(2)
}

// The tag pairs: the seven of the roster first, then the first position where it is
// not the usual one, then the others as given.
function tagSection(tags, fen) {
  const {SetUp, FEN, ...given} = tags
  const start = fen === DEFAULT_POSITION ? {} : {SetUp: "1", FEN: fen}
  return Object.entries({...ROSTER, ...start, ...given}).map(([name, value]) => `[${name} "${String(value).replace(/[\\"]/g, "\\$&")}"]`)
}

// Words joined into lines of at most `width` characters; a longer word has its own line.
function wrap(words, width) {
  const lines = []
  let line = ""
  for (const word of words) {
    if (line && line.length + 1 + word.length > width) {
      lines.push(line)
      line = word
    } else {
      line = line ? `${line} ${word}` : word
    }
  }
  return [...lines, line]
}

// The tree as PGN text. `tags` are the game's tag pairs (SetUp and FEN come from the
// tree); `evaluation(node)` gives what to write as [%eval] for a node: {cp} or {mate}
// from White's side, or nothing.
export function writePgn(tree, {tags = {}, evaluation = () => undefined} = {}) {
  const words = []
  let opening = ""
  const say = word => {
    words.push(opening + word)
    opening = ""
  }

  // The node's comments: the evaluation first, then the text; true when there were any.
  const comment = node => {
    const found = evaluation(node)
    const text = [found && `[%eval ${writeEval(found)}]`, node.comment?.replaceAll("}", "")].filter(Boolean).join(" ")
    const parts = text.split(/\s+/).filter(Boolean)
    if (parts.length === 0) return false
    parts[0] = `{${parts[0]}`
    parts[parts.length - 1] += "}"
    parts.forEach(say)
    return true
  }

  // The move that reached `node`, with its number when it is White's or `numbered`;
  // true when a comment followed, after which Black's move needs its number again.
  const move = (node, numbered) => {
    const [first, ...rest] = node.nags ?? []
    const suffix = SUFFIXES[first]
    const san = node.move.san + (suffix ?? "")
    say(numbered || node.ply % 2 === 1 ? `${moveNumber(node.ply)} ${san}` : san)
    for (const nag of suffix ? rest : node.nags ?? []) say(`$${nag}`)
    return comment(node)
  }

  // Everything after `node`: its main continuation, with the variations at each fork.
  const continuation = (node, numbered) => {
    for (let [main, ...variations] = node.children; main; [main, ...variations] = main.children) {
      numbered = move(main, numbered)
      for (const variation of variations) {
        opening += "("
        continuation(variation, move(variation, true))
        words[words.length - 1] += ")"
      }
      numbered ||= variations.length > 0
    }
  }

  comment(tree.root)
  continuation(tree.root, true)
  const result = RESULTS.includes(tags.Result) ? tags.Result : "*"
  say(result)
  return `${tagSection({...tags, Result: result}, tree.root.fen).join("\n")}\n\n${wrap(words, WIDTH).join("\n")}\n`
}
