#!/usr/bin/env bash
# The built Linux program on Qt's offscreen platform, with the simulated printer's lock held by
# another process (a python flock on its lock file, as another run holds it): Start must show the
# printer-in-use message, send nothing, and bring the window back to its idle look.
#
#   printer-in-use-run.sh PROGRAM WINDOW_DRIVER_SO SCENARIO PYTHON
set -euo pipefail
program=$1 driver=$2 scenario=$3 python=$4

work=$(mktemp -d)
holder=
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
copy="$work/viruzu-fwup"
cp "$program" "$copy"
mkdir -m 700 "$work/run" "$work/locks"
lock="$work/locks/USB%5CVID_5A7C%26PID_B101%5CSER0001.lock"
"$python" -c '
import fcntl, sys, time
f = open(sys.argv[1], "w")
fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
open(sys.argv[1] + ".held", "w").close()
time.sleep(300)' "$lock" &
holder=$!
for _ in $(seq 100); do [ -e "$lock.held" ] && break; sleep 0.05; done
[ -e "$lock.held" ] || { echo "printer-in-use-run: the lock was not taken" >&2; exit 1; }

status=0
output=$(env -u LANGUAGE -u LC_MESSAGES LC_ALL=C LANG=C \
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" \
  VIRUZU_FWUP_EMULATE="$scenario" VIRUZU_FWUP_LOCK_DIR="$work/locks" LD_PRELOAD="$driver" \
  FWUP_DRIVER_PRESS="Start to upgrade" \
  FWUP_DRIVER_AWAIT="Another upgrade is running on this printer. Wait until it has ended and try again." \
  FWUP_DRIVER_THEN_PRESS="Confirm" FWUP_DRIVER_THEN_AWAIT_IDLE="Start to upgrade" \
  timeout 100 "$copy" 2>&1) || status=$?
echo "$output"
fail() { echo "printer-in-use-run: $*" >&2; [ -f "$work/Tool.log" ] && cat "$work/Tool.log" >&2; exit 1; }

[ "$status" -eq 0 ] || fail "the program ended with status $status"
grep -qF "window_driver: shown: Another upgrade is running" <<<"$output" ||
  fail "the window never showed the printer-in-use message"
grep -qF "window_driver: idle: Start to upgrade" <<<"$output" ||
  fail "the window did not come back to its idle look"
grep -qF "Another upgrade run holds the printer USB\\VID_5A7C&PID_B101\\SER0001; nothing was sent to it" \
  "$work/Tool.log" || fail "Tool.log lacks the in-use line"
! grep -qF "Will burn FW" "$work/Tool.log" || fail "the run went on to the transfer"
echo "printer-in-use-run: refused, as it should be"
