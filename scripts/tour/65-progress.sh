# Sourced by demo.sh: long runs and their progress window. A photo archive of two
# folders of 2,500 files each, made from outside Wine (Wine makes each file of a large
# folder in time growing with the folder). Every file of one folder selected: name
# replacement shows the count and the bar; the other folder selected with its subfolder
# option: the count of a run whose total is not known. The window is photographed while
# the run goes on.
python3 - "$sample/大量" <<'PY'
import os, sys
root = sys.argv[1]
for year in ("2023", "2024"):
    folder = os.path.join(root, year)
    os.makedirs(folder)
    for i in range(2500):
        open(os.path.join(folder, "IMG_%05d.jpg" % i), "w").close()
PY

cat >> "$tour" <<EOF
open $SAMPLE_WIN\\大量\\2023
select *
dialog 名前の置換
  set 1076 IMG_
  set 1077 2023_
  shot "$OUT/65-progress-dialog.png"
  press 1
end
progress "$OUT/65-progress.png"
command 名前を置換(&E)
shot "$OUT/65-progress-renamed.png"
open $SAMPLE_WIN\\大量
select 2024
dialog 名前の置換
  set 1076 IMG_
  set 1077 2024_
  check 1078 on
  press 1
end
progress "$OUT/65-progress-subfolders.png"
command 名前を置換(&E)
open $SAMPLE_WIN\\大量\\2024
shot "$OUT/65-progress-subfolders-renamed.png"
EOF
