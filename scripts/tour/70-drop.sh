# Sourced by demo.sh: the drop menu of orvid.dll (switched on by part 10's layout).
# Dropping two files makes a folder named after the first one and copies both into it;
# dropping a folder and a file with "この名前でフォルダを作成" makes one empty folder named
# after the folder, after telling that only the first item counts. The Shift variants
# (structure copy, move) follow the key at the moment the menu is built, which the
# stand-in's script cannot press; the tests drive them.
mkdir -p "$sample/ドロップ/保管" "$sample/ドロップ/案件A/設計/図面" "$sample/ドロップ/案件A/試験"
printf '議事録\r\n' > "$sample/ドロップ/議事録.2024.txt"
printf 'PDF\r\n' > "$sample/ドロップ/添付資料.pdf"
printf 'dwg\r\n' > "$sample/ドロップ/案件A/設計/図面/平面図.dwg"
printf 'log\r\n' > "$sample/ドロップ/案件A/試験/結果.log"

cat >> "$tour" <<EOF
open $SAMPLE_WIN\\ドロップ
shot "$OUT/70-drop-folder.png"
select 議事録.2024.txt 添付資料.pdf
drop-shot 保管 "$OUT/71-drop-menu.png"
drop 保管 ここにフォルダを作成してコピー(&F)
open $SAMPLE_WIN\\ドロップ\\保管
shot "$OUT/72-new-folder.png"
open $SAMPLE_WIN\\ドロップ\\保管\\議事録.2024
shot "$OUT/73-copied-into-it.png"
open $SAMPLE_WIN\\ドロップ
select 案件A 議事録.2024.txt
box 1 "$OUT/74-first-item-only.png"
drop 保管 この名前でフォルダを作成(&N)
open $SAMPLE_WIN\\ドロップ\\保管
shot "$OUT/75-named-folder.png"
EOF
