# Sourced by demo.sh: name arrangement tidies three names (half-width forms, capitals
# after a space, a year in front), previewed first; then serial numbering renames three
# camera files in the order they were taken. Three more camera files are then numbered
# on: the preview shows that the start number left at 0 would run into a name the first
# batch took, and the run goes with the start number put right.
mkdir -p "$sample/名前"
printf '報告\r\n' > "$sample/名前/ＲＥＰＯＲＴ　２０２４．ｔｘｔ"
printf 'memo\r\n' > "$sample/名前/hello world.TXT"
printf 'PNG\r\n' > "$sample/名前/photo.png"
printf 'JPEG\r\n' > "$sample/名前/DSC0815.jpg"
printf 'JPEG\r\n' > "$sample/名前/DSC0802.jpg"
printf 'JPEG\r\n' > "$sample/名前/DSC0820.jpg"
touch -d '2024-08-10 09:12' "$sample/名前/DSC0802.jpg"
touch -d '2024-08-10 11:40' "$sample/名前/DSC0815.jpg"
touch -d '2024-08-11 07:05' "$sample/名前/DSC0820.jpg"
for n in 0901 0902 0903; do printf 'JPEG\r\n' > "$sample/名前/DSC$n.jpg"; done
touch -d '2024-08-12 10:00' "$sample/名前/DSC0901.jpg"
touch -d '2024-08-12 10:30' "$sample/名前/DSC0902.jpg"
touch -d '2024-08-12 11:00' "$sample/名前/DSC0903.jpg"

cat >> "$tour" <<EOF
open $SAMPLE_WIN\\名前
select ＲＥＰＯＲＴ　２０２４．ｔｘｔ "hello world.TXT" photo.png
dialog 名前の整理
  check 1099 off
  check 1100 on
  check 1106 on
  check 1005 off
  check 1008 on
  set 1009 " "
  check 1003 on
  set 1010 2024_
  shot "$OUT/50-name-dialog.png"
  press 2020
  press 1
end
dialog プレビュー
  shot "$OUT/50-name-preview.png"
  press 1
end
command 名前を整理(&G)
shot "$OUT/50-name-result.png"
select DSC0815.jpg DSC0802.jpg DSC0820.jpg
dialog 連番で整理
  set 1027 夏休み_
  set 1032 1
  check 1028 on
  set 1030 3
  shot "$OUT/50-cnum-dialog.png"
  press 1
end
command 連番で整理(&N)
shot "$OUT/50-cnum-result.png"
select DSC0901.jpg DSC0902.jpg DSC0903.jpg
dialog 連番で整理
  set 1027 夏休み_
  check 1028 on
  set 1030 3
  press 2020
  set 1032 4
  shot "$OUT/51-cnum-continue-dialog.png"
  press 1
end
dialog プレビュー
  shot "$OUT/51-cnum-preview-stop.png"
  press 1
end
command 連番で整理(&N)
shot "$OUT/51-cnum-continued.png"
EOF
