# Sourced by the test scripts that start real programs (Wine, Qt, a Debian root).

# wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds (0) or
# SECONDS have passed (1), so a program that starts slowly under load is not taken for a failed one.
wait_for() {
  local seconds=$1
  shift
  local i
  for i in $(seq 1 $((seconds * 10))); do
    if "$@"; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}
