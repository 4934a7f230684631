#!/usr/bin/env bash
# Usage: web/test/bundlers/build.sh QUILLBROOK_TARBALL OUTDIR
# Builds the app of app/ twice, as a web developer would after `npm install
# quillbrook`: with Vite (OUTDIR/vite) and with esbuild (OUTDIR/esbuild), each from
# a project of its own with the packed tarball installed. Vite and esbuild come
# from this folder's lock file.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# = 2 ] || { echo "usage: web/test/bundlers/build.sh QUILLBROOK_TARBALL OUTDIR" >&2; exit 2; }
tarball="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
project="$out/project"
rm -rf "$project" "$out/vite" "$out/esbuild"
mkdir -p "$project"
cp "$here/package.json" "$here/package-lock.json" "$project/"
cp -r "$here/app" "$project/"
(cd "$project" && npm ci --no-audit --no-fund --loglevel=error </dev/null &&
  npm install --no-save --no-audit --no-fund --loglevel=error "$tarball" </dev/null)
(cd "$project" && npx vite build app --base ./ --outDir "$out/vite" --emptyOutDir --logLevel warn </dev/null)
mkdir -p "$out/esbuild"
cp "$project/app/index.html" "$out/esbuild/"
(cd "$project" && npx esbuild app/main.js --bundle --format=esm --outfile="$out/esbuild/main.js" --log-level=warning </dev/null)
echo "$out/vite: $(du -sk "$out/vite" | cut -f1) KB, $out/esbuild: $(du -sk "$out/esbuild" | cut -f1) KB"
