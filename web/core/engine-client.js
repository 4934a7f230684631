// One engine spoken to through a transport, one search at a time.
//
// A transport is what carries UCI lines to and from one engine, wherever it runs:
//   {send(line), onLine(fn), onExit(fn), terminate(), mode?}
// The client sends options and ucinewgame only between searches, and starts a
// search only after the last one's bestmove, so that every info and bestmove line
// belongs to a known search.
import {fenProblem} from "./fen.js"
import {parseBestmove, parseInfo, parseOption} from "./uci.js"

const MOVE = /^[a-h][1-8][a-h][1-8][nbrq]?$/
// The limits a search may be given, and the least value each takes.
const LIMITS = {depth: 1, nodes: 1, movetime: 1, wtime: 0, btime: 0, winc: 0, binc: 0, movestogo: 1}
// How long quit waits for the engine to end before ending it by force.
const QUIT_GRACE_MS = 2000

// The lines that start a search for `request` ({fen, moves, multipv, depth | nodes |
// movetime | wtime ... | infinite}), given the MultiPV the engine has now; throws an
// Error that says what is wrong with the request.
export function searchLines(request, multipv) {
  const lines = []
  const wanted = request.multipv ?? 1
  if (!Number.isInteger(wanted) || wanted < 1 || wanted > 256) throw new Error(`multipv ${wanted} is not a whole number from 1 to 256`)
  if (wanted !== multipv) lines.push(`setoption name MultiPV value ${wanted}`)

  const fen = request.fen ?? "startpos"
  if (fen !== "startpos") {
    const problem = fenProblem(fen)
    if (problem) throw new Error(`Invalid FEN "${fen}": ${problem}`)
  }
  const moves = request.moves ?? []
  if (!Array.isArray(moves)) throw new Error("moves must be an array of moves such as e2e4")
  const bad = moves.find(move => typeof move !== "string" || !MOVE.test(move))
  if (bad !== undefined) throw new Error(`"${bad}" is not a move in coordinates, such as e2e4 or e7e8q`)
  const start = fen === "startpos" ? "startpos" : `fen ${fen.trim().split(/\s+/).join(" ")}`
  lines.push(moves.length ? `position ${start} moves ${moves.join(" ")}` : `position ${start}`)

  const go = ["go"]
  for (const [name, least] of Object.entries(LIMITS)) {
    const value = request[name]
    if (value === undefined) continue
    if (!Number.isSafeInteger(value) || value < least) throw new Error(`${name} ${value} is not a whole number from ${least}`)
    go.push(name, String(value))
  }
  if (request.infinite || go.length === 1) go.push("infinite")
  lines.push(go.join(" "))
  return lines
}

// The client for the engine behind `transport`. `options` ({Hash: 16, ...}) are set
// before the engine is first asked whether it is ready; `ready` resolves then.
// `log(direction, line)` sees every line, ">" sent and "<" received.
export function createEngineClient(transport, {options = {}, log = () => {}} = {}) {
  const listeners = {line: new Set(), exit: new Set()}
  // What waits its turn: searches, and lines that must go between searches.
  const queue = []
  const readyWaiters = []
  let current = null
  let multipv = 1
  let exited = null
  let started = false
  let resolveReady, rejectReady

  const engine = {
    name: "",
    options: [],
    mode: transport.mode,
    ready: new Promise((resolve, reject) => {
      resolveReady = resolve
      rejectReady = reject
    }),

    // Searches the request's position; resolves with {bestmove, ponder?, lines} once
    // the engine has answered, lines holding the last info of each MultiPV rank. A
    // search asked for while another runs stops that one first.
    analyse(request = {}, onInfo = () => {}) {
      if (exited) return Promise.reject(exited)
      try {
        searchLines(request, multipv)
      } catch (error) {
        return Promise.reject(error)
      }
      return new Promise((resolve, reject) => {
        // Searches still waiting are overtaken: they end with nothing found.
        for (const job of queue.filter(job => job.search)) {
          queue.splice(queue.indexOf(job), 1)
          job.resolve({bestmove: null, lines: []})
        }
        queue.push({search: request, onInfo, resolve, reject, infos: new Map()})
        stopCurrent()
        pump()
      })
    },

    // Ends the running search early; its analyse resolves with what it has.
    stop: stopCurrent,

    setOption(name, value) {
      if (/[\r\n]/.test(`${name}${value}`)) throw new Error("an option's name and value are one line")
      queue.push({lines: [`setoption name ${name} value ${value}`]})
      pump()
    },

    // Clears the engine's tables for an unrelated position; resolves when it is ready.
    newGame() {
      return new Promise((resolve, reject) => {
        queue.push({lines: ["ucinewgame", "isready"], resolve, reject})
        pump()
      })
    },

    // The raw protocol: any line, and every line the engine prints.
    send(line) {
      if (line.trim() === "isready") readyWaiters.push({resolve() {}, reject() {}})
      sendLine(line)
    },
    on(event, listener) {
      listeners[event].add(listener)
      return engine
    },
    off(event, listener) {
      listeners[event].delete(listener)
      return engine
    },

    // Ends the engine; resolves with its exit status.
    quit() {
      if (exited) return Promise.resolve(exited.status)
      const ended = new Promise(resolve => listeners.exit.add(resolve))
      sendLine("quit")
      const force = setTimeout(() => transport.terminate(), QUIT_GRACE_MS)
      return ended.finally(() => clearTimeout(force))
    },
  }

  function stopCurrent() {
    if (!current || current.stopping) return
    current.stopping = true
    sendLine("stop")
  }

  // Sends what waits, up to the next search, unless a search or an isready is under way.
  function pump() {
    while (started && !current && !exited && readyWaiters.length === 0 && queue.length > 0) {
      const job = queue.shift()
      if (job.search) current = job
      else if (job.resolve) readyWaiters.push(job)
      for (const line of job.search ? searchLines(job.search, multipv) : job.lines) {
        const option = /^setoption name MultiPV value (\d+)$/.exec(line)
        if (option) multipv = Number(option[1])
        sendLine(line)
      }
    }
  }

  function onLine(line) {
    log("<", line)
    for (const listener of listeners.line) listener(line)
    if (line.startsWith("info ")) {
      const info = current && parseInfo(line)
      if (!info) return
      current.infos.set(info.multipv, info)
      current.onInfo(info)
    } else if (line.startsWith("bestmove")) {
      const job = current
      current = null
      if (job) job.resolve({...parseBestmove(line), lines: [...job.infos.values()].sort((a, b) => a.multipv - b.multipv)})
      pump()
    } else if (line === "readyok") {
      readyWaiters.shift()?.resolve()
      pump()
    } else if (line.startsWith("id name ")) {
      engine.name = line.slice(8).trim()
    } else if (line.startsWith("option ")) {
      engine.options.push(parseOption(line))
    } else if (line === "uciok") {
      for (const [name, value] of Object.entries(options)) sendLine(`setoption name ${name} value ${value}`)
      const resolve = () => {
        started = true
        resolveReady({name: engine.name, options: engine.options})
      }
      readyWaiters.push({resolve, reject: rejectReady})
      sendLine("isready")
    }
  }

  function onExit(status) {
    exited = Object.assign(new Error(`the engine has ended (status ${status})`), {status})
    for (const job of [current, ...queue, ...readyWaiters.splice(0)]) job?.reject?.(exited)
    current = null
    queue.length = 0
    rejectReady(exited)
    for (const listener of listeners.exit) listener(status)
  }

  function sendLine(line) {
    log(">", line)
    transport.send(line)
  }

  transport.onLine(onLine)
  transport.onExit(onExit)
  sendLine("uci")
  engine.ready.catch(() => {})
  return engine
}
