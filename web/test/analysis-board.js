// Usage: node web/test/analysis-board.js WEB_ZIP_OR_FOLDER NATIVE_ENGINE [--browser chromium|firefox|webkit]...
// The analysis board in real browsers (drivers.js; Chromium when none is named),
// served with the isolation headers by the folder's own server.js, driven only as
// a person drives it: the mouse, the keyboard, files chosen from disk. In order, in
// one profile per browser: a move typed; three lines with their arrows and the
// bar; a game with variations pasted, walked with the keys, edited, exported and
// read back; a review checked against the native engine's scores; axe-core's
// verdict on the page at a desktop's and at a phone's size; the game restored by
// a reload; the page reloaded and analysing with its server stopped; a book and
// endgame tables chosen from disk. Any console error, uncaught exception or failed
// request fails the test. Writes screenshots under build-web/:
// analysis-board-BROWSER-{lines,review,phone}.png.
import {after, before, describe, test} from "node:test"
import assert from "node:assert/strict"
import fs from "node:fs"
import {createRequire} from "node:module"
import path from "node:path"
import {parseArgs} from "node:util"
import {BROWSERS, launchBrowser} from "./drivers.js"
import {nativeBestmove, nativeEvaluations} from "./native.js"
import {OUT, ROOT, startServer, webFolder} from "./site.js"

const VIEWPORT = {width: 1200, height: 860}
const PHONE = {width: 390, height: 844}
const NODES = 20000
// What the page's review gives each engine, and so the native engine too.
const HASH = 16
const DATA = path.join(ROOT, "tests/data")

// A game with variations two deep, and its move list: once as read, then with the
// knight's variation promoted, then with the Sicilian promoted to the main line.
const VARIATIONS = `[Event "Variations"]
[White "A"]
[Black "B"]
[Result "*"]

1. e4 e5 (1... c5 2. Nf3 (2. Nc3 Nc6) 2... d6) 2. Nf3 Nc6 (2... d6 3. d4) 3. Bb5 a6 *
`
const AS_READ = "1. e4 e5 (1... c5 2. Nf3 (2. Nc3 Nc6) 2... d6) 2. Nf3 Nc6 (2... d6 3. d4) 3. Bb5 a6"
const KNIGHT_PROMOTED = "1. e4 e5 (1... c5 2. Nc3 (2. Nf3 d6) 2... Nc6) 2. Nf3 Nc6 (2... d6 3. d4) 3. Bb5 a6"
const SICILIAN_PROMOTED = "1. e4 c5 (1... e5 2. Nf3 Nc6 (2... d6 3. d4) 3. Bb5 a6) 2. Nc3 (2. Nf3 d6) 2... Nc6"
// From 1.e4 (clicked): each key, and the move it leads to (null: the first position).
const WALK = [
  ["End", "a6"], ["Home", null], ["ArrowRight", "1. e4"], ["ArrowRight", "e5"], ["ArrowDown", "1... c5"],
  ["ArrowRight", "2. Nf3"], ["ArrowDown", "2. Nc3"], ["ArrowRight", "Nc6"], ["End", "Nc6"], ["ArrowLeft", "2. Nc3"],
  ["ArrowUp", "2. Nf3"], ["ArrowDown", "2. Nc3"],
]

// Légal's mate: 5...Bxd1?? walks into mate in two.
const LEGAL_UCI = "e2e4 e7e5 g1f3 d7d6 f1c4 c8g4 b1c3 g7g6 f3e5 g4d1 c4f7 e8e7 c3d5".split(" ")
const LEGAL = `[Event "Legal's mate"]
[Result "1-0"]

1. e4 e5 2. Nf3 d6 3. Bc4 Bg4 4. Nc3 g6 5. Nxe5 Bxd1 6. Bxf7+ Ke7 7. Nd5# 1-0
`

// A rook ending the tables settle: the king attacks the rook.
const KRVK = "8/8/8/8/8/8/1k6/R3K3 w - - 0 1"

const {values: options, positionals} = parseArgs({allowPositionals: true, options: {browser: {type: "string", multiple: true}}})
const browsers = options.browser ?? ["chromium"]
if (positionals.length !== 2 || browsers.some(name => !BROWSERS.includes(name))) {
  console.error(`usage: node web/test/analysis-board.js WEB_ZIP_OR_FOLDER NATIVE_ENGINE [--browser ${BROWSERS.join("|")}]...`)
  process.exit(2)
}
const native = path.resolve(positionals[1])
const AXE = fs.readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8")

let folder
let server
let expected

before(async () => {
  fs.mkdirSync(OUT, {recursive: true})
  folder = webFolder(positionals[0])
  server = await startServer(folder)
  expected = {
    evaluations: await nativeEvaluations(native, LEGAL_UCI, {nodes: NODES, hash: HASH}),
    tableMove: await nativeBestmove(native, [`setoption name SyzygyPath value ${path.join(DATA, "syzygy")}`, `position fen ${KRVK}`, `go nodes ${NODES}`]),
  }
})

after(() => server?.stop())

for (const name of browsers) describe(name, () => boardTests(name))

const seconds = since => ((Date.now() - since) / 1000).toFixed(1)
const words = text => text.replace(/\s+/g, " ").trim()

// Runs in the page: the text of each move of the list, and of the current one.
function moveList() {
  const moves = [...document.querySelectorAll("#moves .move")]
  return {
    text: document.querySelector("#moves").textContent,
    moves: moves.map(move => move.textContent),
    current: moves.find(move => move.getAttribute("aria-current") === "true")?.textContent ?? null,
    verdicts: Object.fromEntries(moves.filter(move => move.dataset.verdict).map(move => [move.textContent, move.dataset.verdict])),
  }
}

// Runs in the page: whether a line matching `source` was sent (">") or received ("<")
// since the protocol list was last cleared (each start of the engine clears it).
function logged({direction, source}) {
  const pattern = new RegExp(source)
  return [...document.querySelectorAll("#protocol-lines li")].map(item => item.textContent).find(text => text.startsWith(`${direction} `) && pattern.test(text.slice(2))) ?? null
}

// Runs in the page: whether the engine is ready and was given a line matching
// `source` since it started.
function startedWith(source) {
  const pattern = new RegExp(source)
  const given = [...document.querySelectorAll("#protocol-lines li")].some(item => pattern.test(item.textContent))
  return document.querySelector("#engine-status").dataset.state === "ready" && given
}

// The [%eval] of each position of an exported main line, by ply (0: the first
// position, before any move); {cp} or {mate}, White's view as PGN has it.
function evaluationsByPly(pgn) {
  const found = []
  let ply = 0
  for (const [, comment, word] of pgn.replace(/^\[.*\]$/gm, "").matchAll(/\{([^}]*)\}|(\S+)/g)) {
    if (comment !== undefined) {
      const value = /\[%eval (#?)(-?[\d.]+)\]/.exec(comment)
      if (value) found[ply] = value[1] ? {mate: Number(value[2])} : {cp: Math.round(Number(value[2]) * 100)}
    } else if (!/^(\d+\.+|1-0|0-1|1\/2-1\/2|\*)$/.test(word)) {
      ply++
    }
  }
  return found
}

function boardTests(name) {
  let browser
  let ready = false
  let started

  before(async () => {
    started = Date.now()
    browser = await launchBrowser(name, {viewport: VIEWPORT})
  })

  after(async () => {
    await browser?.close()
    console.log(`# ${name}: whole run ${seconds(started)} s`)
  })

  const moves = () => browser.evaluate(moveList)
  const value = selector => browser.evaluate(selector => document.querySelector(selector).value, selector)
  const waitForMoves = (count, timeout = 10000) =>
    browser.waitForFunction(count => document.querySelectorAll("#moves .move").length === count, count, {timeout})
  const engineReady = (timeout = 30000) =>
    browser.waitForFunction(() => document.querySelector("#engine-status").dataset.state === "ready", null, {timeout})

  async function typeMove(move) {
    await browser.fill("#move-input", move)
    await browser.press("Enter")
  }

  // Chooses files from disk in a file input; resolves once the engine has started
  // again and been given what `option` names (the protocol list starts afresh with it).
  async function chooseFiles(selector, files, option) {
    await browser.openSection("settings")
    await browser.upload(selector, files)
    // Long enough for an engine silent at its start to be started again.
    await browser.waitForFunction(startedWith, `^> setoption name ${option} value `, {timeout: 60000}).catch(async error => {
      const status = await browser.evaluate(() => document.querySelector("#engine-status").textContent)
      throw new Error(`${error.message}; the engine's status: ${status}`)
    })
  }

  async function runAxe() {
    if (!(await browser.evaluate(() => typeof axe === "object"))) await browser.evaluate(source => void (0, eval)(source), AXE)
    return browser.evaluate(async () => {
      const {violations} = await axe.run(document, {resultTypes: ["violations"]})
      return violations.map(({id, impact, nodes}) => ({id, impact, targets: nodes.map(node => node.target.join(" "))}))
    })
  }

  test("typing e4 in the move box plays 1.e4, and the engine answers as Black", async () => {
    await browser.goto(server.url)
    await engineReady()
    ready = true
    await typeMove("e4")
    await waitForMoves(2)
    const {moves: played} = await moves()
    assert.equal(played[0], "1. e4")
    assert.equal(await value("#move-input"), "")
  })

  test("three lines with their arrows, the best one's score on the bar; a click on a line's move plays the line to it", async t => {
    if (!ready) return t.skip("the engine never became ready")
    await browser.openSection("settings")
    await browser.select("#engine-side", "none")
    await browser.click("#analyse")
    // The lines as shown, once there are three, each with its arrow, from depth 8.
    const shown = () =>
      browser.waitForFunction(() => {
        const rows = [...document.querySelectorAll("#lines li")]
        const arrows = document.querySelectorAll("#board g.arrow").length
        if (rows.length !== 3 || arrows !== 3 || rows.some(row => Number(row.querySelector(".depth").textContent.slice(1)) < 8)) return null
        return {lines: rows.map(row => row.textContent), best: rows[0].querySelector("strong").textContent, bar: document.querySelector("#eval-text").textContent}
      }, null, {timeout: 30000})
    const first = await shown()
    assert.equal(first.bar, first.best)
    // The lines change as the engine goes deeper, and some make way for a moment
    // when a new depth starts: a screenshot is kept when the same three lines were
    // shown before and after it.
    for (let attempt = 0, still = false; !still; attempt++) {
      assert.ok(attempt < 20, "the lines never held still for a screenshot")
      const before = await shown()
      await browser.screenshot(path.join(OUT, `analysis-board-${name}-lines.png`))
      still = JSON.stringify(await shown()) === JSON.stringify(before)
    }

    // The line may change between reading it and pressing on it: the moves under the
    // mouse are the ones the press plays.
    const before = (await moves()).moves
    await browser.evaluate(() =>
      document.addEventListener("pointerdown", event => {
        const row = event.target.closest?.("#lines li")
        if (row) window.testPressed = [...row.querySelectorAll(".line-move")].slice(0, 2).map(move => move.textContent)
      }, true))
    // The lines are drawn anew with each line the engine sends: a press may find the
    // element it aimed at gone, or another move under the mouse, or none. A press that
    // played nothing changed nothing, and is made again, as a person would.
    let played = null
    for (let attempt = 0; attempt < 10 && !played; attempt++) {
      await browser.click('#lines .line-move[data-multipv="2"][data-index="1"]').catch(() => {})
      played = await browser.waitForFunction(count => document.querySelectorAll("#moves .move").length === count && window.testPressed, before.length + 2, {timeout: 1000}).catch(() => null)
    }
    assert.ok(played, "a press on the second move of the second line never played it")
    const san = text => text.replace(/^\d+\.+\s*/, "")
    assert.deepEqual((await moves()).moves.slice(-2).map(san), played.map(san))
    await browser.click("#analyse")
  })

  test("a game with variations pasted in, walked with the keys, promoted, exported and read back the same", async t => {
    if (!ready) return t.skip("the engine never became ready")
    await browser.openSection("pgn")
    await browser.fill("#pgn-input", VARIATIONS)
    await browser.click("#pgn-load")
    await browser.waitForFunction(text => document.querySelector("#moves").textContent.replace(/\s+/g, " ").trim() === text, AS_READ)

    await browser.click('#moves .move[data-id="e2e4"]')
    const walked = []
    for (const [key] of WALK) {
      await browser.press(key)
      walked.push([key, (await moves()).current])
    }
    assert.deepEqual(walked, WALK)

    const promoted = []
    for (let times = 0; times < 2; times++) {
      await browser.click("#promote")
      promoted.push(words((await moves()).text))
    }
    assert.deepEqual(promoted, [KNIGHT_PROMOTED, SICILIAN_PROMOTED])
    assert.equal((await moves()).current, "2. Nc3")

    const exported = await value("#pgn-output")
    await browser.fill("#pgn-input", exported)
    await browser.click("#pgn-load")
    // Read back: the same moves, the current one back at the start, the same export.
    await browser.waitForFunction(() => !document.querySelector('#moves [aria-current="true"]'))
    assert.equal(words((await moves()).text), SICILIAN_PROMOTED)
    assert.equal(await value("#pgn-output"), exported)
    assert.match(exported, /^\[White "A"\]$/m)

    await browser.click('#moves .move[data-id="e2e4/e7e5/g1f3/d7d6/d2d4"]')
    await browser.click("#delete")
    assert.equal(words((await moves()).text), SICILIAN_PROMOTED.replace(" 3. d4", ""))
    assert.equal((await moves()).current, "2... d6")
  })

  test(`a review of Légal's mate at ${NODES} nodes a position: the blunder marked, the graph drawn, the native engine's scores`, async t => {
    if (!ready) return t.skip("the engine never became ready")
    await browser.fill("#pgn-input", LEGAL)
    await browser.click("#pgn-load")
    await waitForMoves(LEGAL_UCI.length)
    await browser.fill("#review-nodes", String(NODES))
    const began = Date.now()
    await browser.click("#review-start")
    await browser.waitForFunction(() => !document.querySelector("#review-graph").hasAttribute("hidden"), null, {timeout: 90000}).catch(async error => {
      const summary = await browser.evaluate(() => document.querySelector("#review-summary").textContent)
      throw new Error(`${error.message}; the review says: ${summary}`)
    })
    console.log(`# ${name}: review of ${LEGAL_UCI.length + 1} positions at ${NODES} nodes: ${seconds(began)} s`)

    const {verdicts} = await moves()
    assert.equal(verdicts["Bxd1??"], "Blunder", `marks: ${JSON.stringify(verdicts)}`)
    // The graph's dots are the list's marks.
    const dots = await browser.evaluate(() => [...document.querySelectorAll("#review-graph circle")].map(dot => dot.dataset.id).sort())
    const marked = await browser.evaluate(() => [...document.querySelectorAll("#moves .move[data-verdict]")].map(move => move.dataset.id).sort())
    assert.deepEqual(dots, marked)
    assert.match(await browser.evaluate(() => document.querySelector("#review-summary").textContent), /Accuracy: White \d+%, Black \d+%/)

    const exported = await value("#pgn-output")
    assert.match(exported, / Bxd1\?\?\s\{\[%eval /)
    const found = evaluationsByPly(exported)
    // Every position that has a score: all but the last, which is mate. (As JSON,
    // where the native engine's -0 for Black's 0 is White's 0, as in PGN.)
    const scores = expected.evaluations.map(evaluation => evaluation.score)
    assert.equal(JSON.stringify(found.slice(0, 13)), JSON.stringify(scores.slice(0, 13)))

    // A click on the blunder's dot goes to it.
    await browser.click(`#review-graph circle[data-id="${LEGAL_UCI.slice(0, 10).join("/")}"]`)
    await browser.waitForFunction(() => document.querySelector('#moves [aria-current="true"]')?.textContent === "Bxd1??", null, {timeout: 3000})
      .catch(async () => assert.fail(`the click on the dot went to ${(await moves()).current}`))
    // The board's step to it, animated, is over.
    await new Promise(resolve => setTimeout(resolve, 500))
    await browser.screenshot(path.join(OUT, `analysis-board-${name}-review.png`))
  })

  test("axe-core finds nothing serious or critical, at a desktop's size and at a phone's", async t => {
    if (!ready) return t.skip("the engine never became ready")
    for (const id of ["pgn", "settings", "protocol"]) await browser.openSection(id)
    // With the engine's lines shown and the reviewed game's marks in the list.
    await browser.click("#analyse")
    await browser.waitForFunction(() => document.querySelectorAll("#lines li").length === 3, null, {timeout: 20000})
    const serious = async () => (await runAxe()).filter(({impact}) => impact === "serious" || impact === "critical")
    const desktop = await serious()
    await browser.setViewport(PHONE)
    await browser.evaluate(() => scrollTo(0, 0))
    await browser.screenshot(path.join(OUT, `analysis-board-${name}-phone.png`))
    const phone = await serious()
    await browser.click("#analyse")
    await browser.setViewport(VIEWPORT)
    assert.deepEqual({desktop, phone}, {desktop: [], phone: []})
  })

  test("a reload without the game in the address brings back the game, its review and the settings", async t => {
    if (!ready) return t.skip("the engine never became ready")
    const kept = await moves()
    // The page keeps its state a moment after the last change.
    await browser.waitForFunction(() => JSON.parse(localStorage.getItem("quillbrook.page"))?.review, null, {timeout: 5000})
    await browser.goto(server.url)
    await engineReady()
    assert.deepEqual(await moves(), kept)
    assert.deepEqual([await value("#review-nodes"), await value("#engine-side")], [String(NODES), "none"])
    assert.equal(await browser.evaluate(() => document.querySelector("#review-graph").hasAttribute("hidden")), false)
  })

  test("with the server stopped after a visit, the page reloads from its offline copy and analyses", async t => {
    if (!ready) return t.skip("the engine never became ready")
    // The page's service worker serves the next visit once it is active.
    await browser.waitForFunction(() => navigator.serviceWorker.getRegistration().then(worker => worker?.active?.state === "activated"), null, {timeout: 20000})
    await server.stop()
    try {
      await browser.goto(server.url)
      await engineReady()
      assert.equal(await browser.evaluate(() => crossOriginIsolated), true)
      await browser.click("#analyse")
      await browser.waitForFunction(() => Number(document.querySelector("#lines li .depth")?.textContent.slice(1)) >= 5, null, {timeout: 20000})
      await browser.click("#analyse")
    } finally {
      server = await startServer(folder, {port: server.port})
    }
  })

  test("a Polyglot book chosen from disk: the engine, as Black, answers 1.d4 and 2.c4 from it", async t => {
    if (!ready) return t.skip("the engine never became ready")
    await browser.click("#new-game")
    await browser.openSection("settings")
    await browser.select("#engine-side", "b")
    await chooseFiles("#book-file", [path.join(DATA, "books/lasker-trap.bin")], "BookFile")
    await typeMove("d4")
    await waitForMoves(2)
    await typeMove("c4")
    await waitForMoves(4)
    assert.deepEqual((await moves()).moves, ["1. d4", "d5", "2. c4", "e5"])
  })

  test("KRvK tables chosen from disk: the engine, as White, plays the tables' move, the native engine's", async t => {
    if (!ready) return t.skip("the engine never became ready")
    const tables = ["rtbw", "rtbz"].map(kind => path.join(DATA, `syzygy/KRvK.${kind}`))
    await chooseFiles("#table-files", tables, "SyzygyPath")
    await browser.fill("#fen", KRVK)
    await browser.click("#fen-form button")
    await browser.select("#engine-side", "w")
    const bestmove = await browser.waitForFunction(logged, {direction: "<", source: "^bestmove "}, {timeout: 20000})
    assert.equal(bestmove.split(" ")[2], expected.tableMove)
    assert.match(await browser.evaluate(logged, {direction: "<", source: "^info .* tbhits [1-9]"}), /tbhits/)
  })

  test("no console errors, uncaught exceptions or failed requests", async () => {
    assert.deepEqual(await browser.problems(), [])
  })
}
