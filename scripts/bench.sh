#!/usr/bin/env bash
# Benchmarks: builds the benchmark program and runs it under Wine in the test prefix.
# Each line gives the command's median time beside the floor of bare system calls
# measured in the same process, and their ratio; growth lines compare two sizes.
#   scripts/bench.sh [--reps N] [--clicks N] [--leak N] [--rename N] [--select N]
#                    [--classify N] [--fetch N] [--only click|leak|rename|select|classify|fetch]
# Run scripts/test.sh once first on a fresh machine (it installs what the build needs).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD="${BENCH_BUILD:-$ROOT/build}"
bash scripts/bootstrap.sh
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target kelmora tidalon_bench >/dev/null
export ROOT WINE_ENV_DIR="$BUILD"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source "$ROOT/scripts/wine-env.sh"
  prepare_wine_prefix
  "$WINE" "$0" "$@"
  "$WINESERVER" -w
' "$BUILD/tools/bench/tidalon_bench.exe" "$@"
