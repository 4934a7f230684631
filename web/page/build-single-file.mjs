// Usage: node build-single-file.mjs WEB_FOLDER ENGINE_INLINE.mjs OUT.html
// The page of WEB_FOLDER (as scripts/web_folder.sh lays it out) as one HTML file that
// needs nothing beside it: its modules bundled by esbuild with the engine and its
// worker inlined (ENGINE_INLINE.mjs, from the npm package's build), the style sheets
// in the page (which holds the board's sprites already), and the notices of what it
// bundles.
import fs from "node:fs"
import path from "node:path"
import * as esbuild from "esbuild"

const [folder, engineInline, out] = process.argv.slice(2)
if (!out) {
  console.error("usage: node build-single-file.mjs WEB_FOLDER ENGINE_INLINE.mjs OUT.html")
  process.exit(2)
}
const read = file => fs.readFileSync(path.join(folder, file), "utf8")
const html = read("index.html")

// The page's import map, as esbuild aliases: bare names to files of the folder.
const imports = JSON.parse(/<script type="importmap">([\s\S]*?)<\/script>/.exec(html)[1]).imports
const resolveImports = {
  name: "page-imports",
  setup(build) {
    build.onResolve({filter: /./}, ({path: name, importer}) => {
      if (name.endsWith("/engine-inline.mjs")) return {path: path.resolve(engineInline)}
      const prefix = Object.keys(imports).find(key => (key.endsWith("/") ? name.startsWith(key) : name === key))
      if (!prefix) return undefined
      return {path: path.resolve(folder, imports[prefix] + name.slice(prefix.length))}
    })
  },
}
const bundle = await esbuild.build({
  entryPoints: [path.join(folder, "main.js")],
  bundle: true,
  format: "esm",
  minify: true,
  write: false,
  target: "es2022",
  legalComments: "none",
  define: {QUILLBROOK_SINGLE_FILE: "true"},
  plugins: [resolveImports],
})
// A module script in the page may not hold "</script" as written.
const script = bundle.outputFiles[0].text.replaceAll("</script", "<\\/script")

const styles = [...html.matchAll(/<link rel="stylesheet" href="([^"]+)">/g)].map(([, href]) => read(href)).join("\n")
const notices = `${read("LICENSE")}\n${read("THIRD-PARTY-NOTICES.txt")}`.replaceAll("--", "- -")

const page = html
  .replace("<!doctype html>", `<!doctype html>\n<!--\nQuillbrook, the whole page in one file.\n\n${notices}\n-->`)
  .replace(/<link rel="(stylesheet|manifest|icon|apple-touch-icon)" href="[^"]+">\n\s*/g, "")
  .replace(/<script type="importmap">[\s\S]*?<\/script>\n\s*/, "")
  .replace(/<script type="module" src="main.js"><\/script>/, () => `<style>\n${styles}\n</style>`)
  .replace("</body>", () => `<script type="module">${script}</script>\n</body>`)
fs.writeFileSync(out, page)
console.log(`${out}: ${(fs.statSync(out).size / 1024).toFixed(0)} KB`)
