import fs from "node:fs"
import {launchBrowser} from "./drivers.js"
import {startServer} from "./site.js"
const server = await startServer("/work/main/build-web/site")
const b = await launchBrowser(process.argv[2] ?? "chromium", {viewport: {width: 1200, height: 860}})
await b.goto(server.url)
await b.waitForFunction(() => document.querySelector("#engine-status").dataset.state === "ready", null, {timeout: 30000})
await b.evaluate(() => document.getElementById("pgn").open = true)
await b.fill("#pgn-input", fs.readFileSync("/tmp/game40.pgn", "utf8"))
await b.click("#pgn-load")
await b.waitForFunction(() => document.querySelectorAll("#moves .move").length >= 80, null, {timeout: 10000})
const plies = await b.evaluate(() => document.querySelectorAll("#moves .move").length)
const hc = await b.evaluate(() => navigator.hardwareConcurrency)
const t0 = Date.now()
await b.click("#review-start")
await b.waitForFunction(() => !document.querySelector("#review-graph").hasAttribute("hidden"), null, {timeout: 600000})
console.log(`${plies} plies, hardwareConcurrency ${hc}, nodes ${await b.evaluate(() => document.querySelector("#review-nodes").value)}: ${((Date.now() - t0) / 1000).toFixed(1)} s`)
console.log(await b.evaluate(() => document.querySelector("#review-summary").textContent))
await b.close(); await server.stop()
