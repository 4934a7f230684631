#!/usr/bin/env bash
# Usage: scripts/web_folder.sh OUTDIR ENGINE_BUILD
# Lays out the page as it is served: index.html with the board's sprites in it,
# the page's modules and style sheets bundled with the libraries they import
# (web/page/build-page.mjs; web/node_modules holds the libraries, which `npm ci`
# fills from the lock file when it is missing or out of date), the engine's
# worker and the engine as the WebAssembly build in ENGINE_BUILD lays them out in
# its browser/ folder, the manifest and icons, the service worker with the list
# of what it keeps, the static server, the licence with THIRD-PARTY-NOTICES.txt
# (what the page bundles, with their licences), and quillbrook.html: the whole
# page in one file, engine included, that opens from disk. OUTDIR is emptied
# first. Any static server serves OUTDIR; `node OUTDIR/server.js` adds the
# cross-origin isolation headers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# = 2 ] || { echo "usage: scripts/web_folder.sh OUTDIR ENGINE_BUILD" >&2; exit 2; }
out="$1"
engine="$(cd "$2" && pwd)"
page="$root/web/page"

npm ls --prefix "$root/web" --omit=dev >/dev/null 2>&1 || npm ci --prefix "$root/web" --omit=dev --no-audit --no-fund </dev/null

rm -rf "$out"
mkdir -p "$out"
cp "$page"/index.html "$page"/manifest.webmanifest "$root/web/server.js" "$root/LICENSE" "$out/"
cp -r "$page/icons" "$out/"
# The worker and what it loads; the client beside them (engine.js, core/) is bundled
# into the page.
(cd "$engine/browser" && cp quillbrook-worker.js line-channel.js message-input.js quillbrook.js quillbrook.wasm "$out/")
# The notices of what the page bundles: each library with its licence, and the pieces.
{
  echo "Quillbrook's page bundles these works of others, minified, under their own licences."
  for library in chess.js cm-chessboard @mliebelt/pgn-parser; do
    node -e 'const p = require(process.argv[1]); console.log(`\n${p.name} ${p.version} (${p.homepage || p.repository?.url || ""}), licence ${p.license}:\n`)' \
      "$root/web/node_modules/$library/package.json"
    cat "$root/web/node_modules/$library/LICENSE"
  done
  echo
  echo "The pieces (cm-chessboard/assets/pieces/standard.svg) are the standard chess pieces of Wikimedia"
  echo "Commons by Colin M.L. Burnett (Cburnett), under the Creative Commons Attribution-ShareAlike 3.0"
  echo "licence (CC BY-SA 3.0, https://creativecommons.org/licenses/by-sa/3.0/), as shipped by cm-chessboard."
} >"$out/THIRD-PARTY-NOTICES.txt"
node "$page/inline-sprites.mjs" "$out" "$root/web/node_modules"
node "$page/build-page.mjs" "$out" "$engine"
# The service worker, with the files it keeps for offline use (those the page
# loads) and their version, a digest of their contents.
node "$page/precache.mjs" "$page/sw.js" "$out"
