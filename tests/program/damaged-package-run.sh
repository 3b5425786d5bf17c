#!/usr/bin/env bash
# A copy of the built Linux program with one byte of package 3000 flipped runs an emulated
# upgrade on Qt's offscreen platform: the run must end in the failure look, with the
# damaged-package line in the Tool.log beside the copy and nothing sent.
#
#   damaged-package-run.sh PROGRAM PACKAGE_3000 WINDOW_DRIVER_SO SCENARIO PYTHON
set -euo pipefail
program=$1 package=$2 driver=$3 scenario=$4 python=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=window-run.sh
source "$here/window-run.sh"

window_run_prepare damaged-package-run "$program"
trap 'rm -rf "$work"' EXIT
"$python" "$here/flip-package-byte.py" "$copy" 3000 "$package"

window_run "$driver" "$scenario" \
  FWUP_DRIVER_PRESS="Start to upgrade" \
  FWUP_DRIVER_AWAIT="The firmware upgrade is failed." \
  FWUP_DRIVER_THEN_PRESS="Exit"
window_showed "The firmware upgrade is failed." "the failure look"
[ -f "$work/Tool.log" ] || fail "no Tool.log beside the program"
grep -qF "Firmware package 3000 is damaged; nothing was sent" "$work/Tool.log" ||
  fail "Tool.log lacks the damaged-package line"
grep -qF "Send Elf failed, Error Code:-13!" "$work/Tool.log" ||
  fail "Tool.log lacks the failed send"
echo "damaged-package-run: refused, as it should be"
