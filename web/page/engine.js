// The engine in its Web Worker, one UCI line per message each way.
//
// One search at a time: a search asked for while another runs waits until the engine
// has answered the running one with bestmove (after a stop), so every info and
// bestmove line belongs to a known search. A search that was cut short for another
// ("cancelled") has its lines dropped.
import {parseBestmove, parseInfo, parseOption} from "./uci.js"

// The worker starts when this module is evaluated: index.html loads the module ahead
// of the page's others, so that the engine loads and builds its tables meanwhile.
const worker = new Worker("quillbrook-worker.js")

// handlers: onLine(direction, line) for every line sent (">") or received ("<"),
// onReady({name, options}) once after uciok and readyok, onInfo(info, search),
// onBestmove(move, search), onError(message).
export function startEngine(handlers) {
  const options = []
  let name = ""
  let ready = false
  let current = null
  let next = null

  function send(line) {
    handlers.onLine(">", line)
    worker.postMessage(line)
  }

  function launch() {
    if (current || !next) return
    current = next
    next = null
    send(current.position)
    send(current.go)
  }

  function stopCurrent(cancel) {
    if (!current) return
    if (cancel) current.cancelled = true
    if (current.stopped) return
    current.stopped = true
    send("stop")
  }

  worker.onmessage = event => {
    const line = String(event.data)
    handlers.onLine("<", line)
    if (line.startsWith("info ")) {
      const info = parseInfo(line)
      if (info && current && !current.cancelled) handlers.onInfo(info, current)
    } else if (line.startsWith("bestmove")) {
      const done = current
      current = null
      if (done && !done.cancelled) handlers.onBestmove(parseBestmove(line), done)
      launch()
    } else if (line.startsWith("id name ")) {
      name = line.slice(8)
    } else if (line.startsWith("option ")) {
      options.push(parseOption(line))
    } else if (line === "uciok") {
      send("isready")
    } else if (line === "readyok" && !ready) {
      ready = true
      handlers.onReady({name, options})
    }
  }
  worker.onerror = event => {
    event.preventDefault()
    handlers.onError(event.message || "the engine's worker failed to start")
  }
  send("uci")

  return {
    send,
    // search: {position, go, ...}; the whole object comes back with its lines.
    search(search) {
      next = search
      stopCurrent(true)
      launch()
    },
    // Ends the running search early; its bestmove still counts.
    stop() {
      stopCurrent(false)
    },
    // Drops the running and any waiting search.
    cancel() {
      next = null
      stopCurrent(true)
    },
    // The search the engine is running for the page, if any.
    running: () => (current && !current.cancelled ? current : null),
  }
}
