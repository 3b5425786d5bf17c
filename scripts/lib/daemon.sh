# shellcheck shell=bash
# Sourced by the scripts that run tests against a daemon of their own (scripts/cupsd-test.sh,
# scripts/power-bus-test.sh).
# shellcheck source=wait-for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait-for.sh"

# require_built SCRIPT FILE PRESET: ends the script when FILE, built by PRESET, is not there.
require_built() {
  if [ ! -x "$2" ]; then
    echo "$1: $2 not built (cmake --build --preset $3)" >&2
    exit 1
  fi
}

# daemon_start LOG COMMAND...: starts COMMAND in the background with an empty stdin and its output
# in LOG; $daemon_pid is its process.
daemon_pid=""
daemon_log=""
daemon_start() {
  daemon_log=$1
  shift
  "$@" </dev/null >"$daemon_log" 2>&1 &
  daemon_pid=$!
}

daemon_running() {
  [ -n "$daemon_pid" ] && kill -0 "$daemon_pid" 2>/dev/null
}

# daemon_ready SECONDS MESSAGE COMMAND...: waits until COMMAND succeeds. A daemon that ends
# meanwhile is not waited for; then, or after SECONDS, it prints MESSAGE and the daemon's output
# to stderr and returns 1.
daemon_ready() {
  local seconds=$1 message=$2
  shift 2
  wait_for "$seconds" daemon_answers_or_ended "$@" || true
  if ! "$@"; then
    echo "$message" >&2
    cat "$daemon_log" >&2 || true
    return 1
  fi
}
daemon_answers_or_ended() {
  "$@" || ! daemon_running
}

# daemon_stop: ends the daemon, with SIGKILL when it has not ended 5 s after SIGTERM.
daemon_stop() {
  if daemon_running; then
    kill "$daemon_pid" 2>/dev/null || true
    wait_for 5 eval '! daemon_running' || kill -KILL "$daemon_pid" 2>/dev/null || true
    wait "$daemon_pid" 2>/dev/null || true
  fi
}
