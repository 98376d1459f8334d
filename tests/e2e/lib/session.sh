# Sourced by the end-to-end scripts. Outside Xvfb, `e2e_begin` makes a private home for one run
# (removed on exit) with an "in" folder for the files, and `e2e_xvfb` runs the script's inner
# part under Xvfb as `bash inner.sh <binary> <tmp> <this file>`. Inside, `e2e_env` points the
# application at that home and turns on the shell's log, which `wait_for` reads.
E2E_LIB="$(readlink -f "${BASH_SOURCE[0]}")"

e2e_begin() {  # binary
  bin="$(readlink -f "$1")"
  tmp="$(mktemp -d)"
  trap 'rm -rf "$tmp"' EXIT
  mkdir -p "$tmp/home" "$tmp/config" "$tmp/data" "$tmp/cache" "$tmp/run" "$tmp/in"
  chmod 700 "$tmp/run"
}

e2e_xvfb() {  # inner script
  xvfb-run -a -s "-screen 0 1400x900x24" bash "$1" "$bin" "$tmp" "$E2E_LIB"
}

e2e_env() {
  export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache"
  export XDG_RUNTIME_DIR="$tmp/run" QT_LOGGING_RULES="brindlecove.shell.info=true"
}

wait_for() {  # text, log, seconds (20 unless given)
  for _ in $(seq $((${3:-20} * 10))); do grep -qF -- "$1" "$2" && return 0; sleep 0.1; done
  echo "timed out waiting for: $1"; cat "$2"; return 1
}

wait_gone() {  # pid: up to 10 s
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  echo "still running"; kill -KILL "$1"; return 1
}

window() { xdotool search --sync --onlyvisible --name '^Brindlecove$' | head -1; }

e2e_launch() {  # log, files: starts the application in $tmp/in with the files, waits until it
  # lists them all and focuses its window; sets `app` (the pid) and `wid` (the window)
  local log="$1"
  shift
  (cd "$tmp/in" && exec "$bin" "$@") > "$log" 2>&1 &
  app=$!
  wait_for "ready" "$log" || return 1
  wait_for "items: $#" "$log" || return 1
  wid="$(window)"
  xdotool windowfocus --sync "$wid"
}
