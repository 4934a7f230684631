// PGN in and out: files read and written as expected, broken games reported and
// skipped, what is written read back as the same tree, and the parser loaded as a
// browser loads it.
import {test} from "node:test"
import assert from "node:assert/strict"
import {execFileSync} from "node:child_process"
import {readFileSync} from "node:fs"
import {readGame, readPgn, writePgn} from "../core/chess/pgn.js"
import {addMove, createTree, mainLine, nodeAt} from "../core/chess/tree.js"

const data = name => readFileSync(new URL(`data/${name}`, import.meta.url), "utf8")
const attached = node => node.data?.eval

// Each file's one game, written with its evaluations: nested variations and comments,
// a game from a FEN with Black to move, and a long line with a longer word in it.
test("files read and written as expected, and what is written reads back the same", () => {
  for (const name of ["opera", "from-fen", "long"]) {
    const {games, skipped} = readPgn(data(`${name}.pgn`))
    assert.deepEqual(skipped, [], name)
    const written = writePgn(games[0].tree, {tags: games[0].tags, evaluation: attached})
    assert.equal(written, data(`${name}.out.pgn`), name)
    for (const line of written.split("\n")) assert.ok(line.length <= 80 || !line.includes(" "), `${name}: ${line}`)
    assert.deepEqual(readGame(written).tree, games[0].tree, name)
  }
})

test("a file of several games: the good ones read, the broken ones reported with their number and first line", () => {
  const {games, skipped} = readPgn(data("several.pgn"))
  assert.deepEqual(
    games.map(({number, line, tags, tree}) => [number, line, tags.White, tags.Result, mainLine(tree).length - 1]),
    [
      [1, 1, 'A "the Rook" Player', "1/2-1/2", 6],
      [5, 24, undefined, "0-1", 4],
      [6, 27, undefined, "*", 3],
    ],
  )
  assert.equal(nodeAt(games[0].tree, "e2e4/e7e5/g1f3/b8c6").comment, "a comment with [brackets], (parentheses) and 1-0 in it")
  assert.deepEqual(skipped, [
    {number: 2, line: 9, firstLine: '[Event "Illegal move"]', reason: "illegal move 3. Ke3"},
    {number: 3, line: 14, firstLine: '[Event "Broken tag]', reason: 'unexpected "[" at line 15, column 1'},
    {number: 4, line: 19, firstLine: '[Event "Broken FEN"]', reason: 'Invalid FEN "8/8/8/8/8/8/8/8 w - - 0 1": each side needs exactly one king'},
    {number: 7, line: 30, firstLine: '[Event "Broken variation"]', reason: "unexpected end of game at line 32, column 24"},
  ])
  assert.deepEqual(readPgn(""), {games: [], skipped: []})
})

// Movetext read -> the tree: each move with its [NAGs], {comment} and evaluation, the
// variations in parentheses after the move they stand beside.
const ANNOTATIONS = [
  ["1. e4! e5? 2. Nf3!! Nc6?? 3. Bb5!? a6?! *", "e4 [1] e5 [2] Nf3 [3] Nc6 [4] Bb5 [5] a6 [6]"],
  ["1. e4 $1 e5?! $14 $32 *", "e4 [1] e5 [6,14,32]"],
  ["1. e4 {one} {two\n  lines} ({a} 1. d4 {b}) e5 *", "e4 {one two lines} (d4 {a b}) e5"],
  ["{[%eval 0.25] before} 1. e4 {[%eval -1.5]} e5 {[%clk 0:01:00] [%eval #-4] kept} *", "{before} 0.25 e4 -1.50 e5 {kept} #-4"],
  ["1. e4 e5 (1... c5 2. Nf3 (2. c3) d6) (1... e6) 2. Nf3 1-0", "e4 e5 (c5 Nf3 (c3) d6) (e6) Nf3"],
]

function describe(node) {
  const evaluation = node.data?.eval
  return [
    node.move?.san,
    node.nags && `[${node.nags}]`,
    node.comment && `{${node.comment}}`,
    evaluation && (evaluation.mate !== undefined ? `#${evaluation.mate}` : (evaluation.cp / 100).toFixed(2)),
  ].filter(Boolean).join(" ")
}

function render(node) {
  const words = [describe(node)]
  for (let [main, ...variations] = node.children; main; [main, ...variations] = main.children) {
    words.push(describe(main), ...variations.map(variation => `(${render(variation)})`))
  }
  return words.filter(Boolean).join(" ")
}

test("suffixes, NAGs, comments, evaluations and variations read", () => {
  for (const [pgn, expected] of ANNOTATIONS) assert.equal(render(readGame(pgn).tree.root), expected, pgn)
})

test("what is written reads back as the same tree: from Black's move, comments everywhere, every NAG, evaluations", () => {
  const game = createTree("r3k2r/pppq1ppp/2n5/3pp3/8/2N5/PPPP1PPP/R1BQK2R b KQkq - 3 9")
  game.root.comment = "Black to move, a comment before the first move"
  const moves = {"": ["O-O-O", "O-O", "d4"], "e8c8": ["Qg4", "Nb5"], "e8c8/d1g4": ["Qxg4"], "e8g8": ["O-O"], "d5d4": ["Nd5"]}
  for (const [id, list] of Object.entries(moves)) for (const move of list) addMove(game, id, move)
  const annotations = [
    ["e8c8", [6, 14], "a } that must go", {cp: 31}],
    ["e8c8/d1g4", [14, 2], "", {cp: -5}],
    ["e8c8/c3b5", [4], "", {mate: -3}],
    ["e8g8", [1, 3, 5, 146], "a variation's comment", {cp: 0}],
    ["e8g8/e1g1", [], "", {mate: 2}],
    ["e8c8/d1g4/d7g4", [2, 6], "after two", {cp: -200}],
  ]
  for (const [id, nags, comment, evaluation] of annotations) {
    const node = nodeAt(game, id)
    if (nags.length) node.nags = nags
    if (comment) node.comment = comment
    node.data = {eval: evaluation}
  }
  const tags = {White: 'Back\\slash "Quoted"', Black: "B", Result: "0-1", Opening: "?"}
  const written = writePgn(game, {tags, evaluation: attached})
  assert.equal(
    written.split("\n\n")[1],
    [
      "{Black to move, a comment before the first move} 9... O-O-O?! $14 {[%eval 0.31]",
      "a that must go} (9... O-O $1 $3 $5 $146 {[%eval 0.00] a variation's comment}",
      "10. O-O {[%eval #2]}) (9... d4 10. Nd5) 10. Qg4 $14 $2 {[%eval -0.05]}",
      "(10. Nb5?? {[%eval #-3]}) 10... Qxg4? $6 {[%eval -2.00] after two} 0-1",
      "",
    ].join("\n"),
  )
  const back = readGame(written)
  nodeAt(game, "e8c8").comment = "a that must go"
  assert.deepEqual(back.tree, game)
  assert.deepEqual(back.tags, {Event: "?", Site: "?", Date: "????.??.??", Round: "?", ...tags, SetUp: "1", FEN: game.root.fen})

  assert.equal(writePgn(createTree()), '[Event "?"]\n[Site "?"]\n[Date "????.??.??"]\n[Round "?"]\n[White "?"]\n[Black "?"]\n[Result "*"]\n\n*\n')
})

// The page loads its libraries as modules through an import map, with no bundler:
// the parser, which ships as UMD, must work that way too.
test("the parser works loaded as a browser loads it, as a module with no exports", () => {
  const umd = new URL("../node_modules/@mliebelt/pgn-parser/lib/index.umd.js", import.meta.url).href
  const hooks = `export async function resolve(specifier, context, next) {
    return specifier === "@mliebelt/pgn-parser" ? {url: "${umd}?module", format: "module", shortCircuit: true} : next(specifier, context)
  }`
  const script = `import {register} from "node:module"
    register("data:text/javascript," + encodeURIComponent(${JSON.stringify(hooks)}))
    const {readPgn} = await import(${JSON.stringify(new URL("../core/chess/pgn.js", import.meta.url).href)})
    const {games} = readPgn("1. e4 (1. d4) e5 *")
    console.log(typeof globalThis.PgnParser, games[0].tree.root.children.length)`
  const output = execFileSync(process.execPath, ["--input-type=module", "-e", script], {encoding: "utf8"})
  assert.equal(output.trim(), "object 2")
})
