# shellcheck shell=sh
# Sourced by the scripts that report one "ok:" or "FAIL:" line per check (also by
# scripts/package-root-check.sh inside a Debian root, hence plain sh).
#
#   check DESCRIPTION COMMAND...
#
# runs COMMAND and counts it in $passed or $failed. With $check_output naming a file, COMMAND's
# output goes there and a failure shows its last $check_output_lines lines (default 40), indented.
passed=0
failed=0
check() {
  check_what=$1
  shift
  check_status=0
  if [ -n "${check_output:-}" ]; then
    "$@" >"$check_output" 2>&1 || check_status=$?
  else
    "$@" || check_status=$?
  fi
  if [ "$check_status" -eq 0 ]; then
    echo "ok:   $check_what"
    passed=$((passed + 1))
  else
    echo "FAIL: $check_what"
    if [ -n "${check_output:-}" ]; then
      sed 's/^/      /' "$check_output" | tail -n "${check_output_lines:-40}"
    fi
    failed=$((failed + 1))
  fi
}
