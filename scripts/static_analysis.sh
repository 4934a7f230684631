#!/usr/bin/env bash
# Static analysis of src/: clang-tidy with the checks chosen in .clang-tidy,
# then cppcheck (warnings, performance, portability and functions nothing
# calls). Prints every finding once and fails on any. CI runs this script.
# Needs the Debian packages cmake, clang, clang-tidy and cppcheck.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build=build-analysis

tidy=$(command -v clang-tidy || command -v clang-tidy-14) &&
  run_tidy=$(command -v run-clang-tidy || command -v run-clang-tidy-14) &&
  command -v cppcheck >/dev/null || { echo "needs clang-tidy and cppcheck"; exit 1; }

# Compile commands only; nothing is built. Configured for clang, whose flags
# clang-tidy understands, and with the fuzz targets, whose entry points are
# callers that count when looking for functions nothing calls.
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF \
  -DQUILLBROOK_FUZZ=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

failed=0

# Every source file of src/, with findings in its own headers; a header's
# finding comes once per file that includes it, so duplicates are dropped.
if ! "$run_tidy" -clang-tidy-binary "$tidy" -p "$build" -j 2 -quiet \
    -header-filter="^$root/src/" "^$root/src/" >"$build/clang-tidy.log" 2>&1; then
  failed=1
  if ! sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E '^/.*: (warning|error): ' |
      sed "s|^$root/||" | sort -u; then
    tail -n 40 "$build/clang-tidy.log"
  fi
  echo "clang-tidy: findings above (whole output in $build/clang-tidy.log)"
fi

# The whole program at once, so that a call from any file counts; the timing
# programs in benchmarks/ are not callers that count.
if ! cppcheck --project="$build/compile_commands.json" -ibenchmarks \
    --enable=unusedFunction,warning,performance,portability --inline-suppr --error-exitcode=1 --quiet \
    --template='{file}:{line}:{column}: {severity}: {message} [{id}]' 2>&1 | sed "s|^$root/||"; then
  failed=1
  echo "cppcheck: findings above"
fi

# Includes point one way: between the folders of src/, and between the
# units (a header with its .cpp) inside each folder.
for folder in --folders src/*/; do
  if ! python3 scripts/include_cycles.py "$folder" >"$build/include_cycles.log"; then
    failed=1
    cat "$build/include_cycles.log"
  fi
done

[ "$failed" = 0 ] && echo "static analysis: no findings"
exit "$failed"
