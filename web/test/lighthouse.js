// Usage: node web/test/lighthouse.js WEB_ZIP_OR_FOLDER
// The served page as Chromium judges it: Lighthouse's four scores on its default
// phone profile (performance, accessibility and best practices at 0.95 or more,
// SEO at 0.9 or more), and no installability error from Chromium's own check
// (Page.getInstallabilityErrors), once the page's service worker is running.
// Writes the report to build-web/lighthouse.html and the scores to
// build-web/lighthouse.json.
import {after, test} from "node:test"
import assert from "node:assert/strict"
import fs from "node:fs"
import path from "node:path"
import * as chromeLauncher from "chrome-launcher"
import lighthouse from "lighthouse"
import {launchBrowser} from "./drivers.js"
import {OUT, startServer, webFolder} from "./site.js"

const METRICS = ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time", "cumulative-layout-shift", "speed-index"]
const LEAST = {performance: 0.95, accessibility: 0.95, "best-practices": 0.95, seo: 0.9}

if (process.argv.length !== 3) {
  console.error("usage: node web/test/lighthouse.js WEB_ZIP_OR_FOLDER")
  process.exit(2)
}
fs.mkdirSync(OUT, {recursive: true})
const server = await startServer(webFolder(process.argv[2], "lighthouse"))
after(() => server.stop())

test("Lighthouse's scores on its phone profile", async () => {
  const chrome = await chromeLauncher.launch({
    chromePath: process.env.CHROMIUM || "/usr/bin/chromium",
    chromeFlags: ["--headless", "--disable-gpu", ...(process.getuid?.() === 0 ? ["--no-sandbox"] : [])],
  })
  try {
    const {lhr, report} = await lighthouse(server.url, {port: chrome.port, output: "html", onlyCategories: Object.keys(LEAST), logLevel: "error"})
    fs.writeFileSync(path.join(OUT, "lighthouse.html"), report)
    if (process.env.LH_JSON) fs.writeFileSync(process.env.LH_JSON, JSON.stringify(lhr))
    const scores = Object.fromEntries(Object.keys(LEAST).map(id => [id, lhr.categories[id].score]))
    const metrics = Object.fromEntries(METRICS.map(id => [id, lhr.audits[id].displayValue]))
    fs.writeFileSync(path.join(OUT, "lighthouse.json"), `${JSON.stringify({scores, metrics}, null, 2)}\n`)
    console.log(`# Lighthouse ${lhr.lighthouseVersion}: ${Object.entries(scores).map(([id, score]) => `${id} ${score}`).join(", ")}`)
    console.log(`# ${Object.entries(metrics).map(([id, value]) => `${id} ${value}`).join(", ")}`)
    const low = Object.entries(scores).filter(([id, score]) => score < LEAST[id])
    const failing = id =>
      lhr.categories[id].auditRefs.map(ref => lhr.audits[ref.id]).filter(audit => audit.score !== null && audit.score < 0.9 && audit.scoreDisplayMode !== "informative").map(audit => audit.id)
    assert.deepEqual(low, [], `low scores; audits below 0.9: ${low.map(([id]) => `${id}: ${failing(id).join(" ")}`).join("; ")}`)
  } finally {
    chrome.kill()
  }
})

test("installable: Chromium names no installability error", async () => {
  const browser = await launchBrowser("chromium", {viewport: {width: 412, height: 823}})
  try {
    await browser.goto(server.url)
    await browser.waitForFunction(() => navigator.serviceWorker.getRegistration().then(worker => worker?.active?.state === "activated"), null, {timeout: 20000})
    const {installabilityErrors} = await browser.devtools("Page.getInstallabilityErrors")
    assert.deepEqual(installabilityErrors, [])
  } finally {
    await browser.close()
  }
})
