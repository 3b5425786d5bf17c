# shellcheck shell=bash
# Sourced by the scripts that show windows on a virtual X display of their own.
# shellcheck source=wait-for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait-for.sh"

# xvfb_start FIRST LAST: starts Xvfb (1024x768, 24 bits, no TCP) on the first display number from
# FIRST to LAST that nobody uses, exports DISPLAY and sets $xvfb_pid, which the caller stops.
# Returns 1 when no number is free or the server did not start within 10 s.
xvfb_pid=""
xvfb_start() {
  local n display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      display=":$n"
      break
    fi
  done
  if [ -z "$display" ]; then
    echo "no free X display number from $1 to $2" >&2
    return 1
  fi
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  if ! wait_for 10 test -e "/tmp/.X11-unix/X${display#:}"; then
    echo "Xvfb did not start on $display" >&2
    return 1
  fi
}
