#!/usr/bin/env bash
# Usage: benchmarks/review_throughput.sh REVIEW_PACKAGE NATIVE_ENGINE PGN [NODES] [ROUNDS]
# Positions per second of quillbrook-review (REVIEW_PACKAGE: build-wasm/npm-review)
# on 1 and 2 workers, with the WebAssembly engine and with NATIVE_ENGINE, at NODES
# (default 300000); each setting ROUNDS times (default 2), taking turns. Each run
# prints the machine's load before it, the command's own summary (positions a
# second of wall-clock time), and positions per second of processor time, the
# engines' and the command's together, which other work on the machine changes less.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 REVIEW_PACKAGE NATIVE_ENGINE PGN [NODES] [ROUNDS]" >&2; exit 2; }
command="$1/bin/quillbrook-review.js"
native="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
pgn="$3"
nodes="${4:-300000}"
rounds="${5:-2}"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
TIMEFORMAT="%U %S"
for round in $(seq "$rounds"); do
  for engine in wasm native; do
    for workers in 1 2; do
      extra=()
      [ "$engine" = native ] && extra=(--engine "$native")
      load="$(cut -d ' ' -f 1 /proc/loadavg)"
      cpu="$({ time node "$command" "$pgn" --nodes "$nodes" --workers "$workers" "${extra[@]}" >/dev/null 2>"$log"; } 2>&1)"
      summary="$(tail -n 1 "$log")"
      positions="$(sed -n 's/.*; \([0-9]*\) positions searched.*/\1/p' <<<"$summary")"
      per_cpu="$(awk -v p="$positions" -v u="${cpu% *}" -v s="${cpu#* }" 'BEGIN { printf "%.1f", p / (u + s) }')"
      echo "round $round, $engine, $workers workers, load $load: $summary; $per_cpu a second of processor time"
    done
  done
done
