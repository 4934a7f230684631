// The static server as a browser meets it: the isolation headers on every answer, the
// content types, and no way out of the folder it serves.
import {test, before, after} from "node:test"
import assert from "node:assert/strict"
import {spawn} from "node:child_process"
import fs from "node:fs"
import http from "node:http"
import os from "node:os"
import path from "node:path"
import {once} from "node:events"
import {fileURLToPath} from "node:url"

const SERVER = fileURLToPath(new URL("../server.js", import.meta.url))
let work
let server
let port

// The folder served is work/site; work/secret.txt lies beside it.
before(async () => {
  work = fs.mkdtempSync(path.join(os.tmpdir(), "quillbrook-server-"))
  const files = {
    "site/index.html": "<!doctype html>",
    "site/main.js": "export {}",
    "site/quillbrook.wasm": "\0asm",
    "site/vendor/pieces.svg": "<svg/>",
    "site/sub/index.html": "sub",
    "site/a b.txt": "spaced",
    "site/README.md": "# readme",
    "site/data.bin": "bin",
    "secret.txt": "secret",
  }
  for (const [name, text] of Object.entries(files)) {
    fs.mkdirSync(path.dirname(path.join(work, name)), {recursive: true})
    fs.writeFileSync(path.join(work, name), text)
  }
  fs.symlinkSync(path.join(work, "secret.txt"), path.join(work, "site/link.txt"))
  fs.symlinkSync(path.join(work, "site/main.js"), path.join(work, "site/inside.js"))
  server = spawn(process.execPath, [SERVER, "0", path.join(work, "site")], {stdio: ["ignore", "pipe", "inherit"]})
  const [banner] = await once(server.stdout, "data")
  port = Number(/localhost:(\d+)\//.exec(String(banner))[1])
})

after(() => {
  server.kill()
  fs.rmSync(work, {recursive: true, force: true})
})

function request(method, rawPath) {
  return new Promise((resolve, reject) => {
    const req = http.request({host: "127.0.0.1", port, method, path: rawPath}, response => {
      let body = ""
      response.on("data", chunk => (body += chunk))
      response.on("end", () => resolve({status: response.statusCode, headers: response.headers, body}))
    })
    req.on("error", reject)
    req.end()
  })
}

// Method, path as sent (not normalised by a client), status, content type, body.
const ANSWERS = [
  ["GET", "/", 200, "text/html; charset=utf-8", "<!doctype html>"],
  ["GET", "/index.html?v=2#top", 200, "text/html; charset=utf-8", "<!doctype html>"],
  ["GET", "/main.js", 200, "text/javascript; charset=utf-8", "export {}"],
  ["GET", "/quillbrook.wasm", 200, "application/wasm", "\0asm"],
  ["GET", "/vendor/pieces.svg", 200, "image/svg+xml", "<svg/>"],
  ["GET", "/sub", 200, "text/html; charset=utf-8", "sub"],
  ["GET", "/sub/", 200, "text/html; charset=utf-8", "sub"],
  ["GET", "/a%20b.txt", 200, "text/plain; charset=utf-8", "spaced"],
  ["GET", "/README.md", 200, "text/markdown; charset=utf-8", "# readme"],
  ["GET", "/data.bin", 200, "application/octet-stream", "bin"],
  ["GET", "/inside.js", 200, "text/javascript; charset=utf-8", "export {}"],
  ["HEAD", "/main.js", 200, "text/javascript; charset=utf-8", ""],
  ["GET", "/missing.js", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/vendor", 404, "text/plain; charset=utf-8", "Not found\n"],
  // Ways out of the folder.
  ["GET", "/../secret.txt", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/%2e%2e/secret.txt", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/sub/..%2f..%2fsecret.txt", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/..%5csecret.txt", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "//etc/passwd", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/link.txt", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/main.js%00.html", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["GET", "/%E0%A4%A", 404, "text/plain; charset=utf-8", "Not found\n"],
  ["POST", "/index.html", 405, undefined, ""],
  ["PUT", "/new.txt", 405, undefined, ""],
]

test("answers, each with the headers of a cross-origin isolated page", async () => {
  for (const [method, rawPath, status, type, body] of ANSWERS) {
    const answer = await request(method, rawPath)
    const label = `${method} ${rawPath}`
    assert.equal(answer.status, status, label)
    assert.equal(answer.headers["content-type"], type, label)
    assert.equal(answer.body, body, label)
    assert.equal(answer.headers["cross-origin-opener-policy"], "same-origin", label)
    assert.equal(answer.headers["cross-origin-embedder-policy"], "require-corp", label)
    assert.equal(answer.headers["cross-origin-resource-policy"], "same-origin", label)
  }
  assert.equal((await request("HEAD", "/main.js")).headers["content-length"], "9")
  assert.equal((await request("POST", "/")).headers.allow, "GET, HEAD")
})

test("a port that is no port", async () => {
  const child = spawn(process.execPath, [SERVER, "http"], {stdio: ["ignore", "ignore", "pipe"]})
  let errors = ""
  child.stderr.on("data", chunk => (errors += chunk))
  const [code] = await once(child, "exit")
  assert.equal(code, 2)
  assert.equal(errors, "server.js: not a port: http\n")
})
