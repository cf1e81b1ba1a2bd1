#!/usr/bin/env bash
# Builds the suite, prepares a private Wine prefix and shows the context menu that
# kelmora.dll builds for a few sample files, as Explorer would get it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

bash scripts/bootstrap.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target kelmora menuprobe

source scripts/wine-env.sh
export ROOT
xvfb-run -a bash -c '
  source "$ROOT/scripts/wine-env.sh"
  prepare_wine_prefix
  "$WINE" "$ROOT/build/tools/menuprobe.exe" "Z:$ROOT/dist/kelmora.dll" "C:\\tidalon-sample"
'
