#!/usr/bin/env bash
# Benchmarks: builds the benchmark program and runs it under Wine in the test prefix.
# Each line gives the command's median time beside the floor of bare system calls
# measured in the same process, in turns with it, and the median of their ratios;
# growth lines compare two sizes against the floor's own growth.
#   scripts/bench.sh [--full] [--reps N] [--clicks N] [--leak N] [--rename N] [--select N]
#                    [--fetch N] [--bulk N] [--large N] [--list N] [--drop N] [--archives N]
#                    [--reads N] [--reads-small N]
#                    [--only click|leak|rename|select|fetch|commands|list|preview|drop|archive|reads]
# The default run takes a few minutes; --full adds the rows at 100,000 items (--large)
# and takes a good while longer. Run scripts/test.sh once first on a fresh machine (it
# installs what the build needs).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD="${BENCH_BUILD:-$ROOT/build}"
bash scripts/bootstrap.sh
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target tidalon_bench >/dev/null
export ROOT WINE_ENV_DIR="$BUILD"
source scripts/wine-env.sh
prepare_wine_prefix

# The sizes the program will use (its own defaults, as its options change them).
full=0 select=10000 bulk=2000 large=100000 list=10000 only=
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[i]}" in
    --full) full=1 ;;
    --select) select=${args[i + 1]}; select_set=1 ;;
    --bulk) bulk=${args[i + 1]} ;;
    --large) large=${args[i + 1]} ;;
    --list) list=${args[i + 1]} ;;
    --only) only=${args[i + 1]} ;;
  esac
done
if [ "$full" = 1 ] && [ -z "${select_set:-}" ]; then select=$large; fi
wants() { [ -z "$only" ] || [ "$only" = "$1" ]; }

# The large folders and trees, made from outside Wine (Wine makes each file of a large
# folder in time growing with the folder) and kept for later runs. A row that moves the
# files of a tree takes its mark "complete" away until they are back.
DATA="$WINEPREFIX/drive_c/tidalon-bench-data"
make_select() {
  local n=$1 dir="$DATA/select-$1"
  [ -f "$dir/complete" ] && return
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
}
# A tree of n files "n%06d.dat" numbered through the tree, in folders "d%03d" of 2,000.
make_tree() {
  local n=$1 dir="$DATA/tree-$1"
  [ -f "$dir/complete" ] && return
  rm -rf "$dir"
  python3 - "$dir/root" "$n" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
per = 2000
for f in range((n + per - 1) // per):
    sub = os.path.join(root, "d%03d" % f)
    os.makedirs(sub)
    for i in range(f * per, min(n, (f + 1) * per)):
        open(os.path.join(sub, "n%06d.dat" % i), "w").close()
PY
  : > "$dir/complete"
}
if wants select; then make_select $((select / 10)); make_select "$select"; fi
if wants commands; then make_tree "$bulk"; [ "$full" = 1 ] && make_tree "$large"; fi
if wants list; then make_tree "$list"; [ "$full" = 1 ] && make_tree "$large"; fi
if wants preview; then make_tree "$list"; [ "$full" = 1 ] && make_tree "$large"; fi

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source "$ROOT/scripts/wine-env.sh"
  prepare_wine_prefix
  "$WINE" "$0" "$@"
  "$WINESERVER" -w
' "$BUILD/tools/bench/tidalon_bench.exe" "$@"
