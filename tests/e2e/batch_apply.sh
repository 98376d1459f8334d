#!/usr/bin/env bash
# The real binary under Xvfb: files on the command line, the Case rule set to upper case in the
# rules panel, Ctrl+Return applies, Ctrl+Q quits; the files on disk carry the new names. A
# second run undoes the batch with Ctrl+Z after the restart.
set -euo pipefail
bin="$(readlink -f "$1")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/config" "$tmp/data" "$tmp/cache" "$tmp/run" "$tmp/in"
chmod 700 "$tmp/run"
printf a > "$tmp/in/clip_a.mov"
printf b > "$tmp/in/clip_b.mov"

cat > "$tmp/inner.sh" <<'INNER'
set -u
bin="$1"; tmp="$2"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/run" QT_LOGGING_RULES="brindlecove.shell.info=true"
wait_for() {  # pattern, log: up to 20 s
  for _ in $(seq 200); do grep -q "$1" "$2" && return 0; sleep 0.1; done
  echo "timed out waiting for: $1"; cat "$2"; return 1
}
wait_gone() {  # pid: up to 10 s
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  echo "still running"; kill -KILL "$1"; return 1
}
window() { xdotool search --sync --onlyvisible --name '^Brindlecove$' | head -1; }

cd "$tmp/in"
"$bin" clip_a.mov clip_b.mov > "$tmp/first.log" 2>&1 &
first=$!
wait_for "ready" "$tmp/first.log" || exit 1
wait_for "items: 2" "$tmp/first.log" || exit 1
wid="$(window)"
xdotool windowfocus --sync "$wid"
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

xvfb-run -a -s "-screen 0 1400x900x24" bash "$tmp/inner.sh" "$bin" "$tmp"
