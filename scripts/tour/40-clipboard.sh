# Sourced by demo.sh: a file list of a small project folder, with sizes, dates, times
# and the contents of its subfolder, copied to the clipboard and saved as a text file
# that then shows in the view and, opened, with its lines.
mkdir -p "$sample/一覧/資料"
printf '企画書の本文\r\n' > "$sample/一覧/企画書.txt"
head -c 123456 /dev/zero > "$sample/一覧/予算.xls"
printf 'PNG\r\n' > "$sample/一覧/資料/図1.png"
printf 'a,b,c\r\n' > "$sample/一覧/資料/集計.csv"
touch -d '2024-06-10 09:15:30' "$sample/一覧/企画書.txt"
touch -d '2024-06-11 17:02:05' "$sample/一覧/予算.xls"
touch -d '2024-06-12 08:00:00' "$sample/一覧/資料/図1.png" "$sample/一覧/資料/集計.csv" "$sample/一覧/資料"

cat >> "$tour" <<EOF2
open $SAMPLE_WIN\\一覧
select 企画書.txt 予算.xls 資料
dialog クリップボードへコピー
  check 1019 off
  set 1110 16
  check 1020 on
  combo 1093 2
  check 1021 on
  check 1022 on
  check 1092 on
  check 1026 on
  check 1027 on
  shot "$OUT/40-clipboard-dialog.png"
  press 1
end
dialog リストファイルの保存
  set 1148 $SAMPLE_WIN\\一覧\\ファイル一覧.txt
  shot "$OUT/40-save-list.png"
  press 1
end
command クリップボードへコピー(&C)
select ファイル一覧.txt
shot "$OUT/40-list-saved.png"
text-shot $SAMPLE_WIN\\一覧\\ファイル一覧.txt "$OUT/40-list-text.png"
EOF2
