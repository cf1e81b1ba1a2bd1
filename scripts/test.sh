#!/usr/bin/env bash
# Builds everything and runs every test: the pure rules natively under the sanitizers,
# the rest as Windows programs under Wine on a virtual display. Ends with ctest's summary.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

bash scripts/bootstrap.sh

jobs=$(nproc 2>/dev/null || echo 2)

# The pure rules, built by the host compiler with AddressSanitizer and UBSan: the core
# tests and the fuzz targets' replay programs.
cmake -S tests/core-project -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$jobs" >/dev/null

# The deliverables, the tools and the Wine-side tests.
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DTIDALON_WERROR=ON \
      -DNATIVE_CORE_TESTS="$ROOT/build/native/tests/core/core_tests" \
      -DNATIVE_FUZZ_REPLAYS="$ROOT/build/native/tests/fuzz/replay_corpora.sh" >/dev/null
cmake --build build -j "$jobs"

source scripts/wine-env.sh
export ROOT
# One virtual display for the whole run; one wineserver kept alive across the tests.
xvfb-run -a bash -c '
  set -e
  source "$ROOT/scripts/wine-env.sh"
  prepare_wine_prefix
  # The large trees of the runs over 20,000 items, made here from outside Wine (Wine
  # makes files slowly): a test whose run changes its tree takes the mark away, and the
  # tree is made anew for the next run.
  for tree in read stop cnum; do
    dir="$WINEPREFIX/drive_c/tidalon-test-data/$tree-20000"
    [ -f "$dir/complete" ] && continue
    rm -rf "$dir"
    python3 - "$dir" 20000 <<\PY
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
for i in range(n):
    folder = os.path.join(root, "d%03d" % (i // 200))
    if i % 200 == 0:
        os.makedirs(folder)
    open(os.path.join(folder, "f%05d.txt" % i), "w").close()
open(os.path.join(root, "complete"), "w").close()
PY
  done
  # A wineserver left over from an interrupted run of this prefix is ended first.
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  "$WINESERVER" -p
  # Wine starts its services with the first program of a session; started here, they
  # do not hold the output pipe of the first test open.
  "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
  status=0
  (cd "$ROOT/build" && ctest --output-on-failure --timeout 900) || status=$?
  "$WINESERVER" -k || true
  exit $status
'
