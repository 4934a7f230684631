// The engine pool against scripted engines: which engine gets which job, how many
// start, and what each caller is told when jobs are cancelled or engines end.
import {test} from "node:test"
import assert from "node:assert/strict"
import {createEnginePool} from "../core/engine-pool.js"

// "! ..." what the test does: run X (a job that searches X), ready #N or fail #N (the
// Nth start of an engine succeeds or fails), bestmove #N (engine N's search ends), exit
// #N (engine N dies), abort X (X's caller aborts it), cancel, close. "> ..." what the
// pool asks of engines; "= ..." what a caller is told.
const SESSION = `
! run a
> start #1 {"Hash":16}
! run b
> start #2 {"Hash":16}
! run c
! ready #2
> #2 search a
! ready #1
> #1 search b
! bestmove #1
> #1 search c
= b from #1
! bestmove #2
= a from #2
! run d
> #2 search d
! exit #2
= d rejected the engine has ended (status 1)
! run e
> start #3 {"Hash":16}
! abort e
= e rejected AbortError
! run f
! cancel
> #1 stop
= f rejected AbortError
! ready #3
! bestmove #1
= c rejected AbortError
! exit #1
! run g
> #3 search g
! run h
> start #4 {"Hash":16}
! fail #4
= h rejected no engine today
! run i
> start #5 {"Hash":16}
! close
> #3 stop
= i rejected AbortError
! ready #5
> #3 quit
> #5 quit
= g rejected AbortError
= closed
! run j
= j rejected the engine pool is closed
`

// An engine whose search ends when the script says.
function scriptedEngine(id, output) {
  const exits = []
  let search = null
  const end = status => {
    search?.reject(new Error(`the engine has ended (status ${status})`))
    for (const listener of exits) listener(status)
  }
  return {
    analyse(name) {
      output.push(`> #${id} search ${name}`)
      return new Promise((resolve, reject) => (search = {resolve, reject}))
    },
    stop: () => output.push(`> #${id} stop`),
    bestmove: () => search.resolve(`from #${id}`),
    exit: () => end(1),
    quit: async () => end(0, output.push(`> #${id} quit`)),
    on: (event, listener) => exits.push(listener),
  }
}

test("a pool of two engines: jobs in turn, cancelled, on engines that die or never start", async () => {
  const output = []
  const [starts, engines, callers] = [[], [], {}]
  const pool = createEnginePool({
    size: 2,
    options: {Hash: 16},
    start({options}) {
      output.push(`> start #${starts.length + 1} ${JSON.stringify(options)}`)
      return new Promise((resolve, reject) => starts.push({resolve, reject}))
    },
  })
  for (const line of SESSION.trim().split("\n").filter(line => line.startsWith("!"))) {
    output.push(line)
    const [call, argument] = line.slice(2).split(" ")
    const n = Number(argument?.slice(1)) - 1
    if (call === "run") {
      callers[argument] = new AbortController()
      pool.run(engine => engine.analyse(argument), {signal: callers[argument].signal}).then(
        value => output.push(`= ${argument} ${value}`),
        error => output.push(`= ${argument} rejected ${error.name === "AbortError" ? error.name : error.message}`),
      )
    } else if (call === "ready") starts[n].resolve((engines[n] = scriptedEngine(n + 1, output)))
    else if (call === "fail") starts[n].reject(new Error("no engine today"))
    else if (call === "abort") callers[argument].abort()
    else if (call === "bestmove" || call === "exit") engines[n][call]()
    else if (call === "close") pool.close().then(() => output.push("= closed"))
    else pool[call]()
    await new Promise(resolve => setTimeout(resolve, 0))
  }
  assert.deepEqual(output, SESSION.trim().split("\n"))
  for (const size of [0, 1.5, "2"]) assert.throws(() => createEnginePool({size, start() {}}), /size/)
})
