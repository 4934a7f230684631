// The games of PGN inputs, read as streams: a file of a million games is never held
// whole, only the game being read and the part of the input that follows it.
import {createHash} from "node:crypto"
import {createReadStream} from "node:fs"
import {splitGames, readGame} from "../core/chess/pgn.js"
import {mainLinePositions} from "../core/chess/tree.js"

// An input by name: "-" is standard input, anything else a file.
export function openInput(name) {
  if (name === "-") return {name: "standard input", stream: () => process.stdin.setEncoding("utf8")}
  return {name, stream: () => createReadStream(name, {encoding: "utf8"})}
}

// The games of `inputs` ({name, stream()}) in turn, numbered on from 1 across them:
// {number, input, line, firstLine, text, hash}. The hash names the game's text, so
// that a result saved for it is never taken for another game's.
export async function* readGames(inputs) {
  let number = 0
  for (const input of inputs) {
    let buffer = ""
    let line = 1
    const take = game => ({
      number: ++number,
      input: input.name,
      line: line + game.line - 1,
      firstLine: game.firstLine,
      text: game.text,
      hash: createHash("sha1").update(game.text).digest("hex"),
    })
    for await (const chunk of input.stream()) {
      buffer += chunk
      // The last game found may go on in the next chunk: it is kept until a game
      // after it starts, or the input ends.
      const games = splitGames(buffer)
      if (games.length < 2) continue
      for (const game of games.slice(0, -1)) yield take(game)
      const last = games.at(-1)
      line += last.line - 1
      buffer = buffer.slice(last.start)
    }
    for (const game of splitGames(buffer)) yield take(game)
  }
}

// The game read from its text: {tags, tree, game: {fen, moves}}, the moves of its main
// line in coordinates as the review takes them. Throws an Error saying why a game
// cannot be reviewed.
export function parseGame({text, line}) {
  const {tags, tree} = readGame(text, line)
  const moves = mainLinePositions(tree)
    .slice(1)
    .map(position => position.move.uci)
  if (moves.length === 0) throw new Error("no moves")
  return {tags, tree, game: {fen: tree.root.fen, moves}}
}
