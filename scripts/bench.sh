#!/usr/bin/env bash
# Benchmarks: builds the benchmark program and runs it under Wine in the test prefix.
# Each line gives the command's median time beside the floor of bare system calls
# measured in the same process, and their ratio; growth lines compare two sizes.
#   scripts/bench.sh [--reps N] [--clicks N] [--leak N] [--rename N] [--select N]
#                    [--classify N] [--fetch N] [--bulk N] [--list N]
#                    [--only click|leak|rename|select|classify|fetch|commands|list]
# Run scripts/test.sh once first on a fresh machine (it installs what the build needs).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD="${BENCH_BUILD:-$ROOT/build}"
bash scripts/bootstrap.sh
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target kelmora tidalon_bench >/dev/null
export ROOT WINE_ENV_DIR="$BUILD"
source scripts/wine-env.sh
prepare_wine_prefix

# The large folders of the selection rows, made from outside Wine (Wine makes each file
# of a large folder in time growing with the folder) and kept for later runs.
select=100000
for ((i = 1; i <= $#; i++)); do
  if [ "${!i}" = --select ]; then j=$((i + 1)); select=${!j}; fi
done
for n in $((select / 10)) "$select"; do
  dir="$WINEPREFIX/drive_c/tidalon-bench-data/select-$n"
  [ -f "$dir/complete" ] && continue
  rm -rf "$dir"
  mkdir -p "$dir"
  python3 - "$dir" "$n" <<'PY'
import os, sys
folder, n = sys.argv[1], int(sys.argv[2])
for i in range(n // 2):
    open(os.path.join(folder, "s%06d.txt" % i), "w").close()
for i in range(n - n // 2):
    open(os.path.join(folder, "t%06d.dat" % i), "w").close()
PY
  : > "$dir/complete"
done

# The file list's tree: ten folders of a tenth of the files each.
list=10000
for ((i = 1; i <= $#; i++)); do
  if [ "${!i}" = --list ]; then j=$((i + 1)); list=${!j}; fi
done
dir="$WINEPREFIX/drive_c/tidalon-bench-data/list-$list"
if [ ! -f "$dir/complete" ]; then
  rm -rf "$dir"
  python3 - "$dir/tree" "$list" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
for f in range(10):
    sub = os.path.join(root, "d%d" % f)
    os.makedirs(sub)
    for i in range(n // 10):
        open(os.path.join(sub, "f%06d.txt" % i), "w").close()
PY
  : > "$dir/complete"
fi

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source "$ROOT/scripts/wine-env.sh"
  prepare_wine_prefix
  "$WINE" "$0" "$@"
  "$WINESERVER" -w
' "$BUILD/tools/bench/tidalon_bench.exe" "$@"
