# Sourced by demo.sh: the first part of the tour. The submenu, the view selection
# commands, name replacement with its preview, the drop menu and classify by date, in a
# sample folder of Japanese and ASCII names with a few modification dates.
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

cat >> "$tour" <<EOF
open $SAMPLE_WIN
shot "$OUT/01-folder.png"
select 報告書.txt
menu-shot "$OUT/02-tidalon-submenu.png" Tidalon(&E)
# The settings now exist with the default layout; add the other selection commands and
# "更新日で分類" to the submenu and switch the drag menu on.
setting Menu 01 03 01 02 04 05 00 07 00 08 09 0A 00 0B 0C 0D 0E 00 10
command すべて選択(&L)
shot "$OUT/03-select-all.png"
select notes.txt
command 同一の拡張子を選択(&X)
shot "$OUT/04-same-extension.png"
select 資料
command ファイル／フォルダを選択(&F)
shot "$OUT/04a-files-or-folders.png"
select memo.txt
command 同一の更新日を選択(&U)
shot "$OUT/04b-same-date.png"
select 報告書.txt
command 同一の属性を選択(&R)
shot "$OUT/04c-same-attributes.png"
select 写真_001.jpg 写真_002.jpg
dialog 名前の置換
  set 1076 写真_
  set 1077 photo_
  shot "$OUT/05-name-replacement-dialog.png"
  press 2020
  press 1
end
dialog プレビュー
  shot "$OUT/05a-name-replacement-preview.png"
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
