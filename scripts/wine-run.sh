#!/usr/bin/env bash
# Runs one Windows program of a build under Wine, on a virtual display, in the build's
# own Wine prefix (created on first use). For developers running a single test program
# while working:
#   scripts/wine-run.sh build/tests/time_test.exe --gtest_filter='*Revise*'
# The prefix is <build folder>/wineprefix, where <build folder> is the first folder of
# the program's path below the repository (build/ by default), so builds side by side
# do not share settings.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
program=$(readlink -f "$1"); shift
rel=${program#"$ROOT"/}
export WINE_ENV_DIR="${WINE_ENV_DIR:-$ROOT/${rel%%/*}}"
export ROOT
exec xvfb-run -a bash -c '
  source "$ROOT/scripts/wine-env.sh"
  prepare_wine_prefix
  "$WINE" "$0" "$@"
' "$program" "$@"
