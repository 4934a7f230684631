// Usage: node build-page.mjs WEB_FOLDER ENGINE_BUILD
// Builds the page into WEB_FOLDER, which holds its index.html (with the board's
// sprites in it), LICENSE and THIRD-PARTY-NOTICES.txt already:
//   main.js and page.css: the page's modules and style sheets with those of the
//   libraries they import, bundled and minified by esbuild, so that a phone fetches
//   and runs two files instead of some forty. main.js is a classic script that the
//   page runs before its first paint (index.html), so that the page first shows
//   the board drawn, with the game on it;
//   quillbrook.html: the whole page in one file that needs nothing beside it, the
//   engine and its worker inlined (ENGINE_BUILD/npm/engine-inline.mjs), to open
//   from disk.
// The engine's client comes from ENGINE_BUILD/browser/; the worker and the engine
// that it starts are served beside the page, not bundled.
import fs from "node:fs"
import path from "node:path"
import {fileURLToPath} from "node:url"
import * as esbuild from "esbuild"

const [folder, engineBuild] = process.argv.slice(2)
if (!engineBuild) {
  console.error("usage: node build-page.mjs WEB_FOLDER ENGINE_BUILD")
  process.exit(2)
}
const here = path.dirname(fileURLToPath(import.meta.url))
const SCRIPT = /<script src="main\.js"[^>]*><\/script>/

// The names the page imports by: the engine's client and the page's shared modules
// (web/core); the libraries are found in web/node_modules. The served page starts
// its worker from a file, so the inlined one is left out of it.
function pageImports(engineInline) {
  return {
    name: "page-imports",
    setup(build) {
      build.onResolve({filter: /^quillbrook$/}, () => ({path: path.join(engineBuild, "browser/engine.js")}))
      build.onResolve({filter: /^quillbrook-core\//}, ({path: name}) => ({path: path.join(here, "../core", name.slice("quillbrook-core/".length))}))
      build.onResolve({filter: /\/engine-inline\.mjs$/}, ({path: name}) => (engineInline ? {path: engineInline} : {path: name, external: true}))
    },
  }
}
const bundle = options =>
  esbuild.build({entryPoints: [path.join(here, "main.js")], bundle: true, format: "iife", minify: true, target: "es2022", legalComments: "none", ...options})

await bundle({outfile: path.join(folder, "main.js"), plugins: [pageImports(null)]})
const styles = (await esbuild.build({entryPoints: [path.join(here, "page.css")], bundle: true, minify: true, write: false, legalComments: "none"})).outputFiles[0].text
fs.writeFileSync(path.join(folder, "page.css"), styles)

// The single file: the script and the style sheet in the page; no manifest or icon,
// which a page opened from disk cannot use.
const single = await bundle({write: false, define: {QUILLBROOK_SINGLE_FILE: "true"}, plugins: [pageImports(path.join(engineBuild, "npm/engine-inline.mjs"))]})
// A script in the page may not hold "</script" as written.
const script = single.outputFiles[0].text.replaceAll("</script", "<\\/script")
const read = file => fs.readFileSync(path.join(folder, file), "utf8")
const notices = `${read("LICENSE")}\n${read("THIRD-PARTY-NOTICES.txt")}`.replaceAll("--", "- -")
const page = read("index.html")
  .replace("<!doctype html>", `<!doctype html>\n<!--\nQuillbrook, the whole page in one file.\n\n${notices}\n-->`)
  .replace(/<link rel="(stylesheet|manifest|icon|apple-touch-icon)" href="[^"]+">\n\s*/g, "")
  .replace(SCRIPT, () => `<style>\n${styles}</style>`)
  .replace("</body>", () => `<script>${script}</script>\n</body>`)
fs.writeFileSync(path.join(folder, "quillbrook.html"), page)
