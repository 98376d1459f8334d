#!/usr/bin/env bash
# The real binary under Xvfb: a JPEG on the command line, Ctrl+3 shows the Metadata tab, a
# caption typed into Description is saved into the file, Ctrl+Q quits without a question; the
# picture's IPTC caption is then read back by exiv2.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
e2e_begin "$1"
ffmpeg -nostdin -v error -y -f lavfi -i color=c=red:s=64x48 -frames:v 1 -update 1 "$tmp/in/photo.jpg"

cat > "$tmp/inner.sh" <<'INNER'
set -u
bin="$1"; tmp="$2"
source "$3"
e2e_env
e2e_launch "$tmp/app.log" photo.jpg || exit 1
xdotool key ctrl+3
sleep 1
# The Description field of the default 1200x760 window at 0,0 (no window manager).
xdotool mousemove --window "$wid" 714 281 click 1
sleep 0.3
xdotool type --delay 20 "Harbour at dawn"
# From Description to Save: six more image rows, the clip name and the logging rows.
for _ in $(seq 23); do xdotool key Tab; done
xdotool key space
sleep 2
xdotool key ctrl+q
wait_gone "$app" || exit 1
wait "$app" || { echo "exited $?"; cat "$tmp/app.log"; exit 1; }
INNER

e2e_xvfb "$tmp/inner.sh"
caption="$(exiv2 -q -K Iptc.Application2.Caption -Pv "$tmp/in/photo.jpg" 2>/dev/null || true)"
[ "$caption" = "Harbour at dawn" ] || { echo "caption in the file: '$caption'"; exit 1; }
echo "metadata_caption: ok"
