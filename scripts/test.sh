#!/usr/bin/env bash
# Builds and tests viruzu-fwup on every preset: linux, linux-asan, linux-tsan and windows (MinGW-w64,
# under Wine).
#
#   bash scripts/test.sh                 # all three presets, as CI does
#   bash scripts/test.sh linux windows   # only the presets named
#
# When both linux and windows run, it then makes the packages (scripts/package.sh) and checks them
# (scripts/package-test.sh), then builds them again elsewhere and compares the bytes
# (scripts/reproducible-check.sh).
#
# Installs missing Debian packages first (scripts/install-deps.sh). Stops at the first failing
# configure, build or test step, then prints a per-preset summary whose last line is
# "N passed, N failed, N skipped" over every CTest test, every case of the power bus tests
# (scripts/power-bus-test.sh), of the Ansible role (scripts/ansible-test.sh), of the window through
# the accessibility bus (scripts/atspi-test.sh) and of the USB stand (scripts/usb-stand.sh), all
# after the linux preset, and every package check that ran (a test that
# skipped itself, such as the CUPS server tests outside scripts/cupsd-test.sh, counts as skipped,
# not passed). Works from any directory and on a fresh clone.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# Nothing here reads the terminal. CI starts this with no stdin; give every step (Wine included) an
# empty one rather than a closed or inherited descriptor.
exec </dev/null

jobs=$(nproc)
if [ $# -gt 0 ]; then
  presets=("$@")
else
  presets=(linux linux-asan linux-tsan windows)
fi
# The rows of the summary: the presets, and the packages when they are made.
rows=("${presets[@]}")

# Wine gets a prefix of its own inside the build tree: nothing is assumed about ~/.wine, and a
# fresh clone boots a fresh prefix. The wineserver it starts is stopped on every exit path, so no
# lingering server keeps CI waiting.
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts
wine_started=0
# shellcheck source=lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"

declare -A result seconds passed failed skipped
total_passed=0
total_failed=0
total_skipped=0
failed_step=""
stand_summary=""
script_start=$SECONDS

summary() {
  local rc=$?
  if [ "$wine_started" -eq 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  echo
  echo "==================== summary ===================="
  printf '%-12s %-22s %8s %8s %8s %8s\n' preset result passed failed skipped seconds
  local p
  for p in "${rows[@]}"; do
    printf '%-12s %-22s %8s %8s %8s %8s\n' "$p" "${result[$p]:-not run}" "${passed[$p]:--}" \
      "${failed[$p]:--}" "${skipped[$p]:--}" "${seconds[$p]:--}"
  done
  echo "(counts are CTest tests and package checks; under Wine the whole test binary is one CTest test)"
  if [ -n "$stand_summary" ]; then
    echo "usb stand (cases in a virtual machine, counted in the total): $stand_summary"
  fi
  echo "total time: $((SECONDS - script_start)) s"
  if [ -n "$failed_step" ]; then
    echo "FAILED: $failed_step"
  elif [ "$rc" -ne 0 ]; then
    echo "FAILED (exit code $rc)"
  fi
  echo "${total_passed} passed, ${total_failed} failed, ${total_skipped} skipped"
}
trap summary EXIT

# Each stage says when it began, so a slow one shows in the log.
stage() {
  echo
  echo "==> [$((SECONDS - script_start)) s] $*"
}

# The "N passed, N failed" line that a script of cases ends with, as "N N"; without one the
# script counts as one failure.
case_counts() {
  local counts
  counts=$(sed -n 's/^\([0-9][0-9]*\) passed, \([0-9][0-9]*\) failed$/\1 \2/p' "$1" | tail -n 1)
  echo "${counts:-0 1}"
}

# run_cases WHAT SCRIPT LOG: runs SCRIPT for the linux preset, with its output in build/LOG too,
# and counts its cases in the linux row and the total; a failing script ends the run.
run_cases() {
  local what=$1 script=$2 log="$root/build/$3" rc=0 case_passed case_failed t0=$SECONDS
  stage "linux: $script linux"
  bash "$script" linux 2>&1 | tee "$log" || rc=$?
  read -r case_passed case_failed <<<"$(case_counts "$log")"
  passed[linux]=$((${passed[linux]:-0} + case_passed))
  failed[linux]=$((${failed[linux]:-0} + case_failed))
  total_passed=$((total_passed + case_passed))
  total_failed=$((total_failed + case_failed))
  echo "linux: $script $((SECONDS - t0)) s"
  seconds[linux]=$((SECONDS - preset_start))
  if [ "$rc" -ne 0 ]; then
    result[linux]="$what tests failed"
    failed_step="$script"
    exit 1
  fi
}

echo "==> dependencies"
t0=$SECONDS
bash scripts/install-deps.sh
echo "dependencies: $((SECONDS - t0)) s"

for preset in "${presets[@]}"; do
  preset_start=$SECONDS

  stage "$preset: configure"
  t0=$SECONDS
  if ! cmake --preset "$preset"; then
    result[$preset]="configure failed"
    failed_step="configure $preset"
    exit 1
  fi
  echo "$preset: configure $((SECONDS - t0)) s"

  stage "$preset: build (-j$jobs)"
  t0=$SECONDS
  if ! cmake --build --preset "$preset" -j "$jobs"; then
    result[$preset]="build failed"
    failed_step="build $preset"
    seconds[$preset]=$((SECONDS - preset_start))
    exit 1
  fi
  echo "$preset: build $((SECONDS - t0)) s"

  if [ "$preset" = windows ] && [ "$wine_started" -eq 0 ]; then
    stage "wine: prefix $WINEPREFIX"
    t0=$SECONDS
    wine_started=1
    if ! wine_prefix_boot; then
      result[$preset]="wine prefix failed"
      failed_step="wineboot --init in $WINEPREFIX (log: $WINEPREFIX.boot.log)"
      exit 1
    fi
    echo "wine: prefix ready in $((SECONDS - t0)) s"
  fi

  stage "$preset: test (-j$jobs)"
  t0=$SECONDS
  log="$root/build/$preset/ctest-output.log"
  rc=0
  ctest --preset "$preset" -j "$jobs" --no-tests=error 2>&1 | tee "$log" || rc=$?
  echo "$preset: test $((SECONDS - t0)) s"
  seconds[$preset]=$((SECONDS - preset_start))

  # CTest's closing line: "100% tests passed, 0 tests failed out of 42".
  counts=$(sed -n 's/.*tests passed, \([0-9][0-9]*\) tests\{0,1\} failed out of \([0-9][0-9]*\).*/\1 \2/p' \
           "$log" | tail -n 1)
  # CTest counts a skipped test among the passed ones; it names each under "The following tests
  # did not run:" as "  12 - Suite.Case (Skipped)".
  s=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" || true)
  if [ -n "$counts" ]; then
    read -r f t <<<"$counts"
    passed[$preset]=$((t - f - s))
    failed[$preset]=$f
    skipped[$preset]=$s
    total_passed=$((total_passed + t - f - s))
    total_failed=$((total_failed + f))
    total_skipped=$((total_skipped + s))
  fi
  if [ "$rc" -ne 0 ]; then
    result[$preset]="tests failed"
    failed_step="tests $preset"
    if [ -z "$counts" ]; then
      failed[$preset]="?"
    fi
    exit 1
  fi
  result[$preset]="ok"

  # The programs themselves, in a virtual X server: the Win32 window under Wine, the Qt window.
  # The print-queue tests against a cupsd of their own. Every fuzz target for a few seconds.
  case $preset in
    windows) ui_scripts=(scripts/win32-ui-smoke.sh) ;;
    linux) ui_scripts=(scripts/qt-screenshots.sh "scripts/cupsd-test.sh linux" "scripts/fuzz.sh 5") ;;
    *) ui_scripts=() ;;
  esac
  for ui_script in "${ui_scripts[@]}"; do
    stage "$preset: $ui_script"
    t0=$SECONDS
    # shellcheck disable=SC2086 # a script and its arguments
    if ! bash $ui_script; then
      result[$preset]="$ui_script failed"
      failed_step="$ui_script"
      exit 1
    fi
    echo "$preset: $ui_script $((SECONDS - t0)) s"
    seconds[$preset]=$((SECONDS - preset_start))
  done

  # Scripts of cases against real components of their own, after the linux tests; their cases
  # count in the linux row and the total like tests. The transfer's inhibitor and the battery
  # check against a D-Bus with stand-ins for logind and UPower; the Ansible role over three
  # simulated hosts on this machine; the window through the accessibility bus, as a screen reader
  # and the keyboard meet it.
  if [ "$preset" = linux ]; then
    run_cases "power bus" scripts/power-bus-test.sh power-bus-test-output.log
    run_cases ansible scripts/ansible-test.sh ansible-test-output.log
    run_cases "accessibility bus" scripts/atspi-test.sh atspi-test-output.log
  fi

  # The Linux USB path against a real kernel USB stack, in a virtual machine. Its cases count in
  # the total like tests.
  if [ "$preset" = linux ]; then
    stage "linux: scripts/usb-stand.sh"
    t0=$SECONDS
    stand_log="$root/build/usb-stand-output.log"
    rc=0
    bash scripts/usb-stand.sh 2>&1 | tee "$stand_log" || rc=$?
    read -r stand_passed stand_failed <<<"$(case_counts "$stand_log")"
    stand_summary="$stand_passed passed, $stand_failed failed"
    total_passed=$((total_passed + stand_passed))
    total_failed=$((total_failed + stand_failed))
    echo "$preset: scripts/usb-stand.sh $((SECONDS - t0)) s"
    seconds[$preset]=$((SECONDS - preset_start))
    if [ "$rc" -ne 0 ]; then
      result[$preset]="usb stand failed"
      failed_step="scripts/usb-stand.sh"
      exit 1
    fi
  fi
done

# count_row ROW LOG WORD: adds the "WORD: N passed, N failed" line a script of checks ended its
# LOG with to ROW and the totals; false when there is none.
count_row() {
  local row=$1 counts p f
  counts=$(sed -n "s/^$3: \([0-9][0-9]*\) passed, \([0-9][0-9]*\) failed\$/\1 \2/p" "$2" | tail -n 1)
  if [ -z "$counts" ]; then
    failed[$row]="?"
    return 1
  fi
  read -r p f <<<"$counts"
  passed[$row]=$p
  failed[$row]=$f
  skipped[$row]=0
  total_passed=$((total_passed + p))
  total_failed=$((total_failed + f))
}

# The packages, from the linux and windows build trees.
if [[ " ${presets[*]} " == *" linux "* && " ${presets[*]} " == *" windows "* ]]; then
  rows+=(package)
  package_start=$SECONDS
  stage "package: scripts/package.sh"
  if ! bash scripts/package.sh; then
    result[package]="package.sh failed"
    failed_step="scripts/package.sh"
    exit 1
  fi

  # The release files once more from a copy of the sources in another folder, without ccache:
  # the same bytes (scripts/reproducible-check.sh). Mostly compiling, it runs beside the package
  # checks, which mostly wait on downloads and Wine; its output follows theirs.
  stage "reproducible: scripts/reproducible-check.sh, beside the package checks"
  repro_log="$root/build/reproducible-check.log"
  repro_start=$SECONDS
  bash scripts/reproducible-check.sh >"$repro_log" 2>&1 &
  repro_pid=$!

  stage "package: scripts/package-test.sh"
  log="$root/build/package-test.log"
  package_rc=0
  bash scripts/package-test.sh 2>&1 | tee "$log" || package_rc=$?
  seconds[package]=$((SECONDS - package_start))
  package_counted=0
  count_row package "$log" package && package_counted=1

  rows+=(reproducible)
  repro_rc=0
  wait "$repro_pid" || repro_rc=$?
  seconds[reproducible]=$((SECONDS - repro_start))
  stage "reproducible: scripts/reproducible-check.sh (its output)"
  cat "$repro_log"
  repro_counted=0
  count_row reproducible "$repro_log" reproducible && repro_counted=1

  if [ "$package_rc" -ne 0 ] || [ "$package_counted" -eq 0 ]; then
    result[package]="checks failed"
    failed_step="scripts/package-test.sh"
  else
    result[package]="ok"
  fi
  if [ "$repro_rc" -ne 0 ] || [ "$repro_counted" -eq 0 ]; then
    result[reproducible]="files differ"
    failed_step=${failed_step:-scripts/reproducible-check.sh}
  else
    result[reproducible]="ok"
  fi
  if [ -n "$failed_step" ]; then
    exit 1
  fi
fi
