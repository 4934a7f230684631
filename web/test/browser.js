// Usage: node web/test/browser.js WEB_ZIP_OR_FOLDER [--browser chromium|firefox|webkit]... [--no-isolation | --single-file]
// The page in real browsers, as a person uses it, once in each browser named
// (Chromium when none is): see drivers.js for how each is driven (npm ci in
// web/test first; no package downloads a browser; WebKit needs xvfb-run). The web
// zip is unpacked afresh into build-web/unpacked and served by its own server.js,
// which makes the page cross-origin isolated, so that the engine gets its input in
// shared memory; with --no-isolation a plain static server (python3 -m
// http.server) serves it without those headers, and the engine yields for input;
// with --single-file the page is the folder's quillbrook.html, opened from disk
// alone in a folder of its own, so that any file it fetched from beside it fails.
// Moves are dragged with the mouse; the engine's lines are read, with the page's
// time stamps, from its protocol list. Any console error, uncaught exception or
// failed request fails the test. Writes build-web/page-BROWSER.png, a screenshot
// in mid-game.
import {after, before, describe, test} from "node:test"
import assert from "node:assert/strict"
import fs from "node:fs"
import path from "node:path"
import {pathToFileURL} from "node:url"
import {parseArgs} from "node:util"
import {BROWSERS, TimeoutError, launchBrowser} from "./drivers.js"
import {OUT, startServer, webFolder} from "./site.js"
import {Chess} from "../page/game.js"

const VIEWPORT = {width: 1200, height: 860}
const MOVETIME = 1000
const ISREADY_MS = 100
const STOP_MS = 150
// White's moves after 1.e4, the first of them that is legal each time.
const DEVELOPING = ["g1f3", "f1c4", "b1c3", "e1g1", "d2d3", "c1e3", "h2h3", "a2a3"]

const {values: options, positionals} = parseArgs({
  allowPositionals: true,
  options: {browser: {type: "string", multiple: true}, "no-isolation": {type: "boolean"}, "single-file": {type: "boolean"}},
})
const browsers = options.browser ?? ["chromium"]
const singleFile = options["single-file"]
const isolated = !options["no-isolation"] && !singleFile
const unknown = browsers.filter(name => !BROWSERS.includes(name))
if (positionals.length !== 1 || unknown.length > 0) {
  console.error(`usage: node web/test/browser.js WEB_ZIP_OR_FOLDER [--browser ${BROWSERS.join("|")}]... [--no-isolation | --single-file]`)
  process.exit(2)
}

let server
let url

// A copy of the file in a fresh folder with nothing else in it.
function aloneInFolder(file) {
  const alone = path.join(OUT, "alone")
  fs.rmSync(alone, {recursive: true, force: true})
  fs.mkdirSync(alone, {recursive: true})
  fs.copyFileSync(file, path.join(alone, path.basename(file)))
  return path.join(alone, path.basename(file))
}

before(async () => {
  fs.mkdirSync(OUT, {recursive: true})
  const folder = webFolder(positionals[0])
  if (singleFile) {
    url = pathToFileURL(aloneInFolder(path.join(folder, "quillbrook.html"))).href
  } else {
    server = await startServer(folder, {isolated})
    url = server.url
  }
})

after(() => server?.stop())

for (const name of browsers) describe(name, () => pageTests(name))

// Runs in the page: the first line of the protocol list sent (">") or received
// ("<") later than `after` (page time, ms) that matches, as {t, line}.
function findLine({direction, source, after}) {
  const pattern = new RegExp(source)
  for (const item of document.querySelectorAll("#protocol-lines li")) {
    const t = Number(item.dataset.t)
    const text = item.textContent
    if (t > after && text.startsWith(`${direction} `) && pattern.test(text.slice(2))) return {t, line: text.slice(2)}
  }
  return null
}

// The promise's value, or `value` when the wait that it stands for ran out of time.
function onTimeout(promise, value) {
  return promise.catch(error => {
    if (error instanceof TimeoutError) return value
    throw error
  })
}

function pageTests(name) {
  let browser
  let ready = false
  let started

  before(async () => {
    started = Date.now()
    browser = await launchBrowser(name, {viewport: VIEWPORT})
    console.log(`# ${name}: launched in ${((Date.now() - started) / 1000).toFixed(1)} s`)
  })

  after(async () => {
    await browser?.close()
    console.log(`# ${name}: whole run ${((Date.now() - started) / 1000).toFixed(1)} s`)
  })

  // The page's clock, in milliseconds since it began to load.
  const now = () => browser.evaluate(() => performance.now())
  const inputValue = selector => browser.evaluate(selector => document.querySelector(selector).value, selector)
  const textContent = selector => browser.evaluate(selector => document.querySelector(selector).textContent, selector)
  const waitForLine = (direction, pattern, after) =>
    browser.waitForFunction(findLine, {direction, source: pattern.source, after}, {timeout: 20000})

  // Drags the piece on one square to another with the mouse.
  async function drag(from, to) {
    const centre = async square => {
      const box = await browser.boundingBox(`#board rect[data-square="${square}"]`)
      return {x: box.x + box.width / 2, y: box.y + box.height / 2}
    }
    await browser.drag(await centre(from), await centre(to))
  }

  // Drags a legal move until the page has taken it: the board takes no new input
  // until it has finished showing the last move and the positions set after it, a
  // few hundred milliseconds that a person never notices but a script does. Taken,
  // by default, is the position changed; taken(arg) runs in the page.
  async function dragUntilTaken(from, to, taken = before => document.querySelector("#fen").value !== before, arg) {
    const fen = await inputValue("#fen")
    for (let attempt = 0; attempt < 10; ++attempt) {
      await drag(from, to)
      // Long enough for the board's answer in any browser: a second drag of a
      // promotion would pick a piece in the dialog that the first one opened.
      if (await onTimeout(browser.waitForFunction(taken, arg ?? fen, {timeout: 1000}), false)) return
    }
    assert.fail(`the board never took ${from}${to} in ${fen}`)
  }

  const moveList = () =>
    browser.evaluate(() => [...document.querySelectorAll("#moves .move")].map(move => move.textContent))

  // Plays MOVE (coordinates) by dragging it, and checks that the engine answers within
  // its time with a legal move; returns the answer and the milliseconds it took.
  async function playAndAwaitAnswer(move) {
    const chess = new Chess(await inputValue("#fen"))
    chess.move({from: move.slice(0, 2), to: move.slice(2, 4)})
    const before = await now()
    await drag(move.slice(0, 2), move.slice(2, 4))
    const go = await waitForLine(">", new RegExp(`^go movetime ${MOVETIME}$`), before)
    const answer = await waitForLine("<", /^bestmove /, go.t)
    const reply = answer.line.split(" ")[1]
    const legal = chess.moves({verbose: true}).map(({lan}) => lan)
    assert.ok(legal.includes(reply), `bestmove ${reply} is not legal in ${chess.fen()}`)
    const ms = answer.t - go.t
    assert.ok(ms <= MOVETIME + 200, `the answer to ${move} took ${ms} ms`)
    return {reply, ms}
  }

  // Sends isready through the page's protocol field; returns the milliseconds from
  // the line sent to readyok, both as the page logged them. A click that a busy
  // browser lost (the line never went) is made again.
  async function isreadyMs() {
    let sent = null
    for (let attempt = 0; attempt < 3 && !sent; attempt++) {
      const before = await now()
      await browser.fill("#protocol-line", "isready")
      await browser.click("#protocol-form button")
      sent = await onTimeout(browser.waitForFunction(findLine, {direction: ">", source: "^isready$", after: before}, {timeout: 3000}), null)
    }
    assert.ok(sent, "the page never sent isready")
    return (await waitForLine("<", /^readyok$/, sent.t)).t - sent.t
  }

  test("the engine is ready soon after the page loads", async () => {
    const times = []
    const loaded = []
    let mode
    for (let load = 0; load < 3; load++) {
      await (load === 0 ? browser.goto(url) : browser.reload())
      // The page's own scripts ran (they write the game's status at once), so
      // whatever follows is the engine's doing, not the server's.
      await browser.waitForFunction(() => document.querySelector("#game-status")?.textContent !== "")
      if (load === 0) assert.equal(await browser.evaluate(() => crossOriginIsolated), isolated, "the page's cross-origin isolation")
      const settled = () => {
        const {state} = document.querySelector("#engine-status").dataset
        return state !== "loading" && state
      }
      const state = await onTimeout(browser.waitForFunction(settled, null, {timeout: 30000}), "still loading after 30 s")
      assert.equal(state, "ready", `the engine is not ready: ${state}, "${await textContent("#engine-status")}"`)
      const status = await browser.evaluate(() => ({...document.querySelector("#engine-status").dataset}))
      times.push(Number(status.readyMs))
      mode = status.mode
      loaded.push(Math.round((await browser.evaluate(findLine, {direction: ">", source: "^uci$", after: 0})).t))
    }
    ready = true
    const median = [...times].sort((a, b) => a - b)[1]
    console.log(`# ${name}: the engine's input during a search: ${mode}`)
    console.log(`# ${name}: load to ready (uciok, readyok), ms: first ${times[0]}, median of ${times.length} ${median}, all ${times.join(" ")}`)
    console.log(`# ${name}: of which the page's own loading, until it sent uci, ms: ${loaded.join(" ")}`)
    assert.ok(median < 10000)
    // An isolated page gets shared memory, and no other; but WebKitGTK gives
    // none even to an isolated page (Safari does), where the engine yields.
    assert.equal(mode, isolated && name !== "webkit" ? "shared-memory" : "yielding")
  })

  test("1.e4 and three more moves dragged on the board, each answered in time", async t => {
    if (!ready) return t.skip("the engine never became ready")
    // The page's own limit for its moves, as a new visitor finds it.
    assert.deepEqual([await inputValue("#engine-side"), await inputValue("#limit-kind"), await inputValue("#limit-value")], ["b", "movetime", String(MOVETIME)])
    const answers = [await playAndAwaitAnswer("e2e4")]
    assert.match((await moveList()).join(" "), /^1\. e4 \S+$/)
    while (answers.length < 4) {
      const legal = new Chess(await inputValue("#fen")).moves({verbose: true}).map(({lan}) => lan)
      answers.push(await playAndAwaitAnswer(DEVELOPING.find(move => legal.includes(move)) ?? legal[0]))
    }
    assert.equal((await moveList()).length, 8)
    console.log(`# ${name}: answers to go movetime ${MOVETIME}: ${answers.map(({reply, ms}) => `${reply} after ${ms.toFixed(0)} ms`).join(", ")}`)
  })

  test(`infinite analysis: isready answered within ${ISREADY_MS} ms (median of 5), stop with bestmove within ${STOP_MS} ms`, async t => {
    if (!ready) return t.skip("the engine never became ready")
    await browser.openSection("settings")
    await browser.select("#engine-side", "none")
    await browser.openSection("protocol")
    const before = await now()
    await browser.click("#analyse")
    const go = await waitForLine(">", /^go infinite$/, before)
    await waitForLine("<", /^info depth 8 /, go.t)
    const isready = []
    for (let round = 0; round < 5; round++) isready.push(await isreadyMs())
    await new Promise(resolve => setTimeout(resolve, 1000))
    const infos = await browser.evaluate(after =>
      [...document.querySelectorAll("#protocol-lines li")].filter(item => Number(item.dataset.t) > after && item.textContent.startsWith("< info depth")).length, go.t)
    const shown = await browser.evaluate(() => ({score: document.querySelector("#lines li strong")?.textContent, move: document.querySelector("#lines .line-move")?.textContent}))
    await browser.click("#analyse")
    const stop = await waitForLine(">", /^stop$/, go.t)
    const best = await waitForLine("<", /^bestmove /, stop.t)
    const stopMs = best.t - stop.t
    await browser.screenshot(path.join(OUT, `page-${name}${singleFile ? "-single-file" : isolated ? "" : "-no-isolation"}.png`))
    console.log(`# ${name}: isready during go infinite answered after ${isready.map(ms => ms.toFixed(1)).join(", ")} ms`)
    console.log(`# ${name}: stop answered with ${best.line} after ${stopMs.toFixed(1)} ms (${infos} info lines before)`)
    assert.ok(infos >= 8, `${infos} info lines`)
    // The median, as one answer in five may wait for a core on a busy machine.
    const median = [...isready].sort((a, b) => a - b)[2]
    assert.ok(median < ISREADY_MS, `readyok came a median ${median} ms after isready`)
    assert.ok(stopMs < STOP_MS, `bestmove came ${stopMs} ms after stop`)
    assert.match(shown.score, /^([+-]\d+\.\d\d|0\.00|#-?\d+)$/)
    assert.match(shown.move, /^(\d+\.+ )?[KQRBNa-h]/)
  })

  test("a promotion chosen in the dialog, from a position set by FEN", async t => {
    if (!ready) return t.skip("the engine never became ready")
    await setPosition("8/4P1k1/8/8/8/8/8/4K3 w - - 0 1")
    await browser.waitForFunction(() => document.querySelector("#game-status").textContent === "White to move")
    const knight = '.promotion-dialog-button[data-piece="wn"]'
    await dragUntilTaken("e7", "e8", selector => document.querySelector(selector) !== null, knight)
    await browser.click(knight)
    await browser.waitForFunction(() => document.querySelector("#moves .move")?.textContent === "1. e8=N+")
    assert.equal(await inputValue("#fen"), "4N3/6k1/8/8/8/8/8/4K3 b - - 0 1")
  })

  test("the end of the game", async t => {
    if (!ready) return t.skip("the engine never became ready")
    const ends = [
      ["6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1", "a8", "1-0: checkmate"],
      ["7k/5Q2/8/8/8/8/8/K7 w - - 0 1", "f7", "g6", "1/2-1/2: stalemate"],
      ["4k3/8/8/8/8/8/3r4/4K3 w - - 0 1", "e1", "d2", "1/2-1/2: insufficient material"],
    ]
    for (const [fen, from, to, status] of ends) {
      await setPosition(fen)
      await dragUntilTaken(from, to)
      await browser.waitForFunction(text => document.querySelector("#game-status").textContent === text, status)
    }
  })

  test("no console errors, uncaught exceptions or failed requests", async () => {
    assert.deepEqual(await browser.problems(), [])
    // One made on purpose is seen, so that none above means none.
    await browser.evaluate(() => console.error("made by the test"))
    const deadline = Date.now() + 5000
    while (!(await browser.problems()).includes("console: made by the test")) {
      assert.ok(Date.now() < deadline, "a console error made by the test went unseen")
      await new Promise(resolve => setTimeout(resolve, 50))
    }
  })

  // Sets a position through the FEN field, and waits until the page shows it: a
  // new game, with no moves yet.
  async function setPosition(fen) {
    await browser.fill("#fen", fen)
    await browser.click("#fen-form button")
    await browser.waitForFunction(() => !document.querySelector("#moves .move"))
  }
}
