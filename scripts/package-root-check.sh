#!/bin/sh
# Runs inside a fresh Debian root (scripts/package-test.sh copies it there with scripts/lib, the
# package and scenarios, all in /tmp): installs the package with apt, runs the programs as a user
# other than root, and removes the package again. One "ok:" or "FAIL:" line per check; exits 1
# when any failed.
#
#   sh /tmp/package-root-check.sh VERSION
set -u
version=$1
deb=$(ls /tmp/viruzu-fwup_*_amd64.deb)
scenario=/tmp/one-printer-ready.json
# scripts/lib, copied in beside this script.
. "$(dirname "$0")/lib/check.sh"
check_output=/tmp/check.out
check_output_lines=20
. "$(dirname "$0")/lib/wait-for.sh"
# setpriv and env exec the program itself (no shell or su in between), so signals reach it.
user_command="setpriv --reuid=tester --regid=tester --init-groups env -i HOME=/home/tester
              PATH=/usr/bin:/bin LANG=C.UTF-8"
# shellcheck disable=SC2086 # the words of the command
as_user() { $user_command "$@"; }

export DEBIAN_FRONTEND=noninteractive
check "apt installs the package and its dependencies" \
  apt-get install -y -q --no-install-recommends "$deb"
if ! dpkg-query -W viruzu-fwup >/dev/null 2>&1; then
  echo "FAIL: nothing more to check without the package"
  exit 1
fi
dpkg -L viruzu-fwup >/tmp/files
useradd --create-home tester

check "udev rule in /usr/lib/udev/rules.d" test -f /usr/lib/udev/rules.d/70-viruzu-fwup.rules
check "desktop entry, icons and metainfo" test -f /usr/share/applications/viruzu-fwup.desktop \
  -a -f /usr/share/icons/hicolor/scalable/apps/viruzu-fwup.svg \
  -a -f /usr/share/icons/hicolor/256x256/apps/viruzu-fwup.png \
  -a -f /usr/share/metainfo/com.viruzu.fwup.metainfo.xml

if [ -x /usr/bin/viruzu-fwup-cli ]; then
  cli_version() { as_user viruzu-fwup-cli --version | grep -F "$version"; }
  check "viruzu-fwup-cli --version as a user names $version" cli_version
  cli_list() { as_user VIRUZU_FWUP_EMULATE=$scenario viruzu-fwup-cli list | grep -F USB001; }
  check "viruzu-fwup-cli list as a user shows the simulated printer" cli_list
  # /usr/bin is not the user's to write: the log goes to the user's state directory, and a failed
  # run says so.
  log=/home/tester/.local/state/viruzu-fwup/Tool.log
  cli_names_log() {
    status=0
    as_user VIRUZU_FWUP_EMULATE=/tmp/bad-crc.json viruzu-fwup-cli upgrade >/tmp/cli.out 2>&1 ||
      status=$?
    cat /tmp/cli.out
    [ "$status" -eq 7 ] && grep -qF "$log" /tmp/cli.out && grep -q . "$log"
  }
  check "a failed run as a user writes and names $log" cli_names_log
  # Root could write /usr/bin, which belongs to the package manager: its log goes to /var/log.
  root_log=/var/log/viruzu-fwup/Tool.log
  cli_root_log() {
    status=0
    VIRUZU_FWUP_EMULATE=/tmp/bad-crc.json viruzu-fwup-cli upgrade >/tmp/cli.out 2>&1 || status=$?
    cat /tmp/cli.out
    [ "$status" -eq 7 ] && grep -qF "$root_log" /tmp/cli.out && grep -q . "$root_log" &&
      [ ! -e /usr/bin/Tool.log ]
  }
  check "a failed run as root writes and names $root_log, nothing in /usr/bin" cli_root_log
fi

# The window program, against the simulated printer, on Qt's offscreen display; SIGTERM asks it to
# close as the close button would.
window_ended() { ! kill -0 "$pid" 2>/dev/null; }
window_runs() {
  # shellcheck disable=SC2086
  (exec $user_command QT_QPA_PLATFORM=offscreen VIRUZU_FWUP_EMULATE=$scenario viruzu-fwup) &
  pid=$!
  sleep 3
  kill -0 "$pid" || return 1
  kill -TERM "$pid"
  if ! wait_for 10 window_ended; then
    # Left running, it would outlive the root and hold its output open.
    kill -KILL "$pid"
    wait "$pid"
    echo "still running 10 s after SIGTERM"
    return 1
  fi
  status=0
  wait "$pid" || status=$?
  echo "exit status $status"
  [ "$status" -eq 0 ]
}
check "viruzu-fwup runs as a user and closes on request" window_runs

check "apt removes the package" apt-get purge -y -q viruzu-fwup
files_gone() {
  left=0
  while read -r f; do
    if [ -e "$f" ] && [ ! -d "$f" ]; then
      echo "left behind: $f"
      left=1
    fi
  done </tmp/files
  if [ -e /var/log/viruzu-fwup ]; then
    echo "left behind: /var/log/viruzu-fwup"
    left=1
  fi
  [ "$left" -eq 0 ] && ! dpkg-query -W viruzu-fwup
}
check "no file of the package is left" files_gone

[ "$failed" -eq 0 ]
