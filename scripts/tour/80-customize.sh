# Sourced by demo.sh: the setup program's maintenance dialog ("/uninst", as the
# uninstall entry starts it) and its customisation dialog with "更新日で分類" moved into
# the submenu, its letter shown and the drag menu ticked. The dialog is cancelled, so the
# stored layout the tour uses stays as it is. Pellast runs as its own program, outside
# the stand-in, so the setup driver answers its windows and takes the screenshots now.
"$WINE" "$SETUP_DRIVER" customize "$DIST/pellast.exe" "$OUT/80-maintenance.png" "$OUT/81-customize.png" ||
  echo "demo: the customisation dialog could not be shown" >&2
echo "# 80-customize: pellast.exe /uninst and its customisation dialog (screenshots taken by the setup driver)" >> "$tour"
