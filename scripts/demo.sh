#!/usr/bin/env bash
# Shows the suite at work in a small Explorer stand-in (tools/host): builds it,
# installs the suite with pellast.exe in a private Wine prefix, makes a
# sample folder on the Wine C: drive and runs a scripted tour of the "Tidalon(&E)"
# context menu on a virtual display. Screenshots (PNG) go to demo-out/, and the tour
# prints what it did.
#
#   scripts/demo.sh                 the scripted tour, headless
#   scripts/demo.sh --docs          the tour, then the pictures the user guide (docs/ja/)
#                                   shows are copied from it into docs/ja/images/
#   scripts/demo.sh --interactive   opens the stand-in on $DISPLAY for a person to use
#                                   (right click the files; F5 refreshes, Backspace goes up)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

interactive=0
docs=0
for arg in "$@"; do
  case "$arg" in
    --interactive) interactive=1 ;;
    --docs) docs=1 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) echo "demo: unknown option $arg" >&2; exit 2 ;;
  esac
done

# DEMO_BUILD and DEMO_DIST let a developer keep the demo beside their own build.
BUILD="${DEMO_BUILD:-$ROOT/build}"
DIST="${DEMO_DIST:-$ROOT/dist}"
OUT="$ROOT/demo-out"
export WINE_ENV_DIR="${WINE_ENV_DIR:-$BUILD}"
HOST="$BUILD/tools/host/explorer_host.exe"
SETUP_DRIVER="$BUILD/tools/setup_driver/setup_driver.exe"
SAMPLE_WIN='C:\tidalon-demo'

# --- Second stage: runs on a display (the virtual one, or the person's own). ---
if [ "${TIDALON_DEMO_STAGE:-}" = display ]; then
  export ROOT
  source scripts/wine-env.sh
  prepare_wine_prefix

  # The prefix has no Japanese fonts of its own: the dialog and menu fonts are
  # mapped to the IPA font installed by bootstrap.sh.
  if ! grep -q 'IPAPGothic' "$WINEPREFIX/system.reg" 2>/dev/null; then
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    for font in "MS UI Gothic" "MS Shell Dlg" "MS PGothic" "MS Gothic" "ＭＳ Ｐゴシック" "ＭＳ ゴシック"; do
      "$WINE" reg add "$key" /v "$font" /d IPAPGothic /f >/dev/null 2>&1
    done
  fi

  # The suite is installed as a user installs it: pellast.exe from the dist folder,
  # its confirmation and closing message answered by the setup driver. Handler keys
  # an older stand-in registration left under other names are removed first, so each
  # menu appears once.
  for key in '*\shellex\ContextMenuHandlers\Kelmora' 'Directory\shellex\ContextMenuHandlers\Kelmora' \
             'Folder\shellex\DragDropHandlers\Orvid'; do
    "$WINE" reg delete "HKCR\\$key" /f >/dev/null 2>&1 || true
  done
  "$WINE" "$SETUP_DRIVER" install "$DIST/pellast.exe" "$OUT/00-install.png"

  # Each part of the tour (scripts/tour/*.sh, in name order) makes its sample files
  # under $sample and appends its steps to $tour. Entries that are not in the menu are
  # reported and skipped, and dialogs that do not appear are reported, so the tour runs
  # at every stage.
  sample="$WINEPREFIX/drive_c/tidalon-demo"
  rm -rf "$sample"
  mkdir -p "$sample"
  tour="$OUT/tour.txt"
  echo "# Tour of the Tidalon context menu in the Explorer stand-in." > "$tour"
  for part in scripts/tour/*.sh; do
    source "$part"
  done

  if [ "$interactive" = 1 ]; then
    echo "demo: the stand-in is open on $DISPLAY; close its window to end"
    "$WINE" "$HOST" "$SAMPLE_WIN"
    exit 0
  fi

  "$WINE" "$HOST" --script "$tour"
  # Last, after the tour: the setup program removes the handlers ("/uninst",
  # "アンインストール"), its question and closing message shot; the restart is declined.
  # The settings key stays, as uninstalling leaves it.
  "$WINE" "$SETUP_DRIVER" uninstall "$DIST/pellast.exe" "$OUT/90-uninstall-question.png" "$OUT/91-uninstalled.png" ||
    echo "demo: the uninstall could not be shown" >&2
  # Wine's own processes of this prefix end before the display does.
  timeout 60 "$WINESERVER" -w || true
  exit 0
fi

# --- First stage: tools, build, then the display. ---
bash scripts/bootstrap.sh
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DDIST_DIR="$DIST" >/dev/null
targets=(kelmora explorer_host)
# The target list is read whole: grep -q ending the pipe early would fail it under
# pipefail and leave the other deliverables unbuilt.
available=$(make -C "$BUILD" help 2>/dev/null || true)
for t in orvid pellast setup_driver; do
  grep -qw "$t" <<<"$available" && targets+=("$t")
done
make -C "$BUILD" -j2 "${targets[@]}"

mkdir -p "$OUT"
rm -f "$OUT"/*.png "$OUT"/tour.txt

if [ "$interactive" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  TIDALON_DEMO_STAGE=display bash "$0" "$@"
  exit 0
fi
if [ "$interactive" = 1 ]; then
  echo "demo: no DISPLAY; running the scripted tour instead"
fi
TIDALON_DEMO_STAGE=display xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
echo "demo: screenshots in $OUT:"
ls -1 "$OUT"/*.png
if [ "$docs" = 1 ]; then
  # The guide's pictures, recompressed; a picture the guide names that the tour did not
  # take fails this step.
  python3 tools/host/docs_images.py "$OUT" docs/ja
fi
