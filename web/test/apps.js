// Usage: node web/test/apps.js BUNDLED_APPS NATIVE_ENGINE [--browser chromium|firefox|webkit]...
// The app of web/test/bundlers, built by each bundler into BUNDLED_APPS/<bundler>
// (bundlers/build.sh), served by a plain static server (python3 -m http.server,
// without cross-origin isolation), in each browser named: the engine the app
// imported from the npm package starts with nothing copied or located by hand, and
// its bestmove at a fixed node count is the native engine's.
import {after, before, describe, test} from "node:test"
import assert from "node:assert/strict"
import {spawn} from "node:child_process"
import fs from "node:fs"
import path from "node:path"
import {createInterface} from "node:readline"
import {parseArgs} from "node:util"
import {BROWSERS, launchBrowser} from "./drivers.js"

const FEN = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"
const NODES = 20000

const {values: options, positionals} = parseArgs({allowPositionals: true, options: {browser: {type: "string", multiple: true}}})
const browsers = options.browser ?? ["chromium"]
if (positionals.length !== 2 || browsers.some(name => !BROWSERS.includes(name))) {
  console.error(`usage: node web/test/apps.js BUNDLED_APPS NATIVE_ENGINE [--browser ${BROWSERS.join("|")}]...`)
  process.exit(2)
}
const [apps, native] = positionals.map(given => path.resolve(given))
const bundlers = fs.readdirSync(apps).filter(name => fs.existsSync(path.join(apps, name, "index.html")))

// The native engine's bestmove; its input waits for the answer, since a searching
// engine reads ahead and would take a quit behind the go for a stop.
function nativeBestmove() {
  const engine = spawn(native, {stdio: ["pipe", "pipe", "inherit"]})
  engine.stdin.write(`position fen ${FEN}\ngo nodes ${NODES}\n`)
  return new Promise(resolve => {
    createInterface({input: engine.stdout}).on("line", line => {
      if (!line.startsWith("bestmove")) return
      engine.stdin.end("quit\n")
      resolve(line.split(" ")[1])
    })
  })
}

let server
let url
let expected

before(async () => {
  expected = await nativeBestmove()
  server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", apps], {stdio: ["ignore", "pipe", "ignore"]})
  const banner = await new Promise((resolve, reject) => {
    server.stdout.once("data", resolve)
    server.once("exit", code => reject(new Error(`python3 -m http.server exited with status ${code}`)))
  })
  url = /http:\/\/127\.0\.0\.1:\d+\//.exec(String(banner))[0]
})

after(() => server?.kill())

for (const name of browsers) {
  describe(name, () => {
    let browser
    before(async () => (browser = await launchBrowser(name, {viewport: {width: 800, height: 600}})))
    after(() => browser?.close())

    for (const bundler of bundlers) {
      test(`the ${bundler} app: bestmove at ${NODES} nodes as the native engine's`, async () => {
        const started = Date.now()
        await browser.goto(`${url}${bundler}/index.html?fen=${encodeURIComponent(FEN)}&nodes=${NODES}`)
        await browser.waitForFunction(() => document.querySelector("#result")?.dataset.state !== "loading", null, {timeout: 30000})
        const result = await browser.evaluate(() => ({...document.querySelector("#result").dataset}))
        console.log(`# ${name}, ${bundler}: ${JSON.stringify(result)} after ${Date.now() - started} ms`)
        assert.deepEqual([result.state, result.bestmove], ["done", expected], result.error)
        assert.deepEqual(await browser.problems(), [])
      })
    }
  })
}
