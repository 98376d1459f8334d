#!/usr/bin/env bash
# The real binary under Xvfb: while the running window is busy (here: stopped), a second launch
# waits for it, then opens its own window without taking the first one's socket, and leaves the
# history, log and presets to the first. Once the first runs again, later launches reach it, and
# it never receives the files of the launch that gave up.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
e2e_begin "$1"
for f in A001 B001 C001; do printf x > "$tmp/in/$f.mov"; done

cat > "$tmp/inner.sh" <<'INNER'
set -u
bin="$1"; tmp="$2"
source "$3"
e2e_env
stop_all() { kill -CONT "$first" 2>/dev/null; kill -TERM "$first" ${second:+"$second"} 2>/dev/null; }
cd "$tmp/in"
"$bin" A001.mov > "$tmp/first.log" 2>&1 &
first=$!
wait_for "ready" "$tmp/first.log" 30 || exit 1
wait_for "items: 1" "$tmp/first.log" 30 || exit 1

kill -STOP "$first"
"$bin" B001.mov > "$tmp/second.log" 2>&1 &
second=$!
wait_for "ready" "$tmp/second.log" 30 || { stop_all; exit 1; }
grep -q "another instance holds" "$tmp/second.log" || { echo "second window does not know it must not save"; cat "$tmp/second.log"; stop_all; exit 1; }
kill -CONT "$first"

timeout 20 "$bin" C001.mov > "$tmp/third.log" 2>&1
third=$?
[ "$third" -eq 0 ] || { echo "third launch exited $third"; cat "$tmp/third.log"; stop_all; exit 1; }
grep -q "ready" "$tmp/third.log" && { echo "third launch opened its own window"; stop_all; exit 1; }
wait_for "received 1 path(s)" "$tmp/first.log" 30 || { stop_all; exit 1; }
wait_for "items: 2" "$tmp/first.log" 30 || { stop_all; exit 1; }
sleep 0.5
[ "$(grep -c "received" "$tmp/first.log")" -eq 1 ] || { echo "the first window also got the second launch's files"; cat "$tmp/first.log"; stop_all; exit 1; }

stop_all
wait "$first" "$second" || true
echo "second_launch_busy: ok"
INNER

e2e_xvfb "$tmp/inner.sh"
