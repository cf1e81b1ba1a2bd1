#!/usr/bin/env bash
# Builds the libFuzzer programs of the pure rules (clang, AddressSanitizer, UBSan) and
# runs each target for SECONDS seconds (default 60) over a copy of its seed corpus, so
# the committed corpus stays as it is. Prints the executions per target and any finding.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. scripts/fuzz.sh 300 permute_fuzz
#
# FUZZ_BUILD is the build folder (default build/fuzz); FUZZ_WORK the scratch folder for
# the corpus copies, new inputs and findings (default a new folder under /tmp). A
# finding is replayed with <build>/<target>_replay <file>; once fixed, its input joins
# tests/fuzz/corpus/<target>/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

seconds=${1:-60}
shift || true
build=${FUZZ_BUILD:-$ROOT/build/fuzz}
work=${FUZZ_WORK:-$(mktemp -d /tmp/tidalon-fuzz.XXXXXX)}

bash scripts/bootstrap.sh

CXX=clang++ cmake -S tests/fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDALON_LIBFUZZER=ON >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for source in tests/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

status=0
summary=()
for target in "${targets[@]}"; do
  program="$build/$target"
  [ -x "$program" ] || { echo "fuzz: no such target: $target" >&2; status=1; continue; }
  dir="$work/$target"
  mkdir -p "$dir/corpus" "$dir/findings"
  if [ -d "tests/fuzz/corpus/$target" ]; then
    cp -r "tests/fuzz/corpus/$target/." "$dir/corpus/"
  fi
  echo "fuzz: $target for ${seconds}s"
  rc=0
  "$program" "$dir/corpus" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/findings/" >"$dir/log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  findings=$(find "$dir/findings" -type f | wc -l)
  summary+=("$(printf '%-24s %12s executions  %s finding(s)' "$target" "${runs:-?}" "$findings")")
  if [ "$rc" -ne 0 ] || [ "$findings" -gt 0 ]; then
    status=1
    echo "fuzz: $target found a fault (exit $rc); log $dir/log:"
    grep -m 20 -E 'ERROR|runtime error|property failed|SUMMARY|Test unit written' "$dir/log" || tail -20 "$dir/log"
  fi
done

echo
echo "fuzz: ${seconds}s per target; corpora, new inputs and findings in $work"
printf '%s\n' "${summary[@]}"
exit $status
