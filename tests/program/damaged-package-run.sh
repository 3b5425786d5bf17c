#!/usr/bin/env bash
# A copy of the built Linux program with one byte of package 3000 flipped runs an emulated
# upgrade on Qt's offscreen platform: the run must end in the failure look, with the
# damaged-package line in the Tool.log beside the copy and nothing sent.
#
#   damaged-package-run.sh PROGRAM PACKAGE_3000 WINDOW_DRIVER_SO SCENARIO PYTHON
set -euo pipefail
program=$1 package=$2 driver=$3 scenario=$4 python=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy="$work/viruzu-fwup"
cp "$program" "$copy"
"$python" "$here/flip-package-byte.py" "$copy" 3000 "$package"

# A runtime directory of its own, so that no other instance counts as the first one.
mkdir -m 700 "$work/run"
status=0
output=$(env -u LANGUAGE -u LC_MESSAGES LC_ALL=C LANG=C \
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" \
  VIRUZU_FWUP_EMULATE="$scenario" LD_PRELOAD="$driver" \
  FWUP_DRIVER_PRESS="Start to upgrade" \
  FWUP_DRIVER_AWAIT="The firmware upgrade is failed." \
  FWUP_DRIVER_THEN_PRESS="Exit" \
  timeout 100 "$copy" 2>&1) || status=$?
echo "$output"
fail() { echo "damaged-package-run: $*" >&2; [ -f "$work/Tool.log" ] && cat "$work/Tool.log" >&2; exit 1; }

[ "$status" -eq 0 ] || fail "the program ended with status $status"
grep -qF "window_driver: shown: The firmware upgrade is failed." <<<"$output" ||
  fail "the window never showed the failure look"
[ -f "$work/Tool.log" ] || fail "no Tool.log beside the program"
grep -qF "Firmware package 3000 is damaged; nothing was sent" "$work/Tool.log" ||
  fail "Tool.log lacks the damaged-package line"
grep -qF "Send Elf failed, Error Code:-13!" "$work/Tool.log" ||
  fail "Tool.log lacks the failed send"
echo "damaged-package-run: refused, as it should be"
