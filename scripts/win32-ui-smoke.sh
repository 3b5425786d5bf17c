#!/usr/bin/env bash
# Runs the Windows program's window for real: Wine on a virtual X display (Xvfb).
#
#   bash scripts/win32-ui-smoke.sh
#
# Builds the windows preset if needed, then
#   1. runs the window tests of the test binary (Win32WindowTest.*, the printer list's
#      Win32DropDownListTest.*, and the dialog surface contract on Win32 windows,
#      Win32WindowTest/*; skipped by plain ctest, which
#      has no display) and requires that they ran and passed;
#   2. starts viruzu-fwup.exe against the simulated printer of scenarios/one-printer-ready.json,
#      waits for its window, checks the title and saves a screenshot to
#      build/screenshots/win32-idle.png;
#   3. covers the window with another one, starts a second instance, and checks that it ends, that
#      one main window remains and that it is now on top;
#   4. closes the window with Alt+F4 and checks that the program ended;
#   5. starts it again, clicks "Start to upgrade" and waits (up to 90 s; flashing takes 20 s after
#      the transfer) until Tool.log beside the program has the success path's lines, checks the
#      green check is shown and the window is still there, saves
#      build/screenshots/win32-upgrade-success.png, clicks "Complete" and checks that the program
#      ended with status 0;
#   6. starts it once in each other language (LC_ALL tells Wine the user interface language),
#      checks the title is not the English one, saves
#      build/screenshots/win32-program-<language>-idle.png and closes it with Alt+F4;
#   7. runs fwup_win32_screenshots.exe, which shows the main window in every look of
#      tests/ui/window_looks.h (idle with no, one and two printers, transfer-40 with the printer
#      and the figures, success, success while waiting for the printer, back on the package's
#      version and not back in time, the failure when the printer did not take the firmware,
#      failure, not-ready, and the question dialog over it) in every language and saves each
#      client area as a .bmp, and converts
#      them to build/screenshots/win32-<language>-<look>.png (one check per language: all its
#      pictures written and not empty); the tool fails when a text is cut, two controls overlap
#      or a letter is drawn as a missing-glyph box. Then again at 150 % scaling (144 dpi), as
#      build/screenshots/win32-150-<language>-<look>.png.
# Ends with "smoke: N passed, N failed"; the exit code is non-zero when a check failed.
#
# Wine gets a prefix of its own, build/wineprefix-ui, set to draw window frames itself (there is
# no window manager on the virtual display). Everything started here is stopped on exit.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

for tool in Xvfb xdotool xwininfo import convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "win32-ui-smoke: $tool is missing; run scripts/install-deps.sh" >&2
    exit 1
  fi
done

if [ ! -f build/windows/CMakeCache.txt ]; then
  cmake --preset windows >/dev/null
fi
cmake --build --preset windows -j "$(nproc)" >/dev/null
exe="$root/build/windows/src/app/win32/viruzu-fwup.exe"
tests="$root/build/windows/tests/fwup_tests.exe"
screenshots="$root/build/windows/tests/fwup_win32_screenshots.exe"
screenshot_dir="$root/build/screenshots"
mkdir -p "$screenshot_dir"

# shellcheck source=lib/check.sh
source "$root/scripts/lib/check.sh"
# shellcheck source=lib/wait-for.sh
source "$root/scripts/lib/wait-for.sh"
# shellcheck source=lib/xvfb-display.sh
source "$root/scripts/lib/xvfb-display.sh"
# shellcheck source=lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"
# shellcheck source=lib/picture.sh
source "$root/scripts/lib/picture.sh"

export WINEPREFIX="$root/build/wineprefix-ui"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(wine_command)
title='Viruzu  Firmware Upgrade Tool'
# Every window here talks to simulated printers, and its title says so after text 0.
simulated_title="$title — simulated printers"

app_pid=""
cover_pid=""
cleanup() {
  local pid
  for pid in "$app_pid" "$cover_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
    fi
  done
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

xvfb_start 90 140 || { echo "win32-ui-smoke: no virtual X display" >&2; exit 1; }
wine_prefix_boot || { echo "win32-ui-smoke: the Wine prefix did not boot" >&2; exit 1; }
# Without a window manager Wine draws the frames and keeps the stacking itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
# Windows faces the window texts name, drawn with the installed faces that stand in for them in
# the Qt window, so that texts wrap here about where they would on Windows.
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ \
  /d 'Liberation Serif' /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma /t REG_SZ /d 'DejaVu Sans' /f \
  >/dev/null 2>&1
# "宋体" (English, Italian, Chinese) gets the Chinese face the Qt window takes for it, and the face
# that stands in for Tahoma (the buttons) borrows its Chinese characters, which it lacks. The face
# name reaches Wine intact only from a UTF-8 locale.
LC_ALL=C.UTF-8 "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /t REG_SZ \
  /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
# The Japanese, Korean and Traditional Chinese tables name the faces Windows has for them; Noto's
# faces of each region stand in, as in the Qt window.
for pair in 'Meiryo UI=Noto Sans CJK JP' 'Malgun Gothic=Noto Sans CJK KR' '新細明體=Noto Serif CJK TC'; do
  LC_ALL=C.UTF-8 "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" \
    /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
done
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v 'DejaVu Sans' /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1

main_windows() { xdotool search --name "^${simulated_title}\$" 2>/dev/null || true; }
one_main_window() { [ "$(main_windows | wc -l)" -eq 1 ]; }
# xwininfo lists top-level windows from the top of the stack down.
stack_order() { xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) ".*/\1/p'; }
is_above() {  # is_above WINDOW OTHER (decimal ids)
  local first
  first=$(stack_order | grep -m1 -x -e "$(printf '0x%x' "$1")" -e "$(printf '0x%x' "$2")")
  [ "$first" = "$(printf '0x%x' "$1")" ]
}

# 1. The window tests of the test binary, on this display.
gtest_log="$root/build/windows/win32-window-tests.log"
gtest_ok() {
  "$wine" "$tests" --gtest_filter='Win32WindowTest.*:Win32WindowTest/*:Languages/Win32RightToLeftTest.*:Win32DropDownListTest.*' >"$gtest_log" 2>&1 &&
    grep -q '^\[  PASSED  \]' "$gtest_log" && ! grep -q '^\[  SKIPPED \]' "$gtest_log"
}
check "window tests of fwup_tests.exe (log: ${gtest_log#"$root"/})" gtest_ok

# 2. The program against the simulated printer.
scenario=$("$wine" winepath -w "$root/scenarios/one-printer-ready.json" 2>/dev/null)
VIRUZU_FWUP_EMULATE="$scenario" "$wine" "$exe" >/dev/null 2>&1 &
app_pid=$!
check "main window appears" wait_for 60 one_main_window
window=$(main_windows | head -n 1)
if [ -z "$window" ]; then
  echo "smoke: $passed passed, $((failed + 1)) failed"
  exit 1
fi
check "title is text 0 in English, marked as simulated" \
  test "$(xdotool getwindowname "$window")" = "$simulated_title"
sleep 1  # let the first paint finish
shot="$screenshot_dir/win32-idle.png"
check "screenshot ${shot#"$root"/}" import -window "$window" "$shot"

# 3. A second instance raises the first and ends without a window of its own.
"$wine" notepad >/dev/null 2>&1 &
cover_pid=$!
cover=""
find_cover() { cover=$(xdotool search --name 'Notepad$' 2>/dev/null | head -n 1); [ -n "$cover" ]; }
check "a covering window appears" wait_for 60 find_cover
if [ -n "$cover" ]; then
  check "the covering window is on top" wait_for 10 is_above "$cover" "$window"
fi
second_ends() { timeout 60 "$wine" "$exe" >/dev/null 2>&1; }
check "second instance ends" second_ends
check "exactly one main window remains" one_main_window
if [ -n "$cover" ]; then
  check "the first window was raised" wait_for 10 is_above "$window" "$cover"
fi
kill "$cover_pid" 2>/dev/null || true

# 4. Alt+F4 closes the idle window, and the program ends with it.
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
check "Alt+F4 closes the window and the program ends" wait_for 30 app_ended

# 5. A whole upgrade against the simulated printer, as a user would run it.
tool_log="$(dirname "$exe")/Tool.log"
rm -f "$tool_log"
logged() { [ -f "$tool_log" ] && grep -qF "$1" "$tool_log"; }
VIRUZU_FWUP_EMULATE="$scenario" "$wine" "$exe" >/dev/null 2>&1 &
app_pid=$!
upgrade_started=$SECONDS
window=""
check "main window appears for the upgrade" wait_for 60 one_main_window
window=$(main_windows | head -n 1)
if [ -z "$window" ]; then
  echo "smoke: $passed passed, $((failed + 1)) failed"
  exit 1
fi
# "Start to upgrade" sits at the lower right, below the printer list: about (352, 476) of the
# undecorated window (the client area starts at (3, 22)). A click that lands before the window
# takes input is lost, so click again until the run has begun.
click_start() {
  xdotool mousemove --window "$window" 352 476 click 1
  wait_for 1 logged "Will burn FW"
}
check "clicking Start begins the upgrade" wait_for 30 click_start
run_ended() { logged "ELF is running..." || logged "Send Elf failed" || ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 90 run_ended || true
first_line_names_scenario() { head -n 1 "$tool_log" | grep -qF "] Simulated printers from $scenario"; }
check "Tool.log starts with \"Simulated printers from $scenario\"" first_line_names_scenario
check "Tool.log has \"Will burn FW which is not encrypted\"" logged "Will burn FW which is not encrypted"
check "Tool.log has no \"Send Elf failed\"" eval '! logged "Send Elf failed"'
check "Tool.log has \"ELF is running...\" (within 90 s)" logged "ELF is running..."
if [ "$failed" -ne 0 ] && [ -f "$tool_log" ]; then
  echo "Tool.log:"
  cat "$tool_log"
fi
echo "upgrade run took $((SECONDS - upgrade_started)) s"
check "the program is still running after the upgrade" kill -0 "$app_pid"
# The success look follows the log line: the green circle of the check mark, at (210, 62) of the
# window.
check "the window shows the green check" wait_for 10 shows_success_green "$window" 210 62
shot="$screenshot_dir/win32-upgrade-success.png"
check "screenshot ${shot#"$root"/}" import -window "$window" "$shot"
check "the window is still titled \"$simulated_title\"" \
  test "$(xdotool getwindowname "$window" 2>/dev/null)" = "$simulated_title"
# The Exit button at the lower left (60..148, 432..456 of the client area) now reads "Complete";
# clicking it ends the program.
xdotool mousemove --window "$window" 106 466 click 1
check "clicking Complete ends the program" wait_for 30 app_ended
# A program still running would hold the wait below for ever.
app_ended || kill "$app_pid" 2>/dev/null || true
app_status=0
wait "$app_pid" || app_status=$?
check "the program ended with status 0 (got $app_status)" test "$app_status" -eq 0

# 6. Every other language: Wine takes the user interface language from the locale variables. The
#    window must come up with a title of its own language; its picture is for people to check.
for locale in it_IT tr_TR ru_RU he_IL zh_CN de_DE fr_FR es_ES pt_BR pl_PL ja_JP ko_KR zh_TW ar_EG \
  uk_UA cs_CZ nl_NL sv_SE hu_HU el_GR ro_RO vi_VN id_ID; do
  code=${locale%_*}
  [ "$locale" != zh_TW ] || code=zh-Hant
  LC_ALL="$locale.UTF-8" VIRUZU_FWUP_EMULATE="$scenario" "$wine" "$exe" >/dev/null 2>&1 &
  app_pid=$!
  window=""
  find_window() {
    window=$(xdotool search --onlyvisible --class 'viruzu-fwup.exe' 2>/dev/null | head -n 1)
    [ -n "$window" ]
  }
  check "$code: main window appears" wait_for 60 find_window
  if [ -n "$window" ]; then
    name=$(xdotool getwindowname "$window" 2>/dev/null || true)
    check "$code: title \"$name\" is not the English one" test -n "$name" -a "$name" != "$title"
    sleep 1  # let the first paint finish
    shot="$screenshot_dir/win32-program-$code-idle.png"
    check "$code: screenshot ${shot#"$root"/}" import -window "$window" "$shot"
    xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key --clearmodifiers alt+F4
  fi
  check "$code: the program ends after Alt+F4" wait_for 30 app_ended
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
done

# 7. Every look of the window in every language, drawn by the Win32 surface, at 100 % and at
#    150 % scaling (the screen's DPI, which Wine takes at its start). The tool measures every text
#    in its control and looks for missing-glyph boxes before each picture. The names are those of
#    tests/ui/window_looks.h and of the language table's tags, read back from the tool's log.
looks=(idle idle-one-printer idle-two-printers transfer-40 success success-waiting success-current
  success-not-back failure-not-taken failure not-ready question)
set_dpi() {
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
pictures_of() {  # pictures_of DIRECTORY PREFIX LANGUAGE: every look written, converted, not empty
  local look bmp png
  for look in "${looks[@]}"; do
    bmp="$1/win32-$3-$look.bmp"
    png="$screenshot_dir/$2-$3-$look.png"
    [ -s "$bmp" ] || { echo "  missing or empty: ${bmp#"$root"/}"; return 1; }
    [ -s "$png" ] || { echo "  not converted: ${png#"$root"/}"; return 1; }
  done
}
shoot_every_look() {  # shoot_every_look DPI PREFIX
  local dir="$root/build/windows/$2-screenshots" log="$root/build/windows/$2-screenshots.log"
  local status=0 code
  rm -rf "$dir"
  mkdir -p "$dir"
  "$wine" "$screenshots" "$("$wine" winepath -w "$dir" 2>/dev/null)" >"$log" 2>&1 || status=$?
  grep -a 'DOES NOT SHOW WHOLE' "$log" | head -n 20 | tr -d '\r' || true
  check "$2 ($1 dpi): every text of every language shows whole, every picture saved (log: ${log#"$root"/})" \
    test "$status" -eq 0
  # One ImageMagick run for all the pictures: a run per picture cost half a minute.
  local png_dir="$dir/png" bmp name
  mkdir -p "$png_dir"
  for bmp in "$dir"/*.bmp; do  # no picture of an earlier run may stand in for a missing one
    name=${bmp##*/win32-}
    rm -f "$screenshot_dir/$2-${name%.bmp}.png"
  done
  mogrify -path "$png_dir" -format png "$dir"/*.bmp 2>/dev/null || true
  for bmp in "$png_dir"/win32-*.png; do
    [ -e "$bmp" ] && mv -f "$bmp" "$screenshot_dir/$2-${bmp##*/win32-}"
  done
  mapfile -t language_codes < <(tr -d '\r' <"$log" | sed -n 's/^saved .*win32-\(.*\)-idle\.bmp$/\1/p')
  echo "  languages: ${language_codes[*]}"
  for code in "${language_codes[@]}"; do
    check "$code: every look saved as build/screenshots/$2-$code-<look>.png" pictures_of "$dir" "$2" "$code"
  done
}
shots_started=$SECONDS
shoot_every_look 96 win32
set_dpi 144
shoot_every_look 144 win32-150
set_dpi 96
echo "the pictures of every look took $((SECONDS - shots_started)) s"

echo "smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
