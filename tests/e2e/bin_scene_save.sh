#!/usr/bin/env bash
# The real binary under Xvfb: a clip on the command line, Ctrl+3 and "Bin (table)" show the bin,
# the logging columns are added, the arrow keys walk from the Info cell to Scene, a scene number is typed and "Save all changes"
# pressed. The status line reports the saved file, the bin exported as ALE carries the scene,
# the clip still plays, and Ctrl+Q quits without asking (nothing is left unsaved).
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
e2e_begin "$1"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=s=160x120:r=25 -t 1 -c:v libx264 -pix_fmt yuv420p \
    "$tmp/in/A001_C001.mov"

cat > "$tmp/inner.sh" <<'INNER'
set -u
bin="$1"; tmp="$2"
source "$3"
e2e_env
e2e_launch "$tmp/app.log" A001_C001.mov || exit 1
xdotool key ctrl+3
sleep 1
# The default 1200x760 window sits at 0,0 (no window manager): "Bin (table)", Columns ▸
# "Add logging columns (Scene/Take…)", then the first row's Info cell, which has no editor.
xdotool mousemove 605 120 click 1
sleep 1
xdotool mousemove 195 156 click 1
sleep 0.5
xdotool mousemove 290 222 click 1
wait_for "status: Added 15 columns." "$tmp/app.log" || exit 1
xdotool mousemove 300 228 click 1
sleep 0.3
# Info, Date, Clip Name, Title, Author, Extra, Ext, Tape, Reel, Scene.
for _ in $(seq 9); do xdotool key Right; done
xdotool type --delay 40 "14"
xdotool key Return
sleep 0.5
xdotool mousemove 1114 156 click 1
wait_for "status: Saved 1 file(s)." "$tmp/app.log" || exit 1
# Import / Export ▸ Export ▸ "ALE (Avid)", saved under a typed path.
xdotool mousemove 512 156 click 1
sleep 0.5
xdotool mousemove 495 200 click 1
sleep 0.5
xdotool mousemove 625 222 click 1
sleep 1.5
xdotool type --delay 10 "$tmp/clips.ale"
xdotool key Return
wait_for "status: Exported clips.ale" "$tmp/app.log" || exit 1
xdotool windowfocus --sync "$wid"
xdotool key ctrl+q
wait_gone "$app" || exit 1
wait "$app" || { echo "exited $?"; cat "$tmp/app.log"; exit 1; }
INNER

e2e_xvfb "$tmp/inner.sh"
ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 \
    "$tmp/in/A001_C001.mov" | grep -qx 25 || { echo "the clip no longer holds its 25 frames"; exit 1; }
# The logged scene travels in the exported bin: the Scene column of the clip's line reads 14.
scene="$(awk -F'\t' '/^Column$/ {getline; for (i = 1; i <= NF; i++) if ($i == "Scene") col = i}
    /^A001_C001.mov\t/ {print $col}' "$tmp/clips.ale")"
[ "$scene" = "14" ] || { echo "Scene in the exported bin: '$scene'"; cat "$tmp/clips.ale"; exit 1; }
echo "bin_scene_save: ok"
