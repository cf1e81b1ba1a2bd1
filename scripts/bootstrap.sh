#!/usr/bin/env bash
# Installs what building and testing the suite needs, and nothing when all is present.
# Debian packages: the MinGW-w64 cross compiler, Wine, a virtual X display and a
# Japanese locale so that Wine runs with the ANSI code page 932, and a Japanese font
# for the windows the demo shows. clang with its sanitizer and libFuzzer runtimes builds
# the fuzz targets of the pure rules (scripts/fuzz.sh).
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth locales
          cmake make g++ googletest python3 fonts-ipafont-gothic clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ "${#missing[@]}" -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The posix thread model of MinGW is the one the build expects.
if [ "$(readlink -f /usr/bin/x86_64-w64-mingw32-g++)" != "$(readlink -f /usr/bin/x86_64-w64-mingw32-g++-posix)" ]; then
  $SUDO update-alternatives --set x86_64-w64-mingw32-g++ /usr/bin/x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || true
  $SUDO update-alternatives --set x86_64-w64-mingw32-gcc /usr/bin/x86_64-w64-mingw32-gcc-posix >/dev/null 2>&1 || true
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "bootstrap: generating the ja_JP.UTF-8 locale"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
