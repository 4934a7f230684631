// The served page for the browser tests: the web zip's one folder unpacked afresh,
// or a folder as scripts/web_folder.sh lays it out, served on the loopback
// interface by the folder's own server.js (with the cross-origin isolation
// headers) or by a plain static server (python3 -m http.server, without them).
import assert from "node:assert/strict"
import {execFileSync, spawn} from "node:child_process"
import fs from "node:fs"
import path from "node:path"
import {fileURLToPath} from "node:url"

export const ROOT = fileURLToPath(new URL("../..", import.meta.url))
export const OUT = path.join(ROOT, "build-web")

// The folder to serve: a zip's one folder, unpacked into OUT/<into>, else the folder given.
export function webFolder(given, into = "unpacked") {
  if (!given.endsWith(".zip")) return path.resolve(given)
  const unpacked = path.join(OUT, into)
  fs.rmSync(unpacked, {recursive: true, force: true})
  fs.mkdirSync(unpacked, {recursive: true})
  execFileSync("cmake", ["-E", "tar", "xf", path.resolve(given)], {cwd: unpacked})
  const entries = fs.readdirSync(unpacked)
  assert.equal(entries.length, 1, `the zip holds ${entries.join(", ")}`)
  return path.join(unpacked, entries[0])
}

// Serves the folder on `port` (0: a free one); resolves with {url, port, stop()}
// once the server has printed its address, which each server prints first. stop()
// resolves once the port is closed, so that the same port may be served again.
export async function startServer(folder, {isolated = true, port = 0} = {}) {
  const [command, args] = isolated
    ? [process.execPath, [path.join(folder, "server.js"), String(port), folder]]
    : ["python3", ["-u", "-m", "http.server", String(port), "--bind", "127.0.0.1", "--directory", folder]]
  const server = spawn(command, args, {stdio: ["ignore", "pipe", "ignore"]})
  const banner = await new Promise((resolve, reject) => {
    server.stdout.once("data", resolve)
    server.once("error", reject)
    server.once("exit", code => reject(new Error(`${command} ${args.join(" ")} exited with status ${code}`)))
  })
  const url = /http:\/\/(localhost|127\.0\.0\.1):\d+\//.exec(String(banner))[0]
  const stop = () =>
    new Promise(resolve => {
      if (server.exitCode !== null || server.signalCode !== null) return resolve()
      server.once("exit", () => resolve())
      server.kill()
    })
  return {url, port: Number(new URL(url).port), stop}
}
