#!/usr/bin/env bash
# The release archive as a user installs it: a new Wine prefix, the archive unpacked into
# "C:\Program Files\Tidalon" there, then install_test.cpp runs pellast.exe from that
# folder, uses both handlers and uninstalls through the uninstall entry.
#   install_test.sh <archive.zip> <package_install_test.exe> <folder for the prefix>
set -euo pipefail
archive=$1 program=$2 work=$3
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
start=$(date +%s)

rm -rf "$work"
mkdir -p "$work"
export WINE_ENV_DIR=$work
source "$ROOT/scripts/wine-env.sh"
prepare_wine_prefix
echo "install_test: new prefix in $(( $(date +%s) - start )) s"

# What the archive must hold, in its order; a name outside ASCII carries the UTF-8 flag
# (bit 11) so that Windows' own extractor shows it; SHA256SUMS matches what is unpacked.
folder="$WINEPREFIX/drive_c/Program Files/Tidalon"
python3 - "$archive" "$folder" <<'PY'
import hashlib, os, sys, zipfile
archive, folder = sys.argv[1:]
expected = ["kelmora.dll", "orvid.dll", "pellast.exe", "お読みください.txt", "LICENSE.txt", "SHA256SUMS"]
with zipfile.ZipFile(archive) as z:
    entries = z.infolist()
    names = [e.filename for e in entries]
    assert names == expected, names
    for e in entries:
        assert bool(e.flag_bits & 0x800) == (not e.filename.isascii()), e.filename
    z.extractall(folder)
for line in open(os.path.join(folder, "SHA256SUMS"), encoding="utf-8"):
    digest, name = line.rstrip("\n").split("  ", 1)
    with open(os.path.join(folder, name), "rb") as f:
        assert hashlib.sha256(f.read()).hexdigest() == digest, name
PY

# One wineserver for the run, its services started before the test so that they do not
# hold ctest's output pipe open.
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$WINESERVER" -p
"$WINE" wineboot </dev/null >/dev/null 2>&1 || true
status=0
"$WINE" "$program" 'C:\Program Files\Tidalon' || status=$?
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true
echo "install_test: $(( $(date +%s) - start )) s in all"
# A prefix is some 700 MB: it is kept only when the test failed.
[ "$status" -ne 0 ] || rm -rf "$work"
exit $status
