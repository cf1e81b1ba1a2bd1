#!/usr/bin/env python3
"""Writes the release archive: the three binaries, the Japanese read-me, the license and
SHA256SUMS, always in that order and with one fixed time, so that the same inputs give
the same bytes.

    make_archive.py <archive.zip> <version> <binaries folder> <readme.ja.txt> <LICENSE>

The read-me is kept as UTF-8 text with @VERSION@ in it; in the archive it is code page
932 with CR LF, as Notepad on a Japanese Windows reads it. The license gets CR LF as
well. The time of every entry is SOURCE_DATE_EPOCH when set, else the time of the
commit checked out, else 1980-01-01.
"""
import hashlib
import os
import subprocess
import sys
import time
import zipfile

BINARIES = ["kelmora.dll", "orvid.dll", "pellast.exe"]
README = "お読みください.txt"
LICENSE = "LICENSE.txt"
SUMS = "SHA256SUMS"


def entry_time(source_dir):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        try:
            epoch = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"], check=True,
                                   capture_output=True, text=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            epoch = ""
    # A zip entry's time is a calendar time with even seconds from 1980 on.
    stamp = time.gmtime(max(int(epoch or 0), 315532800))
    return stamp[:5] + (stamp[5] & ~1,)


def windows_text(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def main(archive, version, binaries, readme, license_file):
    files = []
    for name in BINARIES:
        with open(os.path.join(binaries, name), "rb") as f:
            files.append((name, f.read()))
    with open(readme, encoding="utf-8") as f:
        # cp932 fails on any character Notepad would show wrongly.
        files.append((README, windows_text(f.read().replace("@VERSION@", version)).encode("cp932")))
    with open(license_file, encoding="utf-8") as f:
        files.append((LICENSE, windows_text(f.read()).encode("ascii")))
    # The form sha256sum -c reads: names in UTF-8, LF line ends.
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in files)
    files.append((SUMS, sums.encode("utf-8")))

    when = entry_time(os.path.dirname(os.path.abspath(readme)))
    os.makedirs(os.path.dirname(os.path.abspath(archive)), exist_ok=True)
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w") as z:
        for name, data in files:
            info = zipfile.ZipInfo(name, when)
            # Made on MS-DOS / Windows, no attributes: the same header whatever builds it.
            # A name outside ASCII is stored as UTF-8 with the language-encoding flag
            # (bit 11), which zipfile sets by itself.
            info.create_system = 0
            info.external_attr = 0
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, archive)
    for name, data in files:
        print(f"{len(data):>9}  {name}")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
