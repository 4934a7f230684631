// The engine's standard input where there is no shared memory: the lines come as
// messages to the engine's own thread, which a search keeps busy, so the engine
// (built with Asyncify) hands its thread back to the event loop to let them in:
// whenever it waits for a line, and every PAUSE_MS while it searches
// (src/platform/input_wasm.js). Loaded by the browser's worker with importScripts
// and by Node with require.
"use strict"

// Long enough that a search loses little to its pauses, short enough that stop and
// isready are answered at once.
const PAUSE_MS = 20

// A reader for Module.lineInput. `nextTask()` resolves once the event loop has run
// what waited: a message to oneself in a browser, setImmediate in Node.
function createMessageInput(nextTask, now = () => performance.now()) {
  const chunks = []
  const encoder = new TextEncoder()
  let closed = false
  let wake = null
  let lastPause = now()

  function woken() {
    if (!wake) return
    const resolve = wake
    wake = null
    resolve()
  }

  return {
    // Text or bytes from the other end, as they come.
    push(data) {
      const bytes = typeof data === "string" ? encoder.encode(data) : new Uint8Array(data)
      if (bytes.length === 0 || closed) return
      chunks.push(bytes)
      woken()
    },
    // End of input, after what was pushed before.
    close() {
      closed = true
      woken()
    },
    ready() {
      return chunks.length > 0 || closed
    },
    // Copies waiting bytes into the Uint8Array `target`; 0 when there are none.
    read(target) {
      let count = 0
      while (chunks.length > 0 && count < target.length) {
        const bytes = chunks[0]
        const taken = Math.min(bytes.length, target.length - count)
        target.set(bytes.subarray(0, taken), count)
        count += taken
        if (taken === bytes.length) chunks.shift()
        else chunks[0] = bytes.subarray(taken)
      }
      return count
    },
    // Resolves when read() has something to give, or the input has ended.
    wait() {
      return this.ready() ? Promise.resolve() : new Promise(resolve => (wake = resolve))
    },
    // True when a searching engine has kept its thread for PAUSE_MS.
    pauseDue() {
      return now() - lastPause >= PAUSE_MS
    },
    // Lets the messages that came meanwhile in.
    pause() {
      return nextTask().then(() => {
        lastPause = now()
      })
    },
  }
}

// A task after those already waiting: a message to oneself, which takes its turn
// behind the messages from the page and, unlike a timer, is never held back for
// nesting. One channel serves every pause; opening one costs more than the pause.
function browserNextTask() {
  if (!browserNextTask.channel) {
    const channel = new MessageChannel()
    const waiting = []
    channel.port1.onmessage = () => waiting.shift()()
    // Under Node.js (in tests) a port would keep the process alive for ever.
    channel.port1.unref?.()
    browserNextTask.channel = {waiting, port: channel.port2}
  }
  const {waiting, port} = browserNextTask.channel
  return new Promise(resolve => {
    waiting.push(resolve)
    port.postMessage(null)
  })
}

if (typeof module === "object" && module.exports) module.exports = {createMessageInput, browserNextTask, PAUSE_MS}
