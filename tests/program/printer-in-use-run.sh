#!/usr/bin/env bash
# The built Linux program on Qt's offscreen platform, with the simulated printer's lock held by
# another process (a python flock on its lock file, as another run holds it): Start must show the
# printer-in-use message, send nothing, bring the window back to its idle look, and leave the
# refused run in the history.
#
#   printer-in-use-run.sh PROGRAM WINDOW_DRIVER_SO SCENARIO PYTHON
set -euo pipefail
program=$1 driver=$2 scenario=$3 python=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=window-run.sh
source "$here/window-run.sh"
# shellcheck source=../../scripts/lib/wait-for.sh
source "$here/../../scripts/lib/wait-for.sh"

window_run_prepare printer-in-use-run "$program"
holder=
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -m 700 "$work/locks"
lock="$work/locks/USB%5CVID_5A7C%26PID_B101%5CSER0001.lock"
"$python" -c '
import fcntl, sys, time
f = open(sys.argv[1], "w")
fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
open(sys.argv[1] + ".held", "w").close()
time.sleep(300)' "$lock" &
holder=$!
wait_for 5 test -e "$lock.held" || { echo "printer-in-use-run: the lock was not taken" >&2; exit 1; }

in_use="Another upgrade is running on this printer. Wait until it has ended and try again."
window_run "$driver" "$scenario" VIRUZU_FWUP_LOCK_DIR="$work/locks" \
  FWUP_DRIVER_PRESS="Start to upgrade" FWUP_DRIVER_AWAIT="$in_use" \
  FWUP_DRIVER_THEN_PRESS="Confirm" FWUP_DRIVER_THEN_AWAIT_IDLE="Start to upgrade"
window_showed "Another upgrade is running" "the printer-in-use message"
grep -qF "window_driver: idle: Start to upgrade" <<<"$output" ||
  fail "the window did not come back to its idle look"
grep -qF "Another upgrade run holds the printer USB\\VID_5A7C&PID_B101\\SER0001; nothing was sent to it" \
  "$work/Tool.log" || fail "Tool.log lacks the in-use line"
! grep -qF "Will burn FW" "$work/Tool.log" || fail "the run went on to the transfer"
# The refused run is the simulated printers' history's one line, beside the program as its
# Tool.log is, marked as simulated; the history of real printers is not touched.
history="$work/history-simulated.jsonl"
[ "$(wc -l <"$history")" -eq 1 ] &&
  grep -qF '"program":"viruzu-fwup",' "$history" &&
  grep -qF '"bytesSent":0,"result":"in-use",' "$history" &&
  grep -qF '"simulated":true}' "$history" && [ ! -e "$work/history.jsonl" ] ||
  fail "the simulated history does not hold the refused run alone"
echo "printer-in-use-run: refused, as it should be"
