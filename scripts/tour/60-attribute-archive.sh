# Sourced by demo.sh: attribute change makes two reports read-only, then the archive
# check tests three archives (one of them damaged) and writes its log. The archiver
# libraries are the stand-ins the tests use, found through PATH as a user's may be.
if [ ! -f "$BUILD/tests/archivers/unzip32.dll" ] || [ ! -f "$BUILD/tests/archivers/tar32.dll" ]; then
  cmake --build "$BUILD" -j1 --target test_unzip32 test_tar32 >/dev/null
fi
export WINEPATH="Z:$(printf '%s' "$BUILD/tests/archivers" | tr '/' '\\')${WINEPATH:+;$WINEPATH}"

mkdir -p "$sample/属性" "$sample/書庫"
printf '四半期報告\r\n' > "$sample/属性/報告_第1期.txt"
printf '四半期報告\r\n' > "$sample/属性/報告_第2期.txt"
printf 'メモ\r\n' > "$sample/属性/メモ.txt"
cp tests/archivers/samples/sound.zip "$sample/書庫/写真.zip"
cp tests/archivers/samples/sound.zip "$sample/書庫/壊れた.zip"
printf '#' | dd of="$sample/書庫/壊れた.zip" bs=1 seek=35 conv=notrunc 2>/dev/null
cp tests/archivers/samples/sound.tar "$sample/書庫/資料.TAR"

cat >> "$tour" <<EOF
open $SAMPLE_WIN\\属性
select 報告_第1期.txt 報告_第2期.txt
dialog 属性変更
  check 1086 on
  check 1089 off
  check 1090 on
  shot "$OUT/60-attribute-dialog.png"
  press 1
end
command 属性変更(&A)
shot "$OUT/60-attribute-changed.png"
open $SAMPLE_WIN\\書庫
select 写真.zip 壊れた.zip 資料.TAR
dialog 書庫ファイルの検査
  check 1057 on
  check 1060 on
  shot "$OUT/60-archive-dialog.png"
  press 1
end
dialog ログファイルの保存
  press 1
end
box 1 "$OUT/60-archive-damaged.png"
box 1 "$OUT/60-archive-done.png"
command 書庫ファイルを検査(&I)
shot "$OUT/60-archive-log.png"
text-shot $SAMPLE_WIN\\書庫\\~ArcList.txt "$OUT/60-archive-log-text.png"
EOF
