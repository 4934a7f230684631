// The page's side of the engine's protocol, against a stand-in for the worker: what
// it sends, and which of the engine's lines reach the page. One search runs at a
// time; lines of a search cut short for another are dropped.
import {test} from "node:test"
import assert from "node:assert/strict"

// "<" a line from the engine; "!" what the page asks for; ">" a line sent to the
// engine; "=" what reaches the page's handlers.
const TRANSCRIPT = `
> uci
< id name Quillbrook v37
< id author You
< option name Hash type spin default 256 min 1 max 2048
< option name Style type combo default PeSTO var PeSTO var Linear
< uciok
> isready
< readyok
= ready Quillbrook v37: Hash Style(PeSTO Linear)
! search play | position startpos | go movetime 500
> position startpos
> go movetime 500
< info depth 1 seldepth 1 score cp 20 nodes 20 nps 20000 time 1 pv e2e4
= info play depth 1 pv e2e4
< info string a message, not a line of play
< bestmove e2e4
= bestmove play e2e4
! search analyse | position startpos moves e2e4 | go infinite
> position startpos moves e2e4
> go infinite
< info depth 1 seldepth 1 score cp -20 nodes 20 nps 20000 time 1 pv e7e5
= info analyse depth 1 pv e7e5
! search analyse | position startpos moves e2e4 e7e5 | go infinite
> stop
! search play | position startpos moves e2e4 e7e5 g1f3 | go depth 6
< info depth 2 seldepth 2 score cp -20 nodes 60 nps 20000 time 3 pv e7e5 g1f3
< bestmove e7e5
> position startpos moves e2e4 e7e5 g1f3
> go depth 6
< info depth 6 seldepth 9 score cp 30 nodes 9000 nps 900000 time 10 pv b8c6
= info play depth 6 pv b8c6
< bestmove b8c6 ponder f1b5
= bestmove play b8c6
! stop
! search analyse | position startpos moves e2e4 e7e5 g1f3 b8c6 | go infinite
> position startpos moves e2e4 e7e5 g1f3 b8c6
> go infinite
< readyok
! stop
> stop
< info depth 9 seldepth 12 score cp 25 nodes 90000 nps 900000 time 100 pv f1b5
= info analyse depth 9 pv f1b5
< bestmove f1b5
= bestmove analyse f1b5
! search analyse | position fen 8/8/8/8/8/2k5/8/K1Q5 b - - 0 1 | go infinite
> position fen 8/8/8/8/8/2k5/8/K1Q5 b - - 0 1
> go infinite
! stop
> stop
! search play | position fen 8/8/8/8/8/2k5/8/K1Q5 b - - 0 1 | go movetime 100
< bestmove c3b3
> position fen 8/8/8/8/8/2k5/8/K1Q5 b - - 0 1
> go movetime 100
! cancel
> stop
! cancel
< bestmove c3b4
! search analyse | position startpos | go infinite
> position startpos
> go infinite
! search play | position startpos moves d2d4 | go depth 2
> stop
! cancel
< bestmove e2e4
! search play | position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1 | go depth 1
> position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1
> go depth 1
< bestmove 0000
= bestmove play none
`

class StandInWorker {
  constructor(url) {
    assert.equal(url, "quillbrook-worker.js")
    StandInWorker.last = this
  }
  postMessage(line) {
    StandInWorker.output.push(`> ${line}`)
  }
}
StandInWorker.output = []
globalThis.Worker = StandInWorker
const {startEngine} = await import("../page/engine.js")

test("a session: searches one at a time, lines of cut-short searches dropped", () => {
  const output = StandInWorker.output
  const engine = startEngine({
    onLine: () => {},
    onReady: ({name, options}) => {
      const named = options.map(option => (option.vars.length ? `${option.name}(${option.vars.join(" ")})` : option.name))
      output.push(`= ready ${name}: ${named.join(" ")}`)
    },
    onInfo: (info, search) => output.push(`= info ${search.purpose} depth ${info.depth} pv ${info.pv.join(" ")}`),
    onBestmove: (move, search) => output.push(`= bestmove ${search.purpose} ${move ?? "none"}`),
    onError: message => output.push(`= error ${message}`),
  })
  for (const line of TRANSCRIPT.trim().split("\n")) {
    const [kind, text] = [line[0], line.slice(2)]
    if (kind === "<") {
      output.push(line)
      StandInWorker.last.onmessage({data: text})
    } else if (kind === "!") {
      output.push(line)
      const [action, position, go] = text.split(" | ")
      if (action.startsWith("search ")) engine.search({purpose: action.slice(7), position, go})
      else engine[action]()
    }
  }
  assert.deepEqual(output, TRANSCRIPT.trim().split("\n"))
})
