// Usage: node inline-sprites.mjs WEB_FOLDER NODE_MODULES
// Puts the board's sprites (pieces, markers, arrows, from cm-chessboard in
// NODE_MODULES) into the folder's index.html, under the ids the board looks for
// before it fetches them: they arrive with the page instead of redrawing the board
// once each has loaded, and the folder needs no copy of them.
import fs from "node:fs"
import path from "node:path"

const [folder, modules] = process.argv.slice(2)
if (!modules) {
  console.error("usage: node inline-sprites.mjs WEB_FOLDER NODE_MODULES")
  process.exit(2)
}
const SPRITES = {
  "cm-chessboard-sprite": "cm-chessboard/assets/pieces/standard.svg",
  "cm-chessboard-markers": "cm-chessboard/assets/extensions/markers/markers.svg",
  "cm-chessboard-arrows": "cm-chessboard/assets/extensions/arrows/arrows.svg",
}
// Each sheet's drawings go inside <defs>: the board shows them through <use>, and
// the sheet itself is then neither laid out nor painted (as drawn shapes, scaled to
// nothing, it was, in every frame: most of the page's first layout).
function sprite([id, file]) {
  const svg = fs.readFileSync(path.join(modules, file), "utf8").replace(/<\?xml[^>]*>/, "").trim()
  const body = /^(<!--[\s\S]*?-->\s*)?(<svg[^>]*>)([\s\S]*)<\/svg>$/.exec(svg)
  if (!body) throw new Error(`${file} is not one <svg> element`)
  const [, comment = "", open, drawings] = body
  return `<div id="${id}" style="transform: scale(0); position: absolute" aria-hidden="true">${comment}${open}<defs>${drawings}</defs></svg></div>`
}
const page = path.join(folder, "index.html")
const html = fs.readFileSync(page, "utf8")
if (!html.includes("</body>")) throw new Error(`${page} has no </body>`)
fs.writeFileSync(page, html.replace("</body>", () => `${Object.entries(SPRITES).map(sprite).join("\n")}\n</body>`))
