#!/usr/bin/env bash
# The real binary under Xvfb: files on the command line, the Case rule set to upper case in the
# rules panel, Ctrl+Return applies, Ctrl+Q quits; the files on disk carry the new names. A
# second run undoes the batch with Ctrl+Z after the restart.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
e2e_begin "$1"
printf a > "$tmp/in/clip_a.mov"
printf b > "$tmp/in/clip_b.mov"

cat > "$tmp/inner.sh" <<'INNER'
set -u
bin="$1"; tmp="$2"
source "$3"
e2e_env

e2e_launch "$tmp/first.log" clip_a.mov clip_b.mov || exit 1
first=$app
# The Case rule's picker in the rules panel of the default 1200x760 window (no window manager:
# the window sits at 0,0). Down picks the entry after "—", upper case.
xdotool mousemove --window "$wid" 801 599 click 1
sleep 0.5
xdotool key Down Return
sleep 0.5  # the apply bar follows the check 200 ms after the change
xdotool key ctrl+Return
for _ in $(seq 100); do [ -e "$tmp/in/CLIP_A.mov" ] && break; sleep 0.1; done
xdotool key ctrl+q
wait_gone "$first" || exit 1
wait "$first" || { echo "first run exited $?"; cat "$tmp/first.log"; exit 1; }
[ -e "$tmp/in/CLIP_A.mov" ] && [ -e "$tmp/in/CLIP_B.mov" ] || { echo "not renamed:"; ls "$tmp/in"; cat "$tmp/first.log"; exit 1; }
[ -e "$tmp/in/clip_a.mov" ] && { echo "old name still there"; ls "$tmp/in"; exit 1; }
[ "$(cat "$tmp/in/CLIP_A.mov")" = a ] || { echo "content changed"; exit 1; }

# Undo after a restart: the batch comes back from the saved history.
"$bin" > "$tmp/second.log" 2>&1 &
second=$!
wait_for "ready" "$tmp/second.log" || exit 1
wid="$(window)"
xdotool windowfocus --sync "$wid"
sleep 0.5
xdotool key ctrl+z
for _ in $(seq 100); do [ -e "$tmp/in/clip_a.mov" ] && break; sleep 0.1; done
xdotool key ctrl+q
wait_gone "$second" || exit 1
[ -e "$tmp/in/clip_a.mov" ] && [ -e "$tmp/in/clip_b.mov" ] || { echo "undo after restart failed:"; ls "$tmp/in"; cat "$tmp/second.log"; exit 1; }
echo "batch_apply: ok"
INNER

e2e_xvfb "$tmp/inner.sh"
