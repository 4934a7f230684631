// Usage: node web/test/browser.js WEB_ZIP_OR_FOLDER
// The page in a real browser, as a person uses it: Debian's Chromium, headless, driven
// through playwright-core (npm ci in web/test first; it downloads no browser). The
// web zip is unpacked afresh into build-web/unpacked and served by its own server.js.
// Moves are dragged with the mouse; the engine's lines are read, with the page's
// time stamps, from its protocol list. Any console error, uncaught exception or
// failed request fails the test. Writes build-web/page.png, a screenshot in mid-game.
// CHROMIUM names another browser program than /usr/bin/chromium.
import {test, before, after} from "node:test"
import assert from "node:assert/strict"
import {execFileSync, spawn} from "node:child_process"
import fs from "node:fs"
import path from "node:path"
import {fileURLToPath} from "node:url"
import {chromium} from "playwright-core"
import {Chess} from "../page/game.js"

const ROOT = fileURLToPath(new URL("../..", import.meta.url))
const OUT = path.join(ROOT, "build-web")
const MOVETIME = 1000
// White's moves after 1.e4, the first of them that is legal each time.
const DEVELOPING = ["g1f3", "f1c4", "b1c3", "e1g1", "d2d3", "c1e3", "h2h3", "a2a3"]

const problems = []
let server
let context
let page
let url
let profile

// The folder to serve: the one folder of the zip, unpacked into a fresh directory.
function webFolder(given) {
  if (!given.endsWith(".zip")) return path.resolve(given)
  const unpacked = path.join(OUT, "unpacked")
  fs.rmSync(unpacked, {recursive: true, force: true})
  fs.mkdirSync(unpacked, {recursive: true})
  execFileSync("cmake", ["-E", "tar", "xf", path.resolve(given)], {cwd: unpacked})
  const entries = fs.readdirSync(unpacked)
  assert.equal(entries.length, 1, `the zip holds ${entries.join(", ")}`)
  return path.join(unpacked, entries[0])
}

async function startServer(folder) {
  server = spawn(process.execPath, [path.join(folder, "server.js"), "0", folder], {stdio: ["ignore", "pipe", "inherit"]})
  const banner = await new Promise((resolve, reject) => {
    server.stdout.once("data", resolve)
    server.once("exit", code => reject(new Error(`server.js exited with status ${code}`)))
  })
  return /http:\/\/localhost:\d+\//.exec(String(banner))[0]
}

// The engine's lines so far: {t, line} with t in milliseconds since the page began to load.
async function protocol(direction) {
  const lines = await page.$$eval("#protocol-lines li", items => items.map(item => ({t: Number(item.dataset.t), text: item.textContent})))
  return lines.filter(({text}) => text.startsWith(`${direction} `)).map(({t, text}) => ({t, line: text.slice(2)}))
}

// The page's clock, in milliseconds since it began to load.
function now() {
  return page.evaluate(() => performance.now())
}

async function waitForLine(direction, pattern, after) {
  const deadline = Date.now() + 20000
  for (;;) {
    const found = (await protocol(direction)).find(({t, line}) => t > after && pattern.test(line))
    if (found) return found
    assert.ok(Date.now() < deadline, `no "${pattern.source}" from the engine`)
    await page.waitForTimeout(20)
  }
}

// Drags the piece on one square to another with the mouse, in small steps.
async function drag(from, to) {
  const centre = async square => {
    const box = await page.locator(`#board rect[data-square="${square}"]`).boundingBox()
    return {x: box.x + box.width / 2, y: box.y + box.height / 2}
  }
  const start = await centre(from)
  const end = await centre(to)
  await page.mouse.move(start.x, start.y)
  await page.mouse.down()
  await page.mouse.move(end.x, end.y, {steps: 8})
  await page.mouse.up()
}

// Drags a legal move until the page has played it: the board takes no new input
// until it has finished showing the last move and the positions set after it, a
// few hundred milliseconds that a person never notices but a script does.
async function dragUntilPlayed(from, to) {
  const fen = await page.inputValue("#fen")
  for (let attempt = 0; attempt < 20; ++attempt) {
    await drag(from, to)
    const played = await page
      .waitForFunction(before => document.querySelector("#fen").value !== before, fen, {timeout: 250})
      .then(() => true, () => false)
    if (played) return
  }
  assert.fail(`the board never took ${from}${to} in ${fen}`)
}

async function moveList() {
  return page.$$eval("#moves li", rows => rows.map(row => [...row.children].map(cell => cell.textContent).join(" ").trim()))
}

// Plays MOVE (coordinates) by dragging it, and checks that the engine answers within
// its time with a legal move; returns the answer and the milliseconds it took.
async function playAndAwaitAnswer(move) {
  const chess = new Chess(await page.inputValue("#fen"))
  chess.move({from: move.slice(0, 2), to: move.slice(2, 4)})
  const before = await now()
  await drag(move.slice(0, 2), move.slice(2, 4))
  const go = await waitForLine(">", /^go movetime /, before)
  const answer = await waitForLine("<", /^bestmove /, go.t)
  const reply = answer.line.split(" ")[1]
  const legal = chess.moves({verbose: true}).map(({lan}) => lan)
  assert.ok(legal.includes(reply), `bestmove ${reply} is not legal in ${chess.fen()}`)
  const ms = answer.t - go.t
  assert.ok(ms <= MOVETIME + 200, `the answer to ${move} took ${ms} ms`)
  return {reply, ms}
}

before(async () => {
  const given = process.argv[2]
  assert.ok(given, "usage: node web/test/browser.js WEB_ZIP_OR_FOLDER")
  fs.mkdirSync(OUT, {recursive: true})
  url = await startServer(webFolder(given))
  profile = fs.mkdtempSync(path.join(OUT, "chromium-profile-"))
  context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    viewport: {width: 1200, height: 860},
    args: [
      ...(process.getuid?.() === 0 ? ["--no-sandbox"] : []),
      "--headless", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync",
    ],
  })
  page = context.pages()[0] ?? (await context.newPage())
  page.on("console", message => {
    if (message.type() === "error") problems.push(`console: ${message.text()}`)
  })
  page.on("pageerror", error => problems.push(`uncaught: ${error.message}`))
  page.on("requestfailed", request => problems.push(`failed request: ${request.url()} ${request.failure()?.errorText}`))
  page.on("response", response => {
    if (response.status() >= 400) problems.push(`HTTP ${response.status()}: ${response.url()}`)
  })
})

after(async () => {
  await context?.close()
  server?.kill()
  if (profile) fs.rmSync(profile, {recursive: true, force: true})
})

test("the engine is ready soon after the page loads", async () => {
  const times = []
  const loaded = []
  for (let load = 0; load < 5; load++) {
    await (load === 0 ? page.goto(url) : page.reload())
    await page.waitForSelector('#engine-status[data-state="ready"]', {timeout: 30000})
    times.push(Number(await page.getAttribute("#engine-status", "data-ready-ms")))
    const [uci] = await protocol(">")
    loaded.push(Math.round(uci.t))
  }
  assert.ok(await page.evaluate(() => crossOriginIsolated), "the page is not cross-origin isolated")
  const sorted = [...times].sort((a, b) => a - b)
  console.log(`# load to ready (uciok, readyok), ms: first ${times[0]}, median of ${times.length} ${sorted[2]}, all ${times.join(" ")}`)
  console.log(`# of which the page's own loading, until it sent uci, ms: ${loaded.join(" ")}`)
  assert.ok(sorted[2] < 10000)
})

test("1.e4 and three more moves dragged on the board, each answered in time", async () => {
  assert.equal(await page.inputValue("#engine-side"), "b")
  await page.fill("#limit-value", String(MOVETIME))
  const answers = [await playAndAwaitAnswer("e2e4")]
  const [first] = await moveList()
  assert.match(first, /^e4 \S+$/)
  while (answers.length < 4) {
    const legal = new Chess(await page.inputValue("#fen")).moves({verbose: true}).map(({lan}) => lan)
    answers.push(await playAndAwaitAnswer(DEVELOPING.find(move => legal.includes(move)) ?? legal[0]))
  }
  assert.equal((await moveList()).length, 4)
  console.log(`# answers to go movetime ${MOVETIME}: ${answers.map(({reply, ms}) => `${reply} after ${ms.toFixed(0)} ms`).join(", ")}`)
})

test("infinite analysis, stopped: bestmove within 200 ms", async () => {
  await page.selectOption("#engine-side", "none")
  const before = await now()
  await page.click("#analyse")
  const go = await waitForLine(">", /^go infinite$/, before)
  await waitForLine("<", /^info depth 8 /, go.t)
  await page.waitForTimeout(1500)
  const infos = (await protocol("<")).filter(({t, line}) => t > go.t && line.startsWith("info depth"))
  assert.ok(infos.length >= 8, `${infos.length} info lines`)
  await page.click("#analyse")
  const stop = await waitForLine(">", /^stop$/, go.t)
  const best = await waitForLine("<", /^bestmove /, stop.t)
  await page.screenshot({path: path.join(OUT, "page.png"), fullPage: true})
  console.log(`# stop answered with ${best.line} after ${(best.t - stop.t).toFixed(1)} ms (${infos.length} info lines before)`)
  assert.ok(best.t - stop.t < 200, `bestmove came ${best.t - stop.t} ms after stop`)
  assert.match(await page.textContent("#analysis-score"), /^([+-]\d+\.\d\d|0\.00|#-?\d+)$/)
  assert.notEqual(await page.textContent("#analysis-line"), "")
})

test("a promotion chosen in the dialog, from a position set by FEN", async () => {
  await page.fill("#fen", "8/4P1k1/8/8/8/8/8/4K3 w - - 0 1")
  await page.click("#fen-form button")
  await page.waitForFunction(() => document.querySelector("#game-status").textContent === "White to move")
  await drag("e7", "e8")
  await page.locator('.promotion-dialog-button[data-piece="wn"]').click()
  await page.waitForFunction(() => document.querySelector("#moves li")?.textContent.trim() === "e8=N+")
  assert.equal(await page.inputValue("#fen"), "4N3/6k1/8/8/8/8/8/4K3 b - - 0 1")
})

test("the end of the game", async () => {
  const ends = [
    ["6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1", "a8", "1-0: checkmate"],
    ["7k/5Q2/8/8/8/8/8/K7 w - - 0 1", "f7", "g6", "1/2-1/2: stalemate"],
    ["4k3/8/8/8/8/8/3r4/4K3 w - - 0 1", "e1", "d2", "1/2-1/2: insufficient material"],
  ]
  for (const [fen, from, to, status] of ends) {
    await page.fill("#fen", fen)
    await page.click("#fen-form button")
    await dragUntilPlayed(from, to)
    await page.waitForFunction(text => document.querySelector("#game-status").textContent === text, status)
  }
})

test("no console errors, uncaught exceptions or failed requests", () => {
  assert.deepEqual(problems, [])
})
