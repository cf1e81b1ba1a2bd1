# Sourced by demo.sh: name arrangement tidies three names (half-width forms, capitals
# after a space, a year in front), then serial numbering renames three camera files in
# the order they were taken.
mkdir -p "$sample/名前"
printf '報告\r\n' > "$sample/名前/ＲＥＰＯＲＴ　２０２４．ｔｘｔ"
printf 'memo\r\n' > "$sample/名前/hello world.TXT"
printf 'PNG\r\n' > "$sample/名前/photo.png"
printf 'JPEG\r\n' > "$sample/名前/DSC0815.JPG"
printf 'JPEG\r\n' > "$sample/名前/DSC0802.JPG"
printf 'JPEG\r\n' > "$sample/名前/DSC0820.JPG"
touch -d '2024-08-10 09:12' "$sample/名前/DSC0802.JPG"
touch -d '2024-08-10 11:40' "$sample/名前/DSC0815.JPG"
touch -d '2024-08-11 07:05' "$sample/名前/DSC0820.JPG"

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
  press 1
end
command 名前を整理(&G)
shot "$OUT/50-name-result.png"
select DSC0815.JPG DSC0802.JPG DSC0820.JPG
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
EOF
