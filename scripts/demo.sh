#!/usr/bin/env bash
# Shows the suite at work in a small Explorer stand-in (tools/host): builds it,
# registers kelmora.dll (and orvid.dll once it exists) in a private Wine prefix, makes a
# sample folder on the Wine C: drive and runs a scripted tour of the "Tidalon(&E)"
# context menu on a virtual display. Screenshots (PNG) go to demo-out/, and the tour
# prints what it did.
#
#   scripts/demo.sh                 the scripted tour, headless
#   scripts/demo.sh --interactive   opens the stand-in on $DISPLAY for a person to use
#                                   (right click the files; F5 refreshes, Backspace goes up)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

interactive=0
for arg in "$@"; do
  case "$arg" in
    --interactive) interactive=1 ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) echo "demo: unknown option $arg" >&2; exit 2 ;;
  esac
done

# DEMO_BUILD and DEMO_DIST let a developer keep the demo beside their own build.
BUILD="${DEMO_BUILD:-$ROOT/build}"
DIST="${DEMO_DIST:-$ROOT/dist}"
OUT="$ROOT/demo-out"
export WINE_ENV_DIR="${WINE_ENV_DIR:-$BUILD}"
HOST="$BUILD/tools/host/explorer_host.exe"
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

  # Registration as setup will write it; until setup exists the stand-in does it.
  "$WINE" "$HOST" --register "$DIST"

  # Sample folder: Japanese and ASCII names, a few modification dates.
  sample="$WINEPREFIX/drive_c/tidalon-demo"
  rm -rf "$sample"
  mkdir -p "$sample/資料"
  printf '月次報告\r\n' > "$sample/報告書.txt"
  printf 'JPEG\r\n' > "$sample/写真_001.jpg"
  printf 'JPEG\r\n' > "$sample/写真_002.jpg"
  printf 'notes\r\n' > "$sample/notes.txt"
  printf 'memo\r\n' > "$sample/memo.txt"
  printf 'a,b\r\n' > "$sample/資料/一覧.csv"
  touch -d '2024-01-15 10:30' "$sample/報告書.txt"
  touch -d '2024-03-02 09:00' "$sample/写真_001.jpg" "$sample/写真_002.jpg"
  touch -d '2024-03-20 18:45' "$sample/notes.txt"
  touch -d '2024-03-20 08:10' "$sample/memo.txt"
  touch -d '2024-02-01 12:00' "$sample/資料/一覧.csv" "$sample/資料"

  if [ "$interactive" = 1 ]; then
    echo "demo: the stand-in is open on $DISPLAY; close its window to end"
    "$WINE" "$HOST" "$SAMPLE_WIN"
    exit 0
  fi

  # The tour. Entries that are not in the menu (commands not built yet) are reported
  # and skipped, and dialogs that do not appear are reported, so it runs at every stage.
  tour="$OUT/tour.txt"
  cat > "$tour" <<EOF
# Tour of the Tidalon context menu in the Explorer stand-in.
open $SAMPLE_WIN
shot "$OUT/01-folder.png"
select 報告書.txt
menu-shot "$OUT/02-tidalon-submenu.png" Tidalon(&E)
# The settings now exist with the default layout; add "更新日で分類" to the submenu
# and switch the drag menu on.
setting Menu 01 03 01 00 07 00 08 09 0A 00 0B 0C 0D 0E 00 10
command すべて選択(&L)
shot "$OUT/03-select-all.png"
select notes.txt
command 同一の拡張子を選択(&X)
shot "$OUT/04-same-extension.png"
select 写真_001.jpg 写真_002.jpg
dialog 名前の置換
  set 1076 写真_
  set 1077 photo_
  shot "$OUT/05-name-replacement-dialog.png"
  press 1
end
command 名前を置換(&E)
select photo_001.jpg photo_002.jpg
shot "$OUT/06-renamed.png"
select 報告書.txt
dialog 名前の置換
  press 1
end
box 1 "$OUT/07-message-box.png"
command 名前を置換(&E)
select memo.txt
drop-shot 資料 "$OUT/08-drop-menu.png"
drop 資料 ここにフォルダを作成してコピー(&F)
select photo_001.jpg photo_002.jpg notes.txt memo.txt 報告書.txt
command 更新日で分類(&D)
shot "$OUT/09-classified.png"
open $SAMPLE_WIN\\20240302
shot "$OUT/10-date-folder.png"
open $SAMPLE_WIN\\資料
shot "$OUT/11-drop-folder.png"
EOF
  "$WINE" "$HOST" --script "$tour"
  # Wine's own processes of this prefix end before the display does.
  timeout 60 "$WINESERVER" -w || true
  exit 0
fi

# --- First stage: tools, build, then the display. ---
bash scripts/bootstrap.sh
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DDIST_DIR="$DIST" >/dev/null
targets=(kelmora explorer_host)
for t in orvid pellast; do
  make -C "$BUILD" help 2>/dev/null | grep -qw "$t" && targets+=("$t")
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
