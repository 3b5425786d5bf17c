# shellcheck shell=bash
# Sourced by tests/program/*-run.sh: a copy of the built Linux program in a work folder of its
# own, run on Qt's offscreen platform in the C locale with tests/program's window driver preloaded.

# window_run_prepare NAME PROGRAM: $work, with $copy (a copy of PROGRAM, so that its Tool.log is
# this run's) and a runtime directory of its own, so that no other instance counts as the first.
# NAME begins the lines fail prints. The caller removes $work.
window_run_prepare() {
  run_name=$1
  work=$(mktemp -d)
  copy="$work/viruzu-fwup"
  cp "$2" "$copy"
  mkdir -m 700 "$work/run"
}

fail() {
  echo "$run_name: $*" >&2
  [ -f "$work/Tool.log" ] && cat "$work/Tool.log" >&2
  exit 1
}

# window_run DRIVER SCENARIO VARIABLE=VALUE...: runs the copy against SCENARIO with DRIVER and the
# driver's VARIABLEs (within 100 s), shows its output and keeps it in $output; the program must
# end with status 0.
window_run() {
  local driver=$1 scenario=$2 status=0
  shift 2
  output=$(env -u LANGUAGE -u LC_MESSAGES LC_ALL=C LANG=C \
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" \
    VIRUZU_FWUP_EMULATE="$scenario" LD_PRELOAD="$driver" "$@" \
    timeout 100 "$copy" 2>&1) || status=$?
  echo "$output"
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# window_showed TEXT WHAT: the window driver saw TEXT shown, or the run fails: "the window never
# showed WHAT".
window_showed() {
  grep -qF "window_driver: shown: $1" <<<"$output" || fail "the window never showed $2"
}
