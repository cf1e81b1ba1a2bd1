# Sourced by the scripts: the private Wine prefix and the environment every Wine
# process of the build and the tests runs with.
#   WINE_ENV_DIR  folder that holds the prefix (default: build/)
: "${WINE_ENV_DIR:=$ROOT/build}"
export WINEPREFIX="$WINE_ENV_DIR/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export TZ="${TZ:-Asia/Tokyo}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# Creates the prefix once; later runs reuse it.
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    # Without a window manager Wine waits for every closed window; unmanaged windows don't.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
  fi
}
