#!/usr/bin/env bash
# Runs the CUPS print-queue tests against a real cupsd of their own.
#
#   bash scripts/cupsd-test.sh [preset]     # preset: linux (default) or linux-asan, already built
#
# Starts cupsd (Debian cups-daemon) on 127.0.0.1 and a free port, with its configuration, spool,
# state, cache and logs under build/cupsd-test/, no browsing, no sharing and no web interface, so
# it neither touches nor meets the machine's own printing system. Creates raw queues on usb://
# device URIs: two for one printer (serial SER0001, the printer the tests treat as connected on
# USB001), as a reinstalled driver leaves them, and one for a printer that is not connected
# (SER0002), and submits one held job to each. Then
# runs the test binary's CUPS tests with CUPS_SERVER pointing at this cupsd. Whatever happens, the
# jobs are cancelled and cupsd is stopped on exit. Works as root or as an ordinary user.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/daemon.sh
source "$root/scripts/lib/daemon.sh"
preset=${1:-linux}
tests="$root/build/$preset/tests/fwup_tests"
require_built cupsd-test "$tests" "$preset"
for tool in cupsd lpadmin lp lpstat cancel python3; do
  if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "/usr/sbin/$tool" ]; then
    echo "cupsd-test: $tool is missing (bash scripts/install-deps.sh)" >&2
    exit 1
  fi
done
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)

dir="$root/build/cupsd-test"
rm -rf "$dir"
mkdir -p "$dir"/{conf,spool/tmp,run,cache,log}

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server="127.0.0.1:$port"
queue=fwup-test-hkr
second_queue=fwup-test-hkr-copy
other_queue=fwup-test-hks

if [ "$(id -u)" -eq 0 ]; then
  # cupsd drops to User/Group (lp) for its helpers and never runs them as root; the members of
  # SystemGroup may administer it, and that group may not be Group.
  run_as="User lp
Group lp
SystemGroup root"
else
  # An unprivileged cupsd runs everything as the user who started it.
  run_as="SystemGroup $(id -gn)"
fi

cat >"$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
StateDir $dir/run
CacheDir $dir/cache
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
DataDir /usr/share/cups
ServerBin /usr/lib/cups
$run_as
CONF

# Anyone on the loopback may do anything: the server lives for one test run and listens nowhere
# else, and the tests hold, list and cancel jobs without passwords.
cat >"$dir/conf/cupsd.conf" <<CONF
Listen $server
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
LogLevel warn
MaxLogSize 0
DefaultAuthType None
<Location />
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

stop() {
  local rc=$?
  if daemon_running; then
    timeout 10 cancel -h "$server" -a "$queue" "$second_queue" "$other_queue" >/dev/null 2>&1 || true
  fi
  daemon_stop
  if [ "$rc" -ne 0 ] && [ -s "$dir/log/error_log" ]; then
    echo "cupsd-test: cupsd error log:" >&2
    tail -n 20 "$dir/log/error_log" >&2
  fi
  exit "$rc"
}
trap stop EXIT
trap 'exit 130' INT TERM

"$cupsd" -t -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >"$dir/log/config-check" 2>&1 || {
  cat "$dir/log/config-check" >&2
  exit 1
}
daemon_start "$dir/log/cupsd-output" \
  "$cupsd" -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf"
cupsd_answers() { timeout 5 lpstat -h "$server" -r 2>/dev/null | grep -q "is running"; }
daemon_ready 10 "cupsd-test: cupsd did not answer on $server" cupsd_answers || exit 1

# Raw queues (no driver): the jobs stay held, so nothing ever runs the usb backend.
timeout 10 "$lpadmin" -h "$server" -p "$queue" -E \
  -v 'usb://Viruzu/TQ3800HKR%20Series?serial=SER0001'
timeout 10 "$lpadmin" -h "$server" -p "$second_queue" -E \
  -v 'usb://Viruzu/TQ3800HKR%20Series?serial=SER0001'
timeout 10 "$lpadmin" -h "$server" -p "$other_queue" -E \
  -v 'usb://Viruzu/TQ3800HKS%20Series?serial=SER0002&interface=0'

printf 'fwup queue test\n' >"$dir/job.txt"
timeout 10 lp -h "$server" -d "$queue" -H hold -o raw -t fwup-held "$dir/job.txt"
timeout 10 lp -h "$server" -d "$second_queue" -H hold -o raw -t fwup-held-copy "$dir/job.txt"
timeout 10 lp -h "$server" -d "$other_queue" -H hold -o raw -t fwup-held-other "$dir/job.txt"
timeout 10 lpstat -h "$server" -v -o

# A filter that matches nothing, or tests that skip, would pass without testing anything.
CUPS_SERVER="$server" FWUP_CUPSD_TEST_QUEUE="$queue" FWUP_CUPSD_TEST_SECOND_QUEUE="$second_queue" \
  timeout 120 "$tests" --gtest_filter='CupsServerQueues.*:CupsQueueSource.*' | tee "$dir/log/tests"
if ! grep -q '^\[  PASSED  \] [1-9]' "$dir/log/tests" || grep -q '^\[  SKIPPED \]' "$dir/log/tests"; then
  echo "cupsd-test: the CUPS tests did not run" >&2
  exit 1
fi
