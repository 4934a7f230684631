#!/usr/bin/env bash
# Usage: benchmarks/review_throughput.sh REVIEW_PACKAGE NATIVE_ENGINE PGN [NODES] [ROUNDS]
# Positions per second of quillbrook-review (REVIEW_PACKAGE: build-wasm/npm-review)
# on 1 and 2 workers, with the WebAssembly engine and with NATIVE_ENGINE, at NODES
# (default 300000); each setting ROUNDS times (default 2), taking turns, with the
# machine's load before each run.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 REVIEW_PACKAGE NATIVE_ENGINE PGN [NODES] [ROUNDS]" >&2; exit 2; }
command="$1/bin/quillbrook-review.js"
native="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
pgn="$3"
nodes="${4:-300000}"
rounds="${5:-2}"
for round in $(seq "$rounds"); do
  for engine in wasm native; do
    for workers in 1 2; do
      extra=()
      [ "$engine" = native ] && extra=(--engine "$native")
      load="$(cut -d ' ' -f 1 /proc/loadavg)"
      summary="$(node "$command" "$pgn" --nodes "$nodes" --workers "$workers" "${extra[@]}" 2>&1 >/dev/null | tail -n 1)"
      echo "round $round, $engine, $workers workers, load $load: $summary"
    done
  done
done
