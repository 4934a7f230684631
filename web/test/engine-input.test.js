// The engine's two kinds of input, driven from one thread: the line channel in
// shared memory, with a ring small enough to fill and wrap, and the queue of
// messages that a yielding engine reads.
import {test} from "node:test"
import assert from "node:assert/strict"
import {createRequire} from "node:module"

const require = createRequire(import.meta.url)
const {createLineChannel, channelWriter, channelReader} = require("../engine/line-channel.js")
const {createMessageInput, browserNextTask, PAUSE_MS} = require("../engine/message-input.js")

const decoder = new TextDecoder()
const tick = () => new Promise(resolve => setTimeout(resolve, 5))

// Everything the reader has now, as text; a read waits only when nothing is there.
function drain(reader, size = 64) {
  let text = ""
  const target = new Uint8Array(size)
  while (reader.ready()) {
    const count = reader.read(target)
    if (count === 0) break
    text += decoder.decode(target.subarray(0, count))
  }
  return text
}

test("line channel: bytes arrive in order across the ring's end, in reads of any size", () => {
  const buffer = createLineChannel(8)
  const writer = channelWriter(buffer)
  const reader = channelReader(buffer)
  assert.equal(reader.ready(), false)
  writer.write("uci\n")
  assert.equal(drain(reader), "uci\n")
  writer.write("isready\n")
  assert.equal(drain(reader, 3), "isready\n")
  writer.write(new TextEncoder().encode("go\n"))
  writer.write("")
  assert.equal(drain(reader), "go\n")
})

test("line channel: a full ring keeps the rest in order until the reader makes room", async () => {
  const buffer = createLineChannel(8)
  const writer = channelWriter(buffer)
  const reader = channelReader(buffer)
  writer.write("position startpos\n")
  writer.write("go depth 5\n")
  writer.close()
  let text = ""
  for (let round = 0; round < 20 && !text.endsWith("go depth 5\n"); round++) {
    text += drain(reader, 5)
    await tick()
  }
  assert.equal(text, "position startpos\ngo depth 5\n")
  // The end comes after the last byte, and then every read gives 0.
  await tick()
  assert.equal(reader.ready(), true)
  assert.equal(reader.read(new Uint8Array(4)), 0)
})

test("line channel: the counters wrap at 2^32 and the bytes do not notice", () => {
  const buffer = createLineChannel(16)
  const header = new Int32Array(buffer, 0, 4)
  header[0] = header[1] = 0x7ffffffa
  const writer = channelWriter(buffer)
  const reader = channelReader(buffer)
  for (const line of ["stop\n", "isready\n", "quit\n"]) {
    writer.write(line)
    assert.equal(drain(reader), line)
  }
  assert.ok(header[0] < 0, "the written counter went past 2^31")
})

test("line channel: a capacity that is not a power of two is refused", () => {
  for (const capacity of [0, 6, 100, 1.5]) assert.throws(() => createLineChannel(capacity), RangeError, String(capacity))
})

test("messages: pushed text read in pieces, a wait for the next, and the end", async () => {
  const input = createMessageInput(() => Promise.resolve())
  assert.equal(input.ready(), false)
  let woken = false
  const waiting = input.wait().then(() => (woken = true))
  await tick()
  assert.equal(woken, false)
  input.push("position startpos\n")
  input.push(new TextEncoder().encode("go\n"))
  input.push("")
  await waiting
  assert.equal(drain(input, 4), "position startpos\ngo\n")
  input.push("quit\n")
  input.close()
  input.push("after the end\n")
  assert.equal(drain(input), "quit\n")
  assert.equal(input.ready(), true)
  await input.wait()
  assert.equal(input.read(new Uint8Array(4)), 0)
})

test("messages: a search pauses once PAUSE_MS have passed since it last did", async () => {
  let clock = 1000
  let tasks = 0
  const input = createMessageInput(() => Promise.resolve(tasks++), () => clock)
  assert.equal(input.pauseDue(), false)
  clock += PAUSE_MS - 1
  assert.equal(input.pauseDue(), false)
  clock += 1
  assert.equal(input.pauseDue(), true)
  await input.pause()
  assert.equal(tasks, 1)
  assert.equal(input.pauseDue(), false)
  clock += PAUSE_MS
  assert.equal(input.pauseDue(), true)
})

test("messages: a browser's pause comes after the tasks already waiting, each in turn", async () => {
  const order = []
  setTimeout(() => order.push("timer"), 0)
  await new Promise(resolve => setTimeout(resolve, 2))
  // The channel does not hold the process open: a timer does, meanwhile.
  const alive = setTimeout(() => {}, 5000)
  const first = browserNextTask().then(() => order.push("first"))
  const second = browserNextTask().then(() => order.push("second"))
  await Promise.all([first, second])
  clearTimeout(alive)
  assert.deepEqual(order, ["timer", "first", "second"])
})
