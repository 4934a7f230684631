#!/usr/bin/env bash
# Usage: scripts/web_folder.sh OUTDIR ENGINE_BUILD
# Lays out the page as it is served: the page (web/page), the libraries it loads
# (copied from web/page/node_modules, which `npm ci` fills from the lock file when
# it is missing or out of date, with their licences, and vendor/README.txt naming
# versions and licences), the engine with its worker as the WebAssembly build in
# ENGINE_BUILD lays them out in its browser/ folder, and the static server. OUTDIR
# is emptied first. Then `node OUTDIR/server.js` serves it.
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
  cm-chessboard/src/extensions/markers/Markers.js
  cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js
  cm-chessboard/assets/chessboard.css
  cm-chessboard/assets/pieces/standard.svg
  cm-chessboard/assets/extensions/markers/markers.css
  cm-chessboard/assets/extensions/markers/markers.svg
  cm-chessboard/assets/extensions/promotion-dialog/promotion-dialog.css
)

npm ls --prefix "$page" >/dev/null 2>&1 || npm ci --prefix "$page" --no-audit --no-fund </dev/null

rm -rf "$out"
mkdir -p "$out/vendor"
cp "$page"/index.html "$page"/*.css "$page"/*.js "$root/web/server.js" "$out/"
for file in "${vendored[@]}"; do
  mkdir -p "$out/vendor/$(dirname "$file")"
  cp "$page/node_modules/$file" "$out/vendor/$file"
  [ ! -f "$page/node_modules/$file.map" ] || cp "$page/node_modules/$file.map" "$out/vendor/$file.map"
done
{
  echo "Libraries of the page, copied unchanged from their npm packages:"
  for library in chess.js cm-chessboard; do
    node -e 'const p = require(process.argv[1]); console.log(`- ${p.name} ${p.version}, licence ${p.license} (${p.name}/LICENSE)`)' \
      "$page/node_modules/$library/package.json"
  done
  echo "cm-chessboard/assets/pieces/standard.svg holds the Wikimedia standard pieces, CC BY-SA 3.0."
} >"$out/vendor/README.txt"
cp "$engine"/browser/* "$out/"
