// Usage: node benchmarks/web_speed.mjs NPM_FOLDER WEB_FOLDER NATIVE_ENGINE [--rounds N] [--depth D] [--old OLD_NPM_FOLDER]
// Nodes per second of `bench D` (default 14) in each place the WebAssembly engine
// runs, taking turns for N rounds (default 5), and the median of each: the native
// engine; the npm package's command (NPM_FOLDER, as build-wasm/npm) under Node.js
// in each input mode (shared memory, yielding); and the page of WEB_FOLDER in headless
// Chromium, served with the isolation headers (shared memory) and without them
// (yielding), where bench is typed into the page's protocol field. --old names
// the npm folder of another build to time beside them. Needs web/test's packages
// (npm ci --prefix web). Timings here swing by a tenth; read the medians.
import {spawn, execFileSync} from "node:child_process"
import path from "node:path"
import {parseArgs} from "node:util"
import {launchBrowser} from "../web/test/drivers.js"

const {values: options, positionals} = parseArgs({
  allowPositionals: true,
  options: {rounds: {type: "string", default: "5"}, depth: {type: "string", default: "14"}, old: {type: "string"}},
})
if (positionals.length !== 3) {
  console.error("usage: node benchmarks/web_speed.mjs NPM_FOLDER WEB_FOLDER NATIVE_ENGINE [--rounds N] [--depth D] [--old OLD_NPM_FOLDER]")
  process.exit(2)
}
const [npm, folder, native] = positionals.map(given => path.resolve(given))
const depth = options.depth

const nps = text => Number(/^NPS\s*:\s*(\d+)/m.exec(text)?.[1])
const command = (program, args, env = {}) => () =>
  nps(execFileSync(program, [...args, "bench", depth], {encoding: "utf8", env: {...process.env, ...env}, stdio: ["ignore", "pipe", "ignore"]}))

function startServer(isolated) {
  const [program, args] = isolated
    ? [process.execPath, [path.join(folder, "server.js"), "0", folder]]
    : ["python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", folder]]
  const server = spawn(program, args, {stdio: ["ignore", "pipe", "ignore"]})
  return new Promise(resolve =>
    server.stdout.once("data", banner => resolve({server, url: /http:\/\/(localhost|127\.0\.0\.1):\d+\//.exec(String(banner))[0]})))
}

// The page's bench, typed into its protocol field once the engine is ready.
function inPage(browser, url) {
  return async () => {
    await browser.goto(url)
    await browser.waitForFunction(() => document.querySelector("#engine-status").dataset.state === "ready", null, {timeout: 30000})
    await browser.click("#protocol summary")
    await browser.fill("#protocol-line", `bench ${depth}`)
    await browser.click("#protocol-form button")
    await browser.waitForFunction(() => [...document.querySelectorAll("#protocol-lines li")].some(item => item.textContent.startsWith("< NPS")), null, {
      timeout: 120000,
    })
    return browser.evaluate(() => Number(/(\d+)$/.exec([...document.querySelectorAll("#protocol-lines li")].find(item => item.textContent.startsWith("< NPS")).textContent)[1]))
  }
}

const isolatedServer = await startServer(true)
const plainServer = await startServer(false)
const browser = await launchBrowser("chromium", {viewport: {width: 1200, height: 860}})
const runs = {
  native: command(native, []),
  ...(options.old ? {"Node.js, old build": command(process.execPath, [path.join(path.resolve(options.old), "bin/quillbrook.js")])} : {}),
  "Node.js, shared memory": command(process.execPath, [path.join(npm, "bin/quillbrook.js")], {QUILLBROOK_INPUT: "shared-memory"}),
  "Node.js, yielding": command(process.execPath, [path.join(npm, "bin/quillbrook.js")], {QUILLBROOK_INPUT: "yielding"}),
  "Chromium, shared memory": inPage(browser, isolatedServer.url),
  "Chromium, yielding": inPage(browser, plainServer.url),
}
const results = Object.fromEntries(Object.keys(runs).map(name => [name, []]))
try {
  for (let round = 0; round < Number(options.rounds); round++) {
    for (const [name, run] of Object.entries(runs)) results[name].push(await run())
    console.error(`round ${round + 1}: ${Object.entries(results).map(([name, all]) => `${name} ${all.at(-1)}`).join(", ")}`)
  }
} finally {
  await browser.close()
  isolatedServer.server.kill()
  plainServer.server.kill()
}
const median = all => [...all].sort((a, b) => a - b)[Math.floor(all.length / 2)]
const reference = median(results.native)
console.log(`| where | nodes per second (median of ${options.rounds}) | of native |`)
console.log("|---|---|---|")
for (const [name, all] of Object.entries(results)) {
  console.log(`| ${name} | ${median(all)} | ${((100 * median(all)) / reference).toFixed(0)} % |`)
}
