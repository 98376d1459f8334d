#!/usr/bin/env bash
# The real binary under Xvfb: files on the command line, a second launch hands its file to the
# running window and exits, SIGTERM quits cleanly with status 0.
set -euo pipefail
source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
e2e_begin "$1"
printf x > "$tmp/in/A001.mov"
printf x > "$tmp/in/A002.mov"
printf x > "$tmp/in/B001.mov"

cat > "$tmp/inner.sh" <<'INNER'
set -u
bin="$1"; tmp="$2"
source "$3"
e2e_env
e2e_launch "$tmp/first.log" A001.mov "$tmp/in/A002.mov" || exit 1
first=$app
cd "$tmp/in"

timeout 20 "$bin" B001.mov > "$tmp/second.log" 2>&1
second=$?
[ "$second" -eq 0 ] || { echo "second launch exited $second"; cat "$tmp/second.log"; exit 1; }
grep -q "ready" "$tmp/second.log" && { echo "second launch opened its own window"; exit 1; }
wait_for "received 1 path(s)" "$tmp/first.log" || exit 1
wait_for "items: 3" "$tmp/first.log" || exit 1

kill -TERM "$first"
for _ in $(seq 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$first" 2>/dev/null; then echo "still running after SIGTERM"; kill -KILL "$first"; exit 1; fi
wait "$first"
status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; cat "$tmp/first.log"; exit 1; }
grep -q "signal 15" "$tmp/first.log" || { echo "SIGTERM did not take the quit path"; exit 1; }
[ -e "$tmp/run/brindlecove.sock" ] && { echo "socket left behind"; exit 1; }
echo "shell_quit: ok"
INNER

e2e_xvfb "$tmp/inner.sh"
