// Usage: node precache.mjs SW_SOURCE WEB_FOLDER
// Writes WEB_FOLDER/sw.js: the service worker of SW_SOURCE with the files of the
// folder that the page loads (not the server, the single-file page or the
// documents) and their version, a digest of their names and contents, so that any
// change to a file makes a new service worker that keeps the new files.
import crypto from "node:crypto"
import fs from "node:fs"
import path from "node:path"

const [source, folder] = process.argv.slice(2)
if (!folder) {
  console.error("usage: node precache.mjs SW_SOURCE WEB_FOLDER")
  process.exit(2)
}
const LEFT_OUT = /^(server\.js|quillbrook\.html|sw\.js|README\.md|INSTALL\.txt|THIRD-PARTY-NOTICES\.txt)$|\.map$|(^|\/)(LICENSE|package\.json)$/

function filesUnder(dir) {
  return fs.readdirSync(path.join(folder, dir), {withFileTypes: true}).flatMap(entry => {
    const name = dir ? `${dir}/${entry.name}` : entry.name
    return entry.isDirectory() ? filesUnder(name) : [name]
  })
}

const files = filesUnder("").filter(name => !LEFT_OUT.test(name)).sort()
const digest = crypto.createHash("sha256")
for (const name of files) digest.update(name).update("\0").update(fs.readFileSync(path.join(folder, name)))
const worker = fs
  .readFileSync(source, "utf8")
  .replace(/^const VERSION = .*$/m, `const VERSION = "${digest.digest("hex").slice(0, 16)}"`)
  .replace(/^const FILES = .*$/m, `const FILES = ${JSON.stringify(["./", ...files])}`)
fs.writeFileSync(path.join(folder, "sw.js"), worker)
