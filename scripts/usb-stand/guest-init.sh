#!/bin/busybox sh
# The guest's init: loads the USB modules, then runs every case against printer gadgets.
/bin/busybox --install -s /bin
export PATH=/bin:/stand/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
# The initramfs has no /dev/console of its own; take the serial console now that devtmpfs is up.
exec 0</dev/console 1>/dev/console 2>&1
mount -t tmpfs tmpfs /tmp
mkdir -p /dev/pts
mount -t devpts devpts /dev/pts

for module in $(cat /stand/modules); do
    case $module in
        */dummy_hcd.ko) insmod /lib/modules/$module num=3 ;;
        *) insmod /lib/modules/$module ;;
    esac || echo "stand: FAIL insmod $module"
done
mount -t configfs configfs /sys/kernel/config
# /run/lock as every distribution's boot makes it (the printers' locks are their device nodes).
mkdir -p /run/udev /lib/systemd /etc/udev /run/lock
chmod 1777 /run/lock
ln -s /bin/udevadm /lib/systemd/systemd-udevd
/lib/systemd/systemd-udevd --daemon || echo "stand: FAIL udevd did not start"
echo "stand: note modules loaded $(cut -d' ' -f1 /proc/uptime) s after boot"

# scripts/lib/wait-for.sh, copied in by scripts/usb-stand.sh.
. /stand/wait-for.sh

ok() { echo "stand: ok $*"; }
fail() { echo "stand: FAIL $*"; }
note() { echo "stand: note $*"; }

# The host-side sysfs name of the device with this serial (e.g. 1-1), after waiting for it.
device_with_serial() { wait_for 20 device_with_serial_now "$1"; }
device_with_serial_now() {
    for d in /sys/bus/usb/devices/*; do
        if [ -f "$d/serial" ] && [ "$(cat "$d/serial")" = "$1" ]; then
            basename "$d"
            return 0
        fi
    done
    return 1
}

# Waits until usblp is bound to interface 0 of the device ($1).
usblp_bound() { wait_for 10 test -e "/sys/bus/usb/drivers/usblp/$1:1.0"; }

# plug NAME SCENARIO UDC [gadget options...]: starts a printer gadget and waits until the host
# has enumerated it and usblp has bound to it. Prints the host-side device name. The gadget's
# output goes to a file: called as $(plug ...), an inherited stdout would hold the caller.
plug() {
    name=$1 scenario=$2 udc=$3
    shift 3
    printer-gadget --scenario "/stand/scenarios/$scenario" --udc "$udc" --name "$name" \
        --report "/tmp/$name.report" "$@" >"/tmp/$name.err" 2>&1 &
    echo $! >"/tmp/$name.pid"
    serial=$(sed -n 's/.*\\\\\([^"\\]*\)".*/\1/p' "/stand/scenarios/$scenario" | head -n 1)
    device=$(device_with_serial "$serial") || { cat "/tmp/$name.err" >&2; return 1; }
    usblp_bound "$device" || return 1
    echo "$device"
}

unplug() {
    pid=$(cat "/tmp/$1.pid")
    kill "$pid" 2>/dev/null
    wait_for 5 ended "$pid" && return 0
    kill -9 "$pid" 2>/dev/null
    return 1
}
ended() { ! kill -0 "$1" 2>/dev/null; }

# The console program; its whole output stays in /tmp/cli.out, the last line is the result.
cli() {
    timeout 180 viruzu-fwup-cli "$@" >/tmp/cli.out 2>/tmp/cli.err
}
result_line() { grep '^{"result"' /tmp/cli.out | tail -n 1; }
# has_result RESULT CODE: the result line names RESULT with exit code CODE.
has_result() { result_line | grep -q "^{\"result\": \"$1\", \"exitCode\": $2,"; }
show_cli() { cat /tmp/cli.out /tmp/cli.err; }

report_field() { sed -n "s/^$2 //p" "/tmp/$1.report"; }
jobs_of() { grep -c "^job $2 " "/tmp/$1.report"; }

# Notes in /tmp/detached when interface 0 of device $1 is seen without usblp, until
# /tmp/stop-watch appears.
watch_usblp() {
    rm -f /tmp/detached /tmp/stop-watch
    while [ ! -e /tmp/stop-watch ]; do
        [ -e "/sys/bus/usb/drivers/usblp/$1:1.0" ] || touch /tmp/detached
        sleep 0.05
    done
}

# upgrade_case NAME SCENARIO PACKAGE TITLE: a whole upgrade that must succeed with PACKAGE
# arriving whole, usblp detached during the run and bound again after it.
upgrade_case() {
    if ! device=$(plug "$1" "$2" dummy_udc.0); then
        fail "$4: the printer gadget did not enumerate"
        return
    fi
    watch_usblp "$device" >/dev/null 2>&1 &
    rm -f /stand/bin/Tool.log
    cli upgrade --json; rc=$?
    touch /tmp/stop-watch
    wait $!
    want="job firmware $(usb-stand-job-digest "/stand/test-package-$3.bin")"
    if [ $rc -ne 0 ] || ! has_result succeeded 0; then
        fail "$4: exit $rc, $(result_line)"
        show_cli
    elif ! grep -qx "$want" "/tmp/$1.report"; then
        fail "$4: the gadget did not receive package $3 whole ($want)"
        cat "/tmp/$1.report"
    elif [ ! -e /tmp/detached ]; then
        fail "$4: usblp stayed bound during the run"
    elif ! usblp_bound "$device"; then
        fail "$4: usblp is not bound again after the run"
    else
        ok "$4"
    fi
    unplug "$1" || fail "$4: the gadget did not end"
}

if grep -q stand=throughput /proc/cmdline; then
    if plug p0 one-printer-ready.json dummy_udc.0 >/dev/null; then
        if timeout 400 usb-stand-throughput 5 >/tmp/throughput 2>/tmp/notices; then
            sed 's/^/stand: note /' /tmp/throughput
            ok "throughput: measured"
        else
            cat /tmp/throughput /tmp/notices /stand/bin/Tool.log /tmp/p0.report
            fail "throughput: a transfer failed or took too long"
        fi
    else
        fail "throughput: the printer gadget did not enumerate"
    fi
    unplug p0
    echo "stand: end"
    poweroff -f
fi


# --- check: status, version and security record over the real stack ---
if device=$(plug p0 one-printer-ready.json dummy_udc.0); then
    cli check --json; rc=$?
    if [ $rc -eq 0 ] && has_result succeeded 0 &&
       result_line | grep -q '"firmware": "older", "security": "valid", "package": 3000' &&
       [ "$(jobs_of p0 firmware)" = 0 ] && usblp_bound "$device"; then
        ok "check: status, version and security record through usblp's interface, usblp bound again"
    else
        fail "check: exit $rc, $(result_line)"
        show_cli; cat /tmp/p0.report
    fi
    unplug p0 || fail "check: the gadget did not end"
else
    fail "check: the printer gadget did not enumerate with usblp bound"
    cat /tmp/p0.err
fi

if plug p1 encrypted.json dummy_udc.0 >/dev/null; then
    cli check --json; rc=$?
    if [ $rc -eq 0 ] && result_line | grep -q '"security": "valid", "package": 3001'; then
        ok "encrypted: check says the security record asks for package 3001"
    else
        fail "encrypted: check exit $rc, $(result_line)"
        show_cli
    fi
    unplug p1
else
    fail "encrypted: the printer gadget did not enumerate"
fi

# --- arrivals: the window's watch hears a printer plugged in and pulled, asking it nothing ---
rm -f /tmp/arrivals.out
timeout 60 usb-stand-arrivals 2 50 >/tmp/arrivals.out 2>&1 &
arrivals_pid=$!
if ! wait_for 10 grep -q '^watching' /tmp/arrivals.out; then
    fail "arrivals: no watch ($(cat /tmp/arrivals.out))"
elif ! plug w0 one-printer-ready.json dummy_udc.0 >/dev/null; then
    fail "arrivals: the printer gadget did not enumerate"
elif ! wait_for 2 grep -q '^changes 1$' /tmp/arrivals.out; then
    fail "arrivals: the plug-in was not seen within 2 s ($(tr '\n' ' ' </tmp/arrivals.out))"
elif ! unplug w0 || ! wait_for 2 grep -q '^changes 2$' /tmp/arrivals.out; then
    fail "arrivals: the pull was not seen within 2 s ($(tr '\n' ' ' </tmp/arrivals.out))"
elif { [ -e /tmp/w0.report ] && [ "$(report_field w0 received)" != 0 ]; } ||
     grep -q ' before any' /tmp/arrivals.out; then
    fail "arrivals: the printer received bytes, or the watch counted before the plug-in"
    cat /tmp/arrivals.out /tmp/w0.report
else
    ok "arrivals: the watch counted the plug-in and the pull, each within 2 s"
fi
unplug w0 2>/dev/null
wait "$arrivals_pid" 2>/dev/null

# --- whole upgrades ---
upgrade_case u0 one-printer-ready.json 3000 \
    "upgrade: succeeded, package 3000 arrived whole, usblp detached during the run and bound after"
upgrade_case u1 encrypted.json 3001 "encrypted: package 3001 arrived whole"

# --- the printer pulled (unbound from its UDC) in the middle of the firmware job ---
if plug u2 stand-unplug.json dummy_udc.0 >/dev/null; then
    rm -f /stand/bin/Tool.log
    start=$(cut -d. -f1 /proc/uptime)
    cli upgrade --json; rc=$?
    took=$(( $(cut -d. -f1 /proc/uptime) - start ))
    if [ $rc -ne 9 ] || ! has_result failed 9; then
        fail "unplug: exit $rc after $took s, $(result_line)"
        show_cli
    elif [ "$(report_field u2 unplugged)" != 1 ] || [ "$(report_field u2 received)" != 200000 ]; then
        fail "unplug: the gadget was not pulled at byte 200000"
        cat /tmp/u2.report
    elif ! grep -q "Send Elf failed" /stand/bin/Tool.log; then
        fail "unplug: Tool.log has no failure line"
        cat /stand/bin/Tool.log
    else
        ok "unplug: failed (9) after $took s, Tool.log has the failure, the program ended"
    fi
    unplug u2
else
    fail "unplug: the printer gadget did not enumerate"
fi

# --- the bulk OUT endpoint stalls in the middle of the firmware job ---
if device=$(plug u3 one-printer-ready.json dummy_udc.0 --stall-at-byte 150000); then
    cli upgrade --json; rc=$?
    if [ $rc -ne 9 ] || ! has_result failed 9; then
        fail "stall: exit $rc, $(result_line)"
        show_cli
    elif [ "$(report_field u3 stalled)" != 1 ]; then
        fail "stall: the gadget never halted its OUT endpoint"
    elif ! usblp_bound "$device"; then
        fail "stall: usblp is not bound again after the run"
    else
        ok "stall: failed (9), the program ended, usblp bound again"
    fi
    unplug u3
else
    fail "stall: the printer gadget did not enumerate"
fi

# --- two console programs on one printer: the second starts while the first holds it ---
# Newer firmware: the first run waits for the printer to flash after the transfer, holding the
# printer's lock; the second must end with 12 and the gadget get exactly one firmware job.
if plug l0 newer-version.json dummy_udc.0 >/dev/null; then
    rm -f /tmp/l-first.out /tmp/l-first.rc
    (timeout 180 viruzu-fwup-cli upgrade --json >/tmp/l-first.out 2>&1
     echo $? >/tmp/l-first.rc) &
    wait_for 30 grep -q '"step": "transfer"' /tmp/l-first.out
    cli upgrade --json; rc=$?
    wait_for 180 test -f /tmp/l-first.rc
    first=$(cat /tmp/l-first.rc 2>/dev/null)
    if [ $rc -eq 12 ] && has_result in-use 12 && [ "$first" = 0 ] &&
       [ "$(jobs_of l0 firmware)" = 1 ]; then
        ok "in use: the second program ended 12, the first succeeded, one firmware job arrived"
    else
        fail "in use: second exit $rc ($(result_line)), first exit $first," \
             "firmware jobs $(jobs_of l0 firmware)"
        show_cli; cat /tmp/l-first.out
    fi
    unplug l0
else
    fail "in use: the printer gadget did not enumerate"
fi

# --- a printer plugged in on a bus that sorts ahead while the same-version question is open ---
# The console program asks on a terminal (script gives it one); the newcomer enumerates while the
# question waits, then the answer is Yes. No byte of firmware may reach either printer.
if plug q0 same-version.json dummy_udc.1 >/dev/null; then
    rm -f /tmp/answer /tmp/q.out /tmp/q.rc
    mkfifo /tmp/answer
    (timeout 180 script -q -e -c "viruzu-fwup-cli upgrade --json" /dev/null \
         </tmp/answer >/tmp/q.out 2>&1
     echo $? >/tmp/q.rc) &
    exec 3>/tmp/answer
    wait_for 60 grep -q '/No\]' /tmp/q.out
    grep -q '/No\]' /tmp/q.out || fail "plugged ahead: the question was never asked"
    plug q1 stand-second.json dummy_udc.0 >/dev/null || fail "plugged ahead: no second printer"
    echo y >&3
    wait_for 180 test -f /tmp/q.rc
    exec 3>&-
    rc=$(cat /tmp/q.rc 2>/dev/null)
    result=$(tr -d '\r' </tmp/q.out | grep '^{"result"' | tail -n 1)
    sent0=$(jobs_of q0 firmware) sent1=$(jobs_of q1 firmware)
    if [ "$rc" = 8 ] && [ "$sent0" = 0 ] && [ "$sent1" = 0 ] &&
       echo "$result" | grep -q '^{"result": "printer-lost", "exitCode": 8,'; then
        ok "plugged ahead: printer-lost (8), nothing sent to either printer"
    else
        fail "plugged ahead: exit $rc, '$result', firmware jobs: chosen printer $sent0, newcomer $sent1"
        tr -d '\r' </tmp/q.out
    fi
else
    fail "plugged ahead: the printer gadget did not enumerate"
fi
unplug q0; unplug q1

# --- CUPS's usb backend lists the printers as cupsd would; our queue lookup maps its URI ---
# The second printer's IEEE 1284 serial differs from its USB serial string.
if plug p5 one-printer-ready.json dummy_udc.0 >/dev/null &&
   plug p2 stand-second.json dummy_udc.1 --device-serial ID1284-77 >/dev/null; then
    out=$(timeout 60 /usr/lib/cups/backend/usb 2>/dev/null); rc=$?
    uri=$(echo "$out" | sed -n 's/^direct \(usb:\/\/Viruzu\/TQ3800HKS[^ ]*\).*/\1/p' | head -n 1)
    port=$(timeout 60 usb-stand-queue-port "$uri" 2>/dev/null)
    if [ -n "$uri" ] && [ "$port" = USB002 ]; then
        ok "cups backend: lists $uri, which the queue lookup maps to USB002"
    else
        fail "cups backend: exit $rc, URI '$uri' maps to '$port', not USB002"
        echo "$out"
    fi
else
    fail "cups backend: the printer gadgets did not enumerate"
fi
unplug p2; unplug p5

# For the record, not a case: which serial CUPS puts into the URI of a printer without a USB
# serial string.
printer-gadget --scenario /stand/scenarios/stand-second.json --udc dummy_udc.2 --name p6 \
    --report /tmp/p6.report --usb-serial "" --device-serial ID1284-99 >/tmp/p6.err 2>&1 &
echo $! >/tmp/p6.pid
sleep 3
uri=$(timeout 60 /usr/lib/cups/backend/usb 2>/dev/null |
      sed -n 's/^direct \(usb:\/\/Viruzu\/TQ3800HKS[^ ]*\).*/\1/p' | head -n 1)
note "cups backend, printer without a USB serial string: $uri," \
     "queue lookup gives '$(timeout 60 usb-stand-queue-port "$uri" 2>/dev/null)'"
unplug p6

# --- the IEEE 1284 device ID read as CUPS's usb backend reads it ---
# Every GET_DEVICE_ID reply of the unit tests' table, sent by a printer with the USB serial string
# SER0001 and by one without a USB serial string: CUPS's backend lists a URI for each, and
# usb-stand-queue-port checks it against our reader and the table. CUPS names the printer by its
# USB serial string, and by no serial without one, whatever the ID says; the notes keep each URI,
# whose make shows whether CUPS read the ID. (plug and the helpers keep their variables in the
# shell's one scope, hence the id_ names.)
usb-stand-queue-port --device-id-cases >/tmp/device-id-cases
id_failed=0 id_count=0
# plug_serialless NAME HEX: a printer gadget without a USB serial string, sending reply HEX.
plug_serialless() {
    printer-gadget --scenario /stand/scenarios/one-printer-ready.json --udc dummy_udc.0 \
        --name "$1" --report "/tmp/$1.report" --usb-serial "" --device-id-hex "$2" \
        >"/tmp/$1.err" 2>&1 &
    echo $! >"/tmp/$1.pid"
    id_device=$(wait_for 20 viruzu_device_now) || return 1
    usblp_bound "$id_device"
}
viruzu_device_now() {
    for d in /sys/bus/usb/devices/*; do
        if [ "$(cat "$d/idVendor" 2>/dev/null)" = 5a7c ]; then
            basename "$d"
            return 0
        fi
    done
    return 1
}
while read -r id_case id_hex; do
    for id_usb in SER0001 none; do
        id_count=$((id_count + 1))
        if [ "$id_usb" = none ]; then
            plug_serialless "d$id_count" "$id_hex"
        else
            plug "d$id_count" one-printer-ready.json dummy_udc.0 --device-id-hex "$id_hex" >/dev/null
        fi || {
            fail "device id $id_case (USB serial $id_usb): the printer gadget did not enumerate"
            id_failed=1
            unplug "d$id_count"
            continue
        }
        id_uri=$(timeout 60 /usr/lib/cups/backend/usb 2>/dev/null |
                 sed -n 's/^direct \(usb:\/\/[^ ]*\).*/\1/p' | head -n 1)
        id_seen=$(timeout 60 usb-stand-queue-port --device-id-check "$id_case" "$id_uri" 2>&1) || {
            id_failed=1
            fail "device id $id_case (USB serial $id_usb): see the note below"
        }
        note "device id $id_case (USB serial $id_usb): CUPS lists '$id_uri'; $id_seen"
        unplug "d$id_count" || fail "device id $id_case: the gadget did not end"
    done
done </tmp/device-id-cases
if [ "$id_failed" = 0 ] && [ "$id_count" -gt 0 ]; then
    ok "device id: our reader takes the table's serial from all $id_count printers, CUPS's URI maps to USB001"
fi

# --- two printers at once: list, and check of the second ---
if plug p3 one-printer-ready.json dummy_udc.0 >/dev/null &&
   plug p4 stand-second.json dummy_udc.1 >/dev/null; then
    cli list; rc=$?
    if [ $rc -eq 0 ] && grep -q '^USB001  Viruzu TQ3800HKR Series  ' /tmp/cli.out &&
       grep -q '^USB002  Viruzu TQ3800HKS Series  ' /tmp/cli.out; then
        ok "two printers: list names them in bus order as USB001 and USB002"
    else
        fail "two printers: list exit $rc, not both listed in order"
        show_cli
    fi
    cli check --port USB002 --json; rc=$?
    if [ $rc -eq 0 ] && has_result succeeded 0 &&
       result_line | grep -q '"port": "USB002", "model": "Viruzu TQ3800HKS Series"' &&
       [ "$(jobs_of p4 version)" = 1 ] && [ "$(jobs_of p3 version)" = 0 ]; then
        ok "two printers: check --port USB002 asks the second printer only"
    else
        fail "two printers: check exit $rc, $(result_line)"
        show_cli; cat /tmp/p3.report /tmp/p4.report
    fi
else
    fail "two printers: the printer gadgets did not enumerate"
fi
unplug p3; unplug p4

# Centiseconds since boot, for the times of the two --all runs.
uptime_cs() { set -- $(cat /proc/uptime); echo "${1%.*}${1#*.}"; }
seconds_since() { t=$(( $(uptime_cs) - $1 )); echo "$((t / 100)).$((t / 10 % 10))$((t % 10))"; }

# --- upgrade --all: two printers, each in a whole run of its own, each receives its whole job ---
if plug a0 one-printer-ready.json dummy_udc.0 >/dev/null &&
   plug a1 stand-second.json dummy_udc.1 >/dev/null; then
    rm -f /stand/bin/Tool.log
    start=$(uptime_cs)
    cli upgrade --all --json; rc=$?
    all_took=$(seconds_since "$start")
    want="job firmware $(usb-stand-job-digest /stand/test-package-3000.bin)"
    runs=$(grep -c '^{"result": "succeeded", "exitCode": 0,' /tmp/cli.out)
    if [ $rc -eq 0 ] && has_result summary 0 && [ "$runs" = 2 ] &&
       [ "$(jobs_of a0 firmware)" = 1 ] && [ "$(jobs_of a1 firmware)" = 1 ] &&
       grep -qx "$want" /tmp/a0.report && grep -qx "$want" /tmp/a1.report; then
        ok "all: upgrade --all sent package 3000 whole to both printers, one run each, exit 0"
    else
        fail "all: exit $rc, $runs runs succeeded, $(result_line)"
        show_cli; cat /tmp/a0.report /tmp/a1.report
    fi
else
    fail "all: the printer gadgets did not enumerate"
fi
unplug a0; unplug a1

# --- upgrade --all --parallel: the same two printers (plugged in afresh), each run in a copy of
# the program at the same time; each must still receive exactly one whole job ---
if plug b0 one-printer-ready.json dummy_udc.0 >/dev/null &&
   plug b1 stand-second.json dummy_udc.1 >/dev/null; then
    rm -f /stand/bin/Tool.log
    start=$(uptime_cs)
    cli upgrade --all --parallel --json; rc=$?
    parallel_took=$(seconds_since "$start")
    want="job firmware $(usb-stand-job-digest /stand/test-package-3000.bin)"
    runs=$(grep -c '^{"result": "succeeded", "exitCode": 0,' /tmp/cli.out)
    if [ $rc -eq 0 ] && has_result summary 0 && [ "$runs" = 2 ] &&
       [ "$(jobs_of b0 firmware)" = 1 ] && [ "$(jobs_of b1 firmware)" = 1 ] &&
       grep -qx "$want" /tmp/b0.report && grep -qx "$want" /tmp/b1.report; then
        ok "parallel: upgrade --all --parallel sent package 3000 whole to both printers," \
           "one job each, exit 0"
        note "parallel: two printers, upgrade --all ${all_took:-?} s," \
             "upgrade --all --parallel $parallel_took s"
    else
        fail "parallel: exit $rc, $runs runs succeeded, $(result_line)"
        show_cli; cat /tmp/b0.report /tmp/b1.report
    fi
else
    fail "parallel: the printer gadgets did not enumerate"
fi
unplug b0; unplug b1

echo "stand: end"
poweroff -f
