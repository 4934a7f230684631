#!/usr/bin/env node
// Usage: node server.js [PORT] [FOLDER]
// Serves FOLDER (default: the folder this script is in) at http://localhost:PORT/
// (default 8000; 0 picks a free port) with the headers that make the page
// cross-origin isolated: the engine's worker needs SharedArrayBuffer, which a browser
// gives only to such a page. Listens on the loopback interface only; GET and HEAD.
"use strict"
const fs = require("node:fs")
const http = require("node:http")
const path = require("node:path")
const zlib = require("node:zlib")

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".json": "application/json",
  ".map": "application/json",
  ".svg": "image/svg+xml",
  ".png": "image/png",
  ".ico": "image/x-icon",
  ".txt": "text/plain; charset=utf-8",
  ".md": "text/markdown; charset=utf-8",
  ".webmanifest": "application/manifest+json",
}

// Sent gzipped to a browser that takes it: text, and the engine's code.
const COMPRESSED = new Set([".html", ".js", ".mjs", ".css", ".wasm", ".json", ".map", ".svg", ".txt", ".md", ".webmanifest"])

const ISOLATION = {
  "Cross-Origin-Opener-Policy": "same-origin",
  "Cross-Origin-Embedder-Policy": "require-corp",
  "Cross-Origin-Resource-Policy": "same-origin",
}

// The file under root that the URL path names, or null when it names none: a path
// that does not decode, holds a NUL, or leads outside root (by "..", or by a link).
function resolve(root, urlPath) {
  let relative
  try {
    relative = decodeURIComponent(urlPath)
  } catch {
    return null
  }
  if (relative.includes("\0")) return null
  let file = path.join(root, path.normalize(relative))
  try {
    if (fs.statSync(file).isDirectory()) file = path.join(file, "index.html")
    file = fs.realpathSync(file)
    if (!fs.statSync(file).isFile()) return null
  } catch {
    return null
  }
  return file.startsWith(root.endsWith(path.sep) ? root : root + path.sep) ? file : null
}

function serve(root, request, response) {
  const headers = {...ISOLATION, "Cache-Control": "no-cache"}
  if (request.method !== "GET" && request.method !== "HEAD") {
    response.writeHead(405, {...headers, Allow: "GET, HEAD"}).end()
    return
  }
  const file = resolve(root, new URL(request.url, "http://localhost").pathname)
  if (!file) {
    response.writeHead(404, {...headers, "Content-Type": "text/plain; charset=utf-8"}).end("Not found\n")
    return
  }
  const extension = path.extname(file).toLowerCase()
  headers["Content-Type"] = TYPES[extension] || "application/octet-stream"
  let body
  try {
    body = fs.readFileSync(file)
  } catch {
    response.writeHead(404, {...headers, "Content-Type": "text/plain; charset=utf-8"}).end("Not found\n")
    return
  }
  if (COMPRESSED.has(extension)) {
    headers.Vary = "Accept-Encoding"
    if (/\bgzip\b/.test(request.headers["accept-encoding"] || "")) {
      body = zlib.gzipSync(body)
      headers["Content-Encoding"] = "gzip"
    }
  }
  headers["Content-Length"] = body.length
  response.writeHead(200, headers)
  response.end(request.method === "HEAD" ? undefined : body)
}

function main() {
  const port = process.argv[2] === undefined ? 8000 : Number(process.argv[2])
  const root = fs.realpathSync(path.resolve(process.argv[3] || __dirname))
  if (!Number.isInteger(port) || port < 0 || port > 65535) {
    console.error(`server.js: not a port: ${process.argv[2]}`)
    process.exit(2)
  }
  const server = http.createServer((request, response) => serve(root, request, response))
  server.on("error", error => {
    console.error(`server.js: ${error.message}`)
    process.exit(1)
  })
  server.listen(port, "127.0.0.1", () => {
    console.log(`Serving ${root} at http://localhost:${server.address().port}/`)
  })
}

main()
