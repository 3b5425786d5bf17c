#!/usr/bin/env bash
# Builds the Linux preset and saves pictures of the Qt window for people to check layout, fonts
# and reading order:
#
#   bash scripts/qt-screenshots.sh
#
# build/screenshots/qt-<language>-<look>.png for every language of the language table (24, by the
# tags of src/text/languages.cpp: en, it, tr, ru, he, zh, de, fr, es, pt, pl, zh-Hant, ja, ko, ar,
# uk, cs, nl, sv, hu, el, ro, vi, id) (looks: idle with no, one and two printers, transfer-40 with the printer and
# the figures, success, success while waiting for the printer, back on the package's version and
# not back in time, the failure when the printer did not take the firmware, failure, not-ready,
# and the question dialog), drawn on Qt's offscreen platform; it fails when a text shown would draw
# a missing-glyph box. Where Xvfb and ImageMagick are installed it also starts
# the real program against a simulated printer in a virtual X server and saves that screen as
# build/screenshots/qt-program-idle.png, then closes the program as a session end would. With
# xdotool as well it then runs a whole upgrade in the program as a user would: clicks "Start to
# upgrade", waits (up to 90 s; flashing takes 20 s after the transfer) until Tool.log beside the
# program holds the success path's lines, saves build/screenshots/qt-upgrade-success.png, checks the
# window is still there and clicks "Complete", after which the program must end with status 0.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

bash scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux -j "$(nproc)" --target fwup_qt_screenshots viruzu-fwup

out="$root/build/screenshots"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$root/build/linux/tests/ui/qt/fwup_qt_screenshots" "$out"

if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v import >/dev/null 2>&1; then
  echo "qt-screenshots: xvfb-run or ImageMagick's import missing; no picture of the program"
  exit 0
fi

# A runtime directory of its own, so that a copy the user is running does not take this start
# for a second instance.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
cat >"$runtime/shoot.sh" <<'SHOT'
#!/usr/bin/env bash
set -euo pipefail
source "$SCRIPTS_LIB/wait-for.sh"
"$1" &
pid=$!
# The window is up once the single-instance socket exists and the first frame has been drawn.
wait_for 10 test -S "$XDG_RUNTIME_DIR/Viruzu__Firmware_Upgrade_Tool_FW_.socket" || true
sleep 1
import -window root "$2"
kill -TERM "$pid"
wait "$pid"
SHOT

# A whole upgrade against the simulated printer, as a user would run it.
cat >"$runtime/upgrade.sh" <<'RUN'
#!/usr/bin/env bash
set -euo pipefail
source "$SCRIPTS_LIB/wait-for.sh"
source "$SCRIPTS_LIB/picture.sh"
program=$1 shot=$2
log="$(dirname "$program")/Tool.log"
fail() { echo "qt-screenshots: upgrade run: $*" >&2; kill -TERM "$pid" 2>/dev/null || true; exit 1; }
logged() { [ -f "$log" ] && grep -qF "$1" "$log"; }
window_id() { xdotool search --name 'Firmware Upgrade Tool' 2>/dev/null | head -n 1 || true; }

rm -f "$log"
"$program" &
pid=$!
window_up() {
  window=$(window_id)
  [ -n "$window" ] && [ -S "$XDG_RUNTIME_DIR/Viruzu__Firmware_Upgrade_Tool_FW_.socket" ]
}
wait_for 10 window_up || window=""
[ -n "$window" ] || fail "the main window did not appear within 10 s"
title=$(xdotool getwindowname "$window")
case $title in
  *" — simulated printers") ;;
  *) fail "the title \"$title\" does not say that the printers are simulated" ;;
esac

# "Start to upgrade" is at x 290..410, y 442..467 of the 469x469 client area in English; scale
# to the size the window actually has.
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$((350 * WIDTH / 469))
y=$((455 * HEIGHT / 469))
# Clicks are taken once the window is mapped and drawn; try again (20 times) until the run has
# begun.
click_start() {
  xdotool mousemove --window "$window" "$x" "$y" click 1
  wait_for 1 logged "Will burn FW"
}
wait_for 2 click_start || true
logged "Will burn FW" || fail "no upgrade began after clicking Start at ($x, $y) of a ${WIDTH}x${HEIGHT} window"
head -n 1 "$log" | grep -qF "] Simulated printers from $VIRUZU_FWUP_EMULATE" ||
  fail "Tool.log does not start with \"Simulated printers from $VIRUZU_FWUP_EMULATE\":$(printf '\n'; cat "$log")"

run_ended() { logged "ELF is running..." || logged "Send Elf failed" || ! kill -0 "$pid" 2>/dev/null; }
wait_for 90 run_ended || true
logged "Will burn FW which is not encrypted" ||
  fail "Tool.log lacks \"Will burn FW which is not encrypted\":$(printf '\n'; cat "$log")"
! logged "Send Elf failed" || fail "the transfer failed:$(printf '\n'; cat "$log")"
logged "ELF is running..." ||
  fail "Tool.log lacks \"ELF is running...\" after 90 s:$(printf '\n'; cat "$log")"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself after the upgrade"
# The success look is drawn right after the line is written: wait (up to 10 s) for the green of
# the check mark's circle, at (209, 40) of the 469x469 window.
green=("$window" "$((209 * WIDTH / 469))" "$((40 * HEIGHT / 469))")
wait_for 10 shows_success_green "${green[@]}" || true
shows_success_green "${green[@]}" || fail "the window does not show the green check after the upgrade"
import -window root "$shot"
[ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$title" ] ||
  fail "the window titled \"$title\" is gone after the upgrade"
# The Exit button, at x 60..148, y 433..458 of the window, now reads "Complete"; clicking it ends
# the program (and the window's wait for the printer to come back).
xdotool mousemove --window "$window" "$((104 * WIDTH / 469))" "$((445 * HEIGHT / 469))" click 1
program_ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 10 program_ended || true
kill -0 "$pid" 2>/dev/null && fail "the program did not end within 10 s of clicking Complete"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "qt-screenshots: the program ended with status $status" >&2; exit 1; }
RUN
upgrade="$runtime/upgrade.sh"
if ! command -v xdotool >/dev/null 2>&1; then
  echo "qt-screenshots: xdotool missing; no upgrade run in the program"
  upgrade=true
fi
started=$SECONDS
# Both runs share one virtual X server, kept from resetting itself when the first program leaves
# (a program starting during the reset cannot connect).
SCRIPTS_LIB="$root/scripts/lib" XDG_RUNTIME_DIR="$runtime" VIRUZU_FWUP_EMULATE="$root/scenarios/one-printer-ready.json" \
  xvfb-run -a -s "-screen 0 640x520x24 -noreset" bash -c 'bash "$1" "$2" "$3" && { [ "$4" = true ] || bash "$4" "$2" "$5"; }' _ \
  "$runtime/shoot.sh" "$root/build/linux/src/app/qt/viruzu-fwup" "$out/qt-program-idle.png" \
  "$upgrade" "$out/qt-upgrade-success.png"
echo "saved $out/qt-program-idle.png (the program closed with status 0)"
[ "$upgrade" = true ] && exit 0
echo "saved $out/qt-upgrade-success.png (upgrade succeeded; both runs took $((SECONDS - started)) s; the program closed with status 0)"
