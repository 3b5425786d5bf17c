#!/usr/bin/env bash
# The window program as a screen reader meets it: the real program under Xvfb with Qt's
# accessibility on, read through at-spi2-core's accessibility bus with python3-pyatspi, and driven
# by the keyboard alone.
#
#   bash scripts/atspi-test.sh [preset [case]]   # preset: linux (default), already built;
#                                                # case: only the cases whose names hold it
#
# Starts Xvfb (scripts/lib/xvfb-display.sh) and a session dbus-daemon of its own on a unix socket
# under build/atspi-test/, on which at-spi2-core's bus launcher and registry are started as a
# desktop session starts them (D-Bus activation of org.a11y.Bus). tests/ui/atspi/
# window_through_atspi.py then starts the program once per case against a simulated printer: the
# idle look in every language, and in English the transfer, the same-version question, the
# failure, not-ready and success looks, the last one reached and left with the keyboard alone. It
# prints one line per case and "N passed, N failed". Everything it started is stopped on exit.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/daemon.sh
source "$root/scripts/lib/daemon.sh"
# shellcheck source=lib/xvfb-display.sh
source "$root/scripts/lib/xvfb-display.sh"
preset=${1:-linux}
[ $# -gt 0 ] && shift
program="$root/build/$preset/src/app/qt/viruzu-fwup"
require_built atspi-test "$program" "$preset"
for tool in Xvfb dbus-daemon xdotool /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "atspi-test: $tool is missing (bash scripts/install-deps.sh)" >&2
    exit 1
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "atspi-test: python3-pyatspi is missing (bash scripts/install-deps.sh)" >&2
  exit 1
fi

dir="$root/build/atspi-test"
rm -rf "$dir"
mkdir -p "$dir/runtime" "$dir/history" "$dir/locks"
chmod 700 "$dir/runtime"
socket="$dir/session_bus_socket"

# The bus launcher, its own bus and the registry are the session bus's children and theirs.
stop_tree() {
  local child
  for child in $(pgrep -P "$1" 2>/dev/null || true); do
    stop_tree "$child"
  done
  kill "$1" 2>/dev/null || true
}
stop() {
  local rc=$?
  if daemon_running; then
    stop_tree "$daemon_pid"
  fi
  daemon_stop
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  exit "$rc"
}
trap stop EXIT
trap 'exit 130' INT TERM

xvfb_start 70 99
daemon_start "$dir/bus.log" dbus-daemon --session --address="unix:path=$socket" --nofork --nopidfile
daemon_ready 10 "atspi-test: dbus-daemon did not start" test -S "$socket" || exit 1

# A private runtime folder: a copy of the program the user runs is not taken for a first instance.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$socket" XDG_RUNTIME_DIR="$dir/runtime"
export VIRUZU_FWUP_HISTORY_DIR="$dir/history" VIRUZU_FWUP_LOCK_DIR="$dir/locks"
unset AT_SPI_BUS_ADDRESS NO_AT_BRIDGE
timeout 900 /usr/bin/python3 "$root/tests/ui/atspi/window_through_atspi.py" "$program" \
  "$root/scenarios" "$@"
