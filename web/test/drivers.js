// One small interface over three browser engines for the page's tests, each a
// browser of this Debian machine (no npm package downloads one):
//   chromium  /usr/bin/chromium, headless, through puppeteer-core (CDP)
//   firefox   /usr/bin/firefox-esr, headless, through puppeteer-core (WebDriver BiDi)
//   webkit    WebKitGTK's MiniBrowser under WebKitWebDriver, in a virtual X display
//             (xvfb-run), through webdriverio (classic WebDriver)
// launchBrowser(name, {viewport}) gives
//   goto(url), reload(), evaluate(fn, ...args), waitForFunction(fn, arg, {timeout}),
//   click(selector), fill(selector, text), select(selector, value),
//   press(key): a key pressed and released where the focus is ("Enter", "ArrowLeft",
//     "Home"...: the names of KeyboardEvent.key),
//   upload(selector, paths): files chosen from disk in a file input, as its dialog would,
//   drag(from, to): the mouse pressed at one viewport point and released at another,
//   setViewport({width, height}), boundingBox(selector), openSection(id) (a <details>),
//   screenshot(path),
//   devtools(method, params): a command of Chromium's DevTools protocol (Chromium only),
//   problems(): console errors, uncaught exceptions and failed requests so far,
//   close().
// CHROMIUM, FIREFOX and MINIBROWSER name other programs than Debian's.
import {spawn} from "node:child_process"
import net from "node:net"
import puppeteer from "puppeteer-core"
import {Key, remote} from "webdriverio"

const LAUNCHERS = {chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit}
export const BROWSERS = Object.keys(LAUNCHERS)

// What waitForFunction throws when its time is up.
export class TimeoutError extends Error {}

const MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
const DRAG_STEPS = 8

export async function launchBrowser(name, {viewport}) {
  if (!LAUNCHERS[name]) throw new Error(`no browser "${name}": one of ${BROWSERS.join(", ")}`)
  const browser = await LAUNCHERS[name]({viewport})
  return {name, ...browser, ...pageQueries(browser)}
}

// What every browser does alike, on top of its evaluate.
function pageQueries(browser) {
  return {
    // Polls fn(arg) in the page until it returns something truthy, and returns that;
    // like evaluate's, its value must be plain data (a DOM node is not, in Firefox).
    async waitForFunction(fn, arg, {timeout = 10000, interval = 20} = {}) {
      const deadline = Date.now() + timeout
      for (;;) {
        const value = await browser.evaluate(fn, arg)
        if (value) return value
        if (Date.now() > deadline) throw new TimeoutError(`not met within ${timeout} ms: ${fn}`)
        await new Promise(resolve => setTimeout(resolve, interval))
      }
    },
    // Opens a section of the page (a <details>) by its summary, unless it is open: a
    // second click would close it again.
    async openSection(id) {
      if (!(await browser.evaluate(id => document.getElementById(id).open, id))) await browser.click(`#${id} > summary`)
    },
    // The element's box in viewport coordinates, or null when nothing matches.
    boundingBox: selector =>
      browser.evaluate(selector => {
        const box = document.querySelector(selector)?.getBoundingClientRect()
        return box && {x: box.x, y: box.y, width: box.width, height: box.height}
      }, selector),
  }
}

function launchChromium({viewport}) {
  return launchPuppeteer({
    browser: "chrome",
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: [
      // Chromium's sandbox refuses to run as root.
      ...(process.getuid?.() === 0 ? ["--no-sandbox"] : []),
      "--headless", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync",
    ],
  }, viewport)
}

function launchFirefox({viewport}) {
  return launchPuppeteer({browser: "firefox", executablePath: process.env.FIREFOX || "/usr/bin/firefox-esr"}, viewport)
}

// Puppeteer gives each launch a fresh temporary profile, and removes it on close.
async function launchPuppeteer(options, viewport) {
  const browser = await puppeteer.launch({headless: true, ...options})
  const page = (await browser.pages())[0] ?? (await browser.newPage())
  // Firefox's first tab keeps its own size whatever defaultViewport says.
  await page.setViewport(viewport)
  const problems = []
  page.on("console", message => {
    if (message.type() === "error") problems.push(`console: ${message.text()}`)
  })
  page.on("pageerror", error => problems.push(`uncaught: ${error.message}`))
  page.on("requestfailed", request => problems.push(`failed request: ${request.url()} ${request.failure()?.errorText}`))
  page.on("response", response => {
    if (response.status() >= 400) problems.push(`HTTP ${response.status()}: ${response.url()}`)
  })
  return {
    goto: async url => void (await page.goto(url)),
    reload: async () => void (await page.reload()),
    evaluate: (fn, ...args) => page.evaluate(fn, ...args),
    click: selector => page.click(selector),
    fill: (selector, text) => page.locator(selector).fill(text),
    select: async (selector, value) => void (await page.select(selector, value)),
    press: key => page.keyboard.press(key),
    async upload(selector, paths) {
      const input = await page.$(selector)
      await input.uploadFile(...paths)
      await input.dispose()
    },
    setViewport: viewport => page.setViewport(viewport),
    async drag(from, to) {
      await page.mouse.move(from.x, from.y)
      await page.mouse.down()
      await page.mouse.move(to.x, to.y, {steps: DRAG_STEPS})
      await page.mouse.up()
    },
    screenshot: path => page.screenshot({path, fullPage: true}),
    // Chromium only: a command of its DevTools protocol, sent for the page.
    async devtools(method, params) {
      const session = await page.createCDPSession()
      try {
        return await session.send(method, params)
      } finally {
        await session.detach()
      }
    },
    problems: async () => [...problems],
    close: () => browser.close(),
  }
}

// WebKitGTK's MiniBrowser has no headless mode: it gets an X display of its own.
// Its WebDriver speaks classic WebDriver only (it refuses a session that asks for
// webSocketUrl, which webdriverio asks for unless told not to), which reports no
// console messages: errors are collected by a script in the page, from the time
// the page has loaded on.
async function launchWebKit({viewport}) {
  const port = await freePort()
  // A process group of its own (xvfb-run, Xvfb, the driver, MiniBrowser and its
  // web process), to be ended whole, at the latest when the test ends.
  const driver = spawn("xvfb-run", ["-a", "WebKitWebDriver", `--port=${port}`], {
    detached: true,
    stdio: ["ignore", "ignore", "pipe"],
  })
  let stderr = ""
  driver.stderr.on("data", data => (stderr = (stderr + data).slice(-4000)))
  const stopDriver = () => {
    try {
      process.kill(-driver.pid, "SIGTERM")
    } catch {
      // The group has ended already.
    }
  }
  process.once("exit", stopDriver)
  let browser
  try {
    await driverReady(port, driver)
    browser = await remote({
      hostname: "127.0.0.1",
      port,
      path: "/",
      logLevel: "error",
      capabilities: {
        browserName: "MiniBrowser",
        "wdio:enforceWebDriverClassic": true,
        "webkitgtk:browserOptions": {binary: process.env.MINIBROWSER || MINIBROWSER, args: ["--automation"]},
      },
    })
    await fitViewport(browser, viewport)
  } catch (error) {
    stopDriver()
    throw new Error(`${error.message}\n${stderr}`)
  }

  const problems = []
  // Nothing to take from a page that is gone.
  const drain = async () => problems.push(...((await browser.execute(takeProblems).catch(() => [])) ?? []))
  const navigate = async load => {
    await drain()
    await load()
    await browser.execute(collectProblems)
  }
  return {
    goto: url => navigate(() => browser.url(url)),
    reload: () => navigate(() => browser.refresh()),
    evaluate: (fn, ...args) => browser.execute(fn, ...args),
    click: selector => browser.$(selector).click(),
    fill: (selector, text) => browser.$(selector).setValue(text),
    select: (selector, value) => browser.$(selector).selectByAttribute("value", value),
    press: key => browser.keys(Key[key] ?? key),
    // Keys sent to a file input are the paths of its files, one a line (WebDriver's
    // way of choosing files, which clearing the input first, as setValue does, breaks).
    upload: async (selector, paths) => {
      const input = await browser.$(selector)
      await browser.elementSendKeys(input.elementId, paths.join("\n"))
    },
    setViewport: viewport => fitViewport(browser, viewport),
    drag: (from, to) =>
      browser
        .action("pointer", {parameters: {pointerType: "mouse"}})
        .move({x: Math.round(from.x), y: Math.round(from.y)})
        .down({button: 0})
        .move({x: Math.round(to.x), y: Math.round(to.y), duration: 100})
        .up({button: 0})
        .perform(),
    screenshot: async path => void (await browser.saveScreenshot(path)),
    async problems() {
      await drain()
      return [...problems]
    },
    async close() {
      await browser.deleteSession().catch(() => {})
      stopDriver()
    },
  }
}

// Runs in the page: keeps its console errors, uncaught exceptions, unhandled
// rejections and failed loads of elements (in the capturing phase, as they do not
// bubble) for takeProblems.
function collectProblems() {
  if (window.testProblems) return
  window.testProblems = []
  const keep = text => window.testProblems.push(text)
  const error = console.error
  console.error = (...args) => {
    keep(`console: ${args.join(" ")}`)
    error.apply(console, args)
  }
  addEventListener("error", event => {
    const source = event.target?.src || event.target?.href
    keep(event.target === window || !source ? `uncaught: ${event.message}` : `failed request: ${source}`)
  }, true)
  addEventListener("unhandledrejection", event => keep(`uncaught: ${event.reason?.message ?? event.reason}`))
}

function takeProblems() {
  const taken = window.testProblems ?? []
  if (window.testProblems) window.testProblems = []
  return taken
}

// The window's size that gives the page the viewport asked for: the window's
// frame is measured once, after a first try.
async function fitViewport(browser, {width, height}) {
  await browser.setWindowSize(width, height)
  const [innerWidth, innerHeight] = await browser.execute(() => [window.innerWidth, window.innerHeight])
  if (innerWidth !== width || innerHeight !== height) {
    await browser.setWindowSize(2 * width - innerWidth, 2 * height - innerHeight)
  }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer().listen(0, "127.0.0.1", () => {
      const {port} = server.address()
      server.close(() => resolve(port))
    })
    server.on("error", reject)
  })
}

// Waits until the driver answers on its port.
async function driverReady(port, driver) {
  const deadline = Date.now() + 20000
  while (Date.now() < deadline) {
    if (driver.exitCode !== null) throw new Error(`xvfb-run WebKitWebDriver exited with status ${driver.exitCode}`)
    const ready = await fetch(`http://127.0.0.1:${port}/status`).then(response => response.ok, () => false)
    if (ready) return
    await new Promise(resolve => setTimeout(resolve, 100))
  }
  throw new Error(`WebKitWebDriver did not answer on port ${port} within 20 s`)
}
