#!/usr/bin/env bash
# Usage: scripts/package.sh [OUTDIR]
# Builds the release archives into OUTDIR (default: dist/ in this tree):
#   quillbrook-<version>-linux-x86-64.tar.gz    both x86-64 levels, static
#   quillbrook-<version>-windows-x86-64.zip     both x86-64 levels, static .exe
#   quillbrook-<version>-linux-aarch64.tar.gz   64-bit ARM, static
#   quillbrook-<version>-web.zip                the page, its server and the
#                                               WebAssembly engine
#   quillbrook-<npm version>.tgz                the npm package (`npm pack`), WebAssembly
#   quillbrook-review-<npm version>.tgz         the npm package of the command that
#                                               reviews collections of games
# Each archive holds one folder with the programs (or the page), the README and
# INSTALL.txt (the README's "Download and install" section, or for the web zip
# "In the browser and Node.js"). The version is the one the engine names in its
# reply to "uci". Each platform and level is built in its own directory under
# build-release/, which a second run reuses.
# Needs cmake, g++, g++-mingw-w64-x86-64-posix, g++-aarch64-linux-gnu, emscripten
# and npm (which also brings the page's libraries from the npm registry).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "${1:-$root/dist}"
out="$(cd "${1:-$root/dist}" && pwd)"
builds="$root/build-release"

version=$(sed -n 's/.*"id name Quillbrook \(v[0-9][0-9.]*\)\\n".*/\1/p' "$root/src/uci/dispatch.cpp")
[ -n "$version" ] || { echo "package.sh: no version in the uci identity (src/uci/dispatch.cpp)" >&2; exit 1; }

# build NAME CMAKE_OPTION...: configures and builds the engine in build-release/NAME.
build() {
  local name="$1"
  shift
  cmake -S "$root" -B "$builds/$name" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$@"
  cmake --build "$builds/$name" -j "$(nproc 2>/dev/null || echo 2)" --target quillbrook
}

build linux-fast -DQUILLBROOK_CPU=fast -DQUILLBROOK_STATIC=ON
build linux-baseline -DQUILLBROOK_CPU=baseline -DQUILLBROOK_STATIC=ON
build windows-fast -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DQUILLBROOK_CPU=fast
build windows-baseline -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DQUILLBROOK_CPU=baseline
build linux-aarch64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" -DQUILLBROOK_STATIC=ON
# The ARM program alone comes from profile feedback (trained on bench 13 under
# qemu-aarch64): the only one that it made faster by 3% or more.
cmake --build "$builds/linux-aarch64" --target pgo
# The WebAssembly engine, with the npm package laid out around it in wasm/npm, the
# engine with the browser's worker in wasm/browser, and quillbrook-review in
# wasm/npm-review.
emcmake cmake -S "$root" -B "$builds/wasm" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$builds/wasm" -j "$(nproc 2>/dev/null || echo 2)" --target web_packages review_package

# archive FOLDER EXTENSION SECTION: adds the README, and its section SECTION as
# INSTALL.txt, to FOLDER staged under build-release/stage, and packs the folder as
# FOLDER.EXTENSION (tar.gz or zip).
archive() {
  local folder="$1" extension="$2"
  cp "$root/README.md" "$builds/stage/$folder/"
  awk -v section="## $3" '/^## / { inside = $0 == section } inside' "$root/README.md" >"$builds/stage/$folder/INSTALL.txt"
  local archive="$out/$folder.$extension"
  rm -f "$archive"
  if [ "$extension" = zip ]; then
    (cd "$builds/stage" && cmake -E tar cf "$archive" --format=zip "$folder")
  else
    (cd "$builds/stage" && cmake -E tar czf "$archive" "$folder")
  fi
  echo "$archive"
}

# pack PLATFORM EXTENSION PROGRAM=BUILT...: the archive quillbrook-<version>-PLATFORM.EXTENSION
# (tar.gz or zip) with each built program (a path under build-release/) under its new name.
pack() {
  local folder="quillbrook-$version-$1" extension="$2"
  shift 2
  rm -rf "${builds:?}/stage"
  mkdir -p "$builds/stage/$folder"
  for program in "$@"; do
    cp "$builds/${program#*=}" "$builds/stage/$folder/${program%%=*}"
  done
  archive "$folder" "$extension" "Download and install"
}

pack linux-x86-64 tar.gz quillbrook-fast=linux-fast/quillbrook quillbrook-baseline=linux-baseline/quillbrook
pack windows-x86-64 zip quillbrook-fast.exe=windows-fast/quillbrook.exe \
  quillbrook-baseline.exe=windows-baseline/quillbrook.exe
pack linux-aarch64 tar.gz quillbrook-aarch64=linux-aarch64/quillbrook-pgo
rm -rf "${builds:?}/stage"
"$root/scripts/web_folder.sh" "$builds/stage/quillbrook-$version-web" "$builds/wasm"
archive "quillbrook-$version-web" zip "In the browser and Node.js"
rm -rf "${builds:?}/stage"
for package in npm npm-review; do
  (cd "$builds/wasm/$package" && npm pack --quiet --pack-destination "$out" | sed "s|^|$out/|")
done
