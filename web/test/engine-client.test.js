// The engine client against a scripted transport: what it sends, and what each
// caller gets back. One search at a time, options and new games between searches.
import {test} from "node:test"
import assert from "node:assert/strict"
import {createEngineClient, searchLines} from "../core/engine-client.js"

// ">" a line the client sends; "<" a line from the engine; "! #N call" what a caller
// asks (analyse N is numbered: its info lines show as "= #N info ..." and its end as
// "= #N ..."); "= ..." what a caller is told; "x status" the engine ends.
const SESSION = `
> uci
< id name Quillbrook v37
< id author You
< option name Hash type spin default 256 min 1 max 2048
< option name Style type combo default PeSTO var PeSTO var Linear
< uciok
> setoption name Hash value 16
> isready
< readyok
= ready Quillbrook v37: Hash Style(PeSTO Linear)
! #1 analyse {"depth": 2}
> position startpos
> go depth 2
< info depth 1 seldepth 1 score cp 20 nodes 20 nps 20000 time 1 pv e2e4
= #1 info 1 depth 1 cp 20 e2e4
< info string a message, not a line of play
< info depth 2 seldepth 3 hashfull 12 score cp 31 lowerbound nodes 60 nps 30000 time 2 currmove e2e4 pv e2e4 e7e5
= #1 info 1 depth 2 cp 31 e2e4 e7e5
< bestmove e2e4 ponder e7e5
= #1 bestmove e2e4 ponder e7e5 | 1: depth 2 cp 31 e2e4 e7e5
! #2 analyse {"fen": "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "moves": ["e2e4"], "infinite": true}
> position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4
> go infinite
< info depth 1 seldepth 1 score cp -90 nodes 5 nps 5000 time 1 pv e8d7
= #2 info 1 depth 1 cp -90 e8d7
! setOption Style Linear
! #3 analyse {"multipv": 3, "nodes": 5000}
> stop
! #4 analyse {"multipv": 2, "movetime": 100}
= #3 bestmove none | 
< info depth 2 seldepth 2 score cp -95 nodes 50 nps 50000 time 1 pv e8e7
= #2 info 1 depth 2 cp -95 e8e7
< bestmove e8e7
> setoption name Style value Linear
> setoption name MultiPV value 2
> position startpos
> go movetime 100
= #2 bestmove e8e7 | 1: depth 2 cp -95 e8e7
< info depth 1 seldepth 1 multipv 1 score cp 20 nodes 20 nps 20000 time 1 pv e2e4
= #4 info 1 depth 1 cp 20 e2e4
< info depth 1 seldepth 1 multipv 2 score mate -3 nodes 40 nps 20000 time 2 pv d2d4
= #4 info 2 depth 1 mate -3 d2d4
< info depth 2 seldepth 2 multipv 1 score cp 15 nodes 90 nps 45000 time 2 pv d2d4 d7d5
= #4 info 1 depth 2 cp 15 d2d4 d7d5
! stop
> stop
! stop
< bestmove d2d4
= #4 bestmove d2d4 | 1: depth 2 cp 15 d2d4 d7d5 | 2: depth 1 mate -3 d2d4
! #5 analyse {"fen": "4k3/8/8/8/8/8/4R3/4K3 w - - 0 1", "depth": 1}
= #5 rejected Invalid FEN "4k3/8/8/8/8/8/4R3/4K3 w - - 0 1": the side not to move is in check
! #6 analyse {"moves": ["e2e4", "e7-e5"]}
= #6 rejected "e7-e5" is not a move in coordinates, such as e2e4 or e7e8q
! #7 analyse {"depth": 0}
= #7 rejected depth 0 is not a whole number from 1
! newGame
> ucinewgame
> isready
! #8 analyse {"fen": "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "depth": 1}
< readyok
> setoption name MultiPV value 1
> position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1
> go depth 1
= newGame ready
< bestmove 0000
= #8 bestmove none | 
! #9 analyse {"wtime": 60000, "btime": 60000, "winc": 1000, "binc": 1000}
> position startpos
> go wtime 60000 btime 60000 winc 1000 binc 1000
x 1
= #9 rejected the engine has ended (status 1)
! #10 analyse {"depth": 1}
= #10 rejected the engine has ended (status 1)
`

function describe(info) {
  const score = "cp" in info.score ? `cp ${info.score.cp}` : `mate ${info.score.mate}`
  return `depth ${info.depth} ${score} ${info.pv.join(" ")}`
}

test("a session: searches one at a time, options between them, bad requests refused", async () => {
  const output = []
  const listeners = {line: [], exit: []}
  const transport = {
    send: line => output.push(`> ${line}`),
    onLine: listener => listeners.line.push(listener),
    onExit: listener => listeners.exit.push(listener),
    terminate() {},
  }
  const settle = () => new Promise(resolve => setTimeout(resolve, 0))
  const engine = createEngineClient(transport, {options: {Hash: 16}})
  engine.ready.then(({name, options}) => {
    const named = options.map(option => (option.vars.length ? `${option.name}(${option.vars.join(" ")})` : option.name))
    output.push(`= ready ${name}: ${named.join(" ")}`)
  })
  for (const line of SESSION.trim().split("\n")) {
    const [kind, text] = [line[0], line.slice(2)]
    if (kind === "<") {
      output.push(line)
      for (const listener of listeners.line) listener(text)
    } else if (kind === "x") {
      output.push(line)
      for (const listener of listeners.exit) listener(Number(text))
    } else if (kind === "!") {
      output.push(line)
      const [, number, call, argument] = /^(?:#(\d+) )?(\w+) ?(.*)$/.exec(text)
      if (call === "analyse") {
        engine.analyse(JSON.parse(argument), info => output.push(`= #${number} info ${info.multipv} ${describe(info)}`)).then(
          ({bestmove, ponder, lines}) => {
            const found = [`bestmove ${bestmove ?? "none"}${ponder ? ` ponder ${ponder}` : ""}`]
            output.push(`= #${number} ${[...found, ...lines.map(info => `${info.multipv}: ${describe(info)}`)].join(" | ")}${lines.length ? "" : " | "}`)
          },
          error => output.push(`= #${number} rejected ${error.message}`),
        )
      } else if (call === "setOption") {
        engine.setOption(...argument.split(" "))
      } else if (call === "newGame") {
        engine.newGame().then(() => output.push("= newGame ready"))
      } else {
        engine[call]()
      }
    }
    await settle()
  }
  assert.deepEqual(output, SESSION.trim().split("\n"))
})

test("the lines that start a search", () => {
  const rows = [
    [{}, 1, ["position startpos", "go infinite"]],
    [{fen: " 8/8/8/8/8/8/8/K1k5  w - - ", depth: 3}, 1, ["position fen 8/8/8/8/8/8/8/K1k5 w - -", "go depth 3"]],
    [{moves: ["e2e4", "e7e5", "g1f3"], multipv: 4, movetime: 10}, 2,
      ["setoption name MultiPV value 4", "position startpos moves e2e4 e7e5 g1f3", "go movetime 10"]],
    [{nodes: 300000, multipv: 1}, 3, ["setoption name MultiPV value 1", "position startpos", "go nodes 300000"]],
    [{wtime: 0, btime: 5, movestogo: 40}, 1, ["position startpos", "go wtime 0 btime 5 movestogo 40"]],
  ]
  for (const [request, multipv, lines] of rows) assert.deepEqual(searchLines(request, multipv), lines, JSON.stringify(request))
  for (const [request, message] of [
    [{multipv: 0}, /multipv 0/],
    [{multipv: 1.5}, /multipv 1.5/],
    [{nodes: -1}, /nodes -1/],
    [{movetime: "100"}, /movetime 100 is not a whole number/],
    [{moves: "e2e4"}, /array/],
    [{moves: ["e2e9"]}, /"e2e9"/],
    [{fen: "8/8/8 w - - 0 1"}, /3 ranks/],
  ]) assert.throws(() => searchLines(request, 1), message, JSON.stringify(request))
})
