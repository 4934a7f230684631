// Usage: node web/test/apps.js BUNDLED_APPS NATIVE_ENGINE [--browser chromium|firefox|webkit]...
// The app of web/test/bundlers, built by each bundler into BUNDLED_APPS/<bundler>
// (bundlers/build.sh), served by a plain static server (python3 -m http.server,
// without cross-origin isolation), in each browser named: the engine the app
// imported from the npm package starts with nothing copied or located by hand, and
// its bestmove at a fixed node count is the native engine's.
import {after, before, describe, test} from "node:test"
import assert from "node:assert/strict"
import fs from "node:fs"
import path from "node:path"
import {parseArgs} from "node:util"
import {BROWSERS, launchBrowser} from "./drivers.js"
import {nativeBestmove} from "./native.js"
import {startServer} from "./site.js"

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

let server
let url
let expected

before(async () => {
  expected = await nativeBestmove(native, [`position fen ${FEN}`, `go nodes ${NODES}`])
  server = await startServer(apps, {isolated: false})
  url = server.url
})

after(() => server?.stop())

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
