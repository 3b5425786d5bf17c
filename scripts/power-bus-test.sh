#!/usr/bin/env bash
# Runs the console program against a real D-Bus standing in for the system bus, with
# python3-dbusmock's logind and UPower on it: the inhibitor a transfer holds, and the refusal to
# start on a nearly empty battery.
#
#   bash scripts/power-bus-test.sh [preset]     # preset: linux (default) or linux-asan, already built
#
# Starts a dbus-daemon of its own (Debian dbus-daemon) on a unix socket under build/power-bus-test/,
# with a configuration that lets anyone own any name, so it neither touches nor meets the machine's
# own buses, and points DBUS_SYSTEM_BUS_ADDRESS at it. tests/power/power_bus_cases.py then starts
# the mocks each case needs (or, for a bus that hangs, a socket that never answers) and runs the
# console program, and the window program (Qt offscreen,
# tests/program's driver preloaded) where both are built; it prints one line per case and
# "N passed, N failed". The bus is stopped on exit. Works as root or as an ordinary user.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/daemon.sh
source "$root/scripts/lib/daemon.sh"
preset=${1:-linux}
program="$root/build/$preset/src/app/cli/viruzu-fwup-cli"
require_built power-bus-test "$program" "$preset"
if ! command -v dbus-daemon >/dev/null 2>&1 || ! /usr/bin/python3 -c 'import dbus, dbusmock' 2>/dev/null; then
  echo "power-bus-test: dbus-daemon or python3-dbusmock is missing (bash scripts/install-deps.sh)" >&2
  exit 1
fi

dir="$root/build/power-bus-test"
rm -rf "$dir"
mkdir -p "$dir"
socket="$dir/system_bus_socket"

cat >"$dir/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF

stop() {
  local rc=$?
  daemon_stop
  exit "$rc"
}
trap stop EXIT
trap 'exit 130' INT TERM

daemon_start "$dir/bus.log" dbus-daemon --config-file="$dir/bus.conf" --nofork --nopidfile
daemon_ready 10 "power-bus-test: dbus-daemon did not start" test -S "$socket" || exit 1

# The window program's case needs tests/program's driver, which the sanitizer presets do not build.
window_args=()
window="$root/build/$preset/src/app/qt/viruzu-fwup"
driver="$root/build/$preset/tests/program/libfwup_window_driver.so"
if [ -x "$window" ] && [ -f "$driver" ]; then
  window_args=(--window "$window" --driver "$driver")
fi

export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$socket"
timeout 600 /usr/bin/python3 "$root/tests/power/power_bus_cases.py" --program "$program" \
  --scenarios "$root/scenarios" --work "$dir" "${window_args[@]}"
