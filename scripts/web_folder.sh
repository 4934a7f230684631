#!/usr/bin/env bash
# Usage: scripts/web_folder.sh OUTDIR ENGINE_BUILD
# Lays out the page as it is served: the page (web/page), the libraries it loads
# (copied from web/node_modules, which `npm ci` fills from the lock file when
# it is missing or out of date), the engine with its worker and its client as the
# WebAssembly build in ENGINE_BUILD lays them out in its browser/ folder, the
# static server, the licence with THIRD-PARTY-NOTICES.txt (what the page bundles,
# with their licences), and quillbrook.html: the whole page in one file, engine
# included, that opens from disk. OUTDIR is emptied first. Any static server
# serves OUTDIR; `node OUTDIR/server.js` adds the cross-origin isolation headers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# = 2 ] || { echo "usage: scripts/web_folder.sh OUTDIR ENGINE_BUILD" >&2; exit 2; }
out="$1"
engine="$(cd "$2" && pwd)"
page="$root/web/page"

# The files of each library that the page loads (with their source maps, where the
# package has them); nothing else, so neither the Staunty pieces (CC BY-NC-SA) nor
# the Sass sources of cm-chessboard are shipped.
vendored=(
  chess.js/LICENSE
  chess.js/dist/esm/chess.js
  cm-chessboard/LICENSE
  cm-chessboard/src/Chessboard.js
  cm-chessboard/src/lib/Svg.js
  cm-chessboard/src/lib/Utils.js
  cm-chessboard/src/model/ChessboardState.js
  cm-chessboard/src/model/Extension.js
  cm-chessboard/src/model/Position.js
  cm-chessboard/src/view/ChessboardView.js
  cm-chessboard/src/view/PositionAnimationsQueue.js
  cm-chessboard/src/view/VisualMoveInput.js
  cm-chessboard/src/extensions/arrows/Arrows.js
  cm-chessboard/src/extensions/markers/Markers.js
  cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js
  cm-chessboard/assets/chessboard.css
  cm-chessboard/assets/extensions/arrows/arrows.css
  cm-chessboard/assets/extensions/markers/markers.css
  cm-chessboard/assets/extensions/promotion-dialog/promotion-dialog.css
  @mliebelt/pgn-parser/LICENSE
  @mliebelt/pgn-parser/lib/index.umd.js
)

npm ls --prefix "$root/web" --omit=dev >/dev/null 2>&1 || npm ci --prefix "$root/web" --omit=dev --no-audit --no-fund </dev/null

rm -rf "$out"
mkdir -p "$out/vendor"
cp "$page"/index.html "$page"/*.css "$page"/manifest.webmanifest "$root/web/server.js" "$root/LICENSE" "$out/"
# The page's own modules (its .js files; the tools that build it are .mjs).
cp "$page"/*.js "$out/"
cp -r "$page/icons" "$out/"
mkdir -p "$out/core"
cp -r "$root/web/core/chess" "$root/web/core/review" "$root/web/core/engine-pool.js" "$out/core/"
for file in "${vendored[@]}"; do
  mkdir -p "$out/vendor/$(dirname "$file")"
  cp "$root/web/node_modules/$file" "$out/vendor/$file"
  [ ! -f "$root/web/node_modules/$file.map" ] || cp "$root/web/node_modules/$file.map" "$out/vendor/$file.map"
done
# The notices of what the page bundles: each library with its licence, and the pieces.
{
  echo "Quillbrook's page bundles these works of others, unchanged, under their own licences."
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
cp -r "$engine"/browser/. "$out/"
node "$page/inline-sprites.mjs" "$out" "$root/web/node_modules"
node "$page/build-single-file.mjs" "$out" "$engine/npm/engine-inline.mjs" "$out/quillbrook.html" >/dev/null
# The service worker, with the files it keeps for offline use (those the page
# loads) and their version, a digest of their contents.
node "$page/precache.mjs" "$page/sw.js" "$out"
