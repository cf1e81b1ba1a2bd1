# Sourced by demo.sh: time-difference correction on photos whose camera clock ran nine
# hours ahead, then a timestamp change that moves a report to 9:00 of its own day.
mkdir -p "$sample/時刻"
printf 'JPEG\r\n' > "$sample/時刻/旅行_01.jpg"
printf 'JPEG\r\n' > "$sample/時刻/旅行_02.jpg"
printf '議事録\r\n' > "$sample/時刻/議事録.txt"
touch -d '2024-05-03 18:20:11' "$sample/時刻/旅行_01.jpg"
touch -d '2024-05-03 19:02:45' "$sample/時刻/旅行_02.jpg"
touch -d '2024-04-30 17:45:00' "$sample/時刻/議事録.txt"

cat >> "$tour" <<EOF
open $SAMPLE_WIN\\時刻
shot "$OUT/30-time-folder.png"
select 旅行_01.jpg 旅行_02.jpg
dialog 時差補正
  set 1044 9
  set 1046 0
  set 1048 0
  check 1042 off
  check 1043 on
  shot "$OUT/30-revise-dialog.png"
  press 1
end
command 時差補正(&B)
shot "$OUT/30-revised.png"
select 議事録.txt
dialog タイムスタンプの変更
  check 1112 off
  check 1012 off
  set 1035 9
  set 1037 0
  set 1039 0
  shot "$OUT/30-time-dialog.png"
  press 1
end
command タイムスタンプを変更(&T)
shot "$OUT/30-time-changed.png"
EOF
