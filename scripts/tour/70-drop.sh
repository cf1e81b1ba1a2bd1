# Sourced by demo.sh: the drop menu of orvid.dll (switched on by part 10's layout).
# Dropping two files makes a folder named after the first one and copies both into it;
# dropping a folder and a file with "この名前でフォルダを作成" makes one empty folder named
# after the folder, after telling that only the first item counts. With Shift held while
# the menu is built, the same entries copy only the folder structure, or move.
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
open $SAMPLE_WIN\\ドロップ
select 案件A
shift down
drop-shot 保管 "$OUT/76-drop-menu-shift.png"
# Closing the shown menu lets the key go: it is pressed again for the choice.
shift down
drop 保管 この名前でフォルダ構造をコピー(&N)
shift up
open $SAMPLE_WIN\\ドロップ\\保管\\案件A(1)\\設計
shot "$OUT/77-structure-copied.png"
open $SAMPLE_WIN\\ドロップ
select 添付資料.pdf
shift down
drop 保管 ここにフォルダを作成して移動(&F)
shift up
shot "$OUT/78-moved-away.png"
open $SAMPLE_WIN\\ドロップ\\保管\\添付資料
shot "$OUT/79-moved-into-new-folder.png"
EOF
