#!/usr/bin/env bash
# Builds the release archive dist/tidalon-<version>-win-x64.zip: a fresh Release build of
# the three deliverables in build/package, then the archive from it (kelmora.dll,
# orvid.dll, pellast.exe, お読みください.txt, LICENSE.txt, SHA256SUMS). The version is
# the project's (CMakeLists.txt). Building twice from the same commit gives the same
# bytes; the time of the entries is the commit's (or SOURCE_DATE_EPOCH).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

bash scripts/bootstrap.sh

rm -rf build/package
cmake -S . -B build/package -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DDIST_DIR="$ROOT/build/package/dist" -DPACKAGE_DIR="$ROOT/dist" >/dev/null
cmake --build build/package --target release_archive -j 2
