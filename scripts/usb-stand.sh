#!/usr/bin/env bash
# The USB stand: our programs against a real Linux USB stack. Boots Debian's own kernel under QEMU
# (TCG, no KVM needed) with an initramfs that holds busybox, our programs and their libraries,
# and the USB modules. In the guest, dummy_hcd joins a USB device controller to a host controller
# of the same kernel; build/linux/tools/printer-gadget plays a scenario printer on the device
# side through FunctionFS, and the host side sees a USB printer that usblp binds to, libusb
# opens and CUPS's usb backend lists.
#
#   bash scripts/usb-stand.sh               # the cases
#   bash scripts/usb-stand.sh --throughput  # the transfer's throughput (docs/performance.md)
#
# Prints one line per case and ends with "N passed, N failed"; exits non-zero when a case failed
# or the guest did not finish. Everything runs under a time limit (the whole guest: 540 s).
# Work files: build/usb-stand/ (the unpacked kernel package is kept and reused).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

stand=$root/build/usb-stand
guest_seconds=${USB_STAND_GUEST_SECONDS:-540}
mode=cases
# The throughput run keeps its own initramfs, build log and guest log, so it may run beside the cases.
work=""
if [ "${1:-}" = --throughput ]; then
    mode=throughput
    work=-throughput
fi
mkdir -p "$stand"

passed=0
failed=0
finish() {
    local rc=$?
    if [ "$passed" -eq 0 ] && [ "$failed" -eq 0 ] && [ "$rc" -ne 0 ]; then
        failed=1
        echo "usb-stand: FAIL set-up (exit code $rc)"
    fi
    echo "${passed} passed, ${failed} failed"
}
trap finish EXIT

bash scripts/install-deps.sh

# --- the kernel: Debian's linux-image-amd64, unpacked here, never installed on this machine ---
kernel_dir=$stand/kernel
if [ ! -f "$kernel_dir/.unpacked" ]; then
    package=$(apt-cache depends linux-image-amd64 |
              sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*\)$/\1/p' | head -n 1)
    if [ -z "$package" ]; then
        echo "usb-stand: apt-cache names no kernel package for linux-image-amd64" >&2
        exit 1
    fi
    rm -rf "$stand/debs" "$kernel_dir"
    mkdir -p "$stand/debs"
    # _apt cannot write into a build tree owned by another user; apt then fetches as the caller.
    (cd "$stand/debs" && timeout 300 apt-get download -q "$package")
    dpkg-deb -x "$stand"/debs/*.deb "$kernel_dir"
    touch "$kernel_dir/.unpacked"
fi
# udevd, so that libusb in the guest hears of devices plugged in while a program runs (its device
# list follows udev's events, as on a desktop).
udev_dir=$stand/udev
if [ ! -f "$udev_dir/.unpacked" ]; then
    rm -rf "$stand/udev-debs" "$udev_dir"
    mkdir -p "$stand/udev-debs"
    (cd "$stand/udev-debs" && timeout 300 apt-get download -q udev)
    dpkg-deb -x "$stand"/udev-debs/udev_*.deb "$udev_dir"
    touch "$udev_dir/.unpacked"
fi
kver=$(ls "$kernel_dir/lib/modules" | head -n 1)
modules_dir=$kernel_dir/lib/modules/$kver
if [ ! -f "$modules_dir/modules.dep" ]; then
    /sbin/depmod -b "$kernel_dir" "$kver"
fi

# --- our programs ---
programs=(viruzu-fwup-cli usb-stand-queue-port printer-gadget)
if [ "$mode" = cases ]; then
    build=build/linux
    if [ ! -f $build/build.ninja ]; then
        cmake --preset linux >/dev/null
    fi
else
    # Package 3000 at the shipped size; 3001 stays the small test package.
    build=build/usb-stand-throughput
    full=$stand/package-full-3000.bin
    if [ ! -f "$full" ]; then
        python3 scripts/make-test-package.py --payload-bytes 190590352 --seed 3000 "$full"
    fi
    cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
        -DFWUP_BUILD_TESTS=OFF -DFWUP_PACKAGE_3000="$full" >/dev/null
    programs=(printer-gadget usb-stand-throughput)
fi
if ! cmake --build $build -j "$(nproc)" --target "${programs[@]}" >"$stand/build$work.log" 2>&1; then
    cat "$stand/build$work.log"
    exit 1
fi

# --- the initramfs ---
tree=$stand/initramfs$work
rm -rf "$tree"
mkdir -p "$tree"/{bin,sbin,dev,proc,sys,tmp,run,etc,stand/bin,stand/scenarios,lib/modules}
cp /bin/busybox "$tree/bin/busybox"
for program in "${programs[@]}"; do
    if [ "$program" = viruzu-fwup-cli ]; then
        cp "$build/src/app/cli/$program" "$tree/stand/bin/"
    else
        cp "$build/tools/$program" "$tree/stand/bin/"
    fi
done
cp "$udev_dir/bin/udevadm" "$tree/bin/udevadm"
# util-linux's script gives the console program a terminal, so that it asks its question.
cp /usr/bin/script "$tree/stand/bin/script"
binaries=("$tree"/stand/bin/* "$tree/bin/udevadm")
# CUPS's usb backend, run in the guest as cupsd runs it to list devices.
mkdir -p "$tree/usr/lib/cups/backend"
cp /usr/lib/cups/backend/usb "$tree/usr/lib/cups/backend/usb"
binaries+=("$tree/usr/lib/cups/backend/usb")
for binary in "${binaries[@]}"; do
    ldd "$binary" | awk '/=> \// { print $3 } /^\t\/lib/ { print $1 }'
done | sort -u | while read -r library; do
    mkdir -p "$tree$(dirname "$library")"
    cp -L "$library" "$tree$library"
done
cp -L /lib64/ld-linux-x86-64.so.2 "$tree/lib64/" 2>/dev/null || true

# The modules in load order, each after the modules it needs (modules.dep).
wanted=(usb-common usbcore configfs udc-core libcomposite dummy_hcd usb_f_fs usblp)
python3 - "$modules_dir" "${wanted[@]}" >"$tree/stand/modules" <<'EOF'
import os, sys
base, wanted = sys.argv[1], sys.argv[2:]
deps = {}
for line in open(os.path.join(base, "modules.dep")):
    module, _, needs = line.partition(":")
    deps[module] = needs.split()
by_name = {os.path.basename(m).split(".ko")[0].replace("-", "_"): m for m in deps}
order = []
def add(module):
    for need in deps[module]:
        add(need)
    if module not in order:
        order.append(module)
for name in wanted:
    add(by_name[name.replace("-", "_")])
print("\n".join(order))
EOF
while read -r module; do
    mkdir -p "$tree/lib/modules/$(dirname "$module")"
    cp "$modules_dir/$module" "$tree/lib/modules/$module"
done <"$tree/stand/modules"

cp scenarios/*.json "$tree/stand/scenarios/"
# Scenarios of the stand: offsets inside the small test packages the linux preset embeds.
cat >"$tree/stand/scenarios/stand-unplug.json" <<'EOF'
{"description": "Pulled 200000 bytes into the firmware job.",
 "printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\STAND0001", "faults": {"unplugAtByte": 200000}}]}
EOF
cat >"$tree/stand/scenarios/stand-second.json" <<'EOF'
{"description": "A TQ3800HKS plugged in while another printer's run goes on.",
 "printers": [{"instanceId": "USB\\VID_5A7C&PID_B102\\STAND0002"}]}
EOF

# FNV-1a digests of the packages, as the gadget reports the jobs it received.
fnv() {
    python3 -c '
import sys
h = 14695981039346656037
data = open(sys.argv[1], "rb").read()
for b in data:
    h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
print("%016x" % h)' "$1"
}
for id in 3000 3001; do
    package=$build/firmware/test-package-$id.bin
    if [ -f "$package" ]; then
        fnv "$package" >"$tree/stand/package-$id.digest"
        stat -c %s "$package" >"$tree/stand/package-$id.size"
    fi
done

sed -n '/^# ---- guest ----$/,$p' "$0" | tail -n +2 >"$tree/init"
chmod +x "$tree/init"
(cd "$tree" && find . -print0 | cpio --null -o -H newc --quiet) | gzip -1 >"$stand/initramfs$work.gz"

# --- the guest ---
accel=tcg
log=$stand/guest$work.log
echo "usb-stand: booting $kver under QEMU ($accel), at most $guest_seconds s"
t0=$SECONDS
qemu_rc=0
memory=1024
if [ "$mode" = throughput ]; then
    memory=2048
fi
timeout -k 10 "$guest_seconds" qemu-system-x86_64 -accel "$accel" -m $memory -smp 2 \
    -display none -monitor none -serial stdio -no-reboot \
    -kernel "$kernel_dir/boot/vmlinuz-$kver" -initrd "$stand/initramfs$work.gz" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 stand=$mode" >"$log" 2>&1 || qemu_rc=$?
echo "usb-stand: guest ended after $((SECONDS - t0)) s (log: $log)"

while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in
        "stand: ok "*) passed=$((passed + 1)); echo "  ok   ${line#stand: ok }" ;;
        "stand: FAIL "*) failed=$((failed + 1)); echo "  FAIL ${line#stand: FAIL }" ;;
        "stand: note "*) echo "       ${line#stand: note }" ;;
    esac
done < <(tr -d '\000' <"$log")
if ! grep -q '^stand: end' "$log"; then
    failed=$((failed + 1))
    echo "  FAIL the guest did not finish (QEMU exit code $qemu_rc); last lines:"
    tail -n 20 "$log" | sed 's/^/       /'
fi
[ "$failed" -eq 0 ]
exit

# ---- guest ----
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
# /run/lock as every distribution's boot makes it: the printers' locks go there.
mkdir -p /run/udev /lib/systemd /etc/udev /run/lock
chmod 1777 /run/lock
ln -s /bin/udevadm /lib/systemd/systemd-udevd
/lib/systemd/systemd-udevd --daemon || echo "stand: FAIL udevd did not start"
echo "stand: note modules loaded $(cut -d' ' -f1 /proc/uptime) s after boot"

ok() { echo "stand: ok $*"; }
fail() { echo "stand: FAIL $*"; }
note() { echo "stand: note $*"; }

# The host-side sysfs name of the device with this serial (e.g. 1-1), after waiting for it.
device_with_serial() {
    for i in $(seq 100); do
        for d in /sys/bus/usb/devices/*; do
            if [ -f "$d/serial" ] && [ "$(cat "$d/serial")" = "$1" ]; then
                basename "$d"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# Waits until usblp is bound to interface 0 of the device ($1).
usblp_bound() {
    for i in $(seq 50); do
        [ -e "/sys/bus/usb/drivers/usblp/$1:1.0" ] && return 0
        sleep 0.2
    done
    return 1
}

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
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    return 1
}

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
    want="job firmware $(cat /stand/package-$3.size) $(cat /stand/package-$3.digest)"
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
    for i in $(seq 300); do grep -q '"step": "transfer"' /tmp/l-first.out && break; sleep 0.1; done
    cli upgrade --json; rc=$?
    for i in $(seq 900); do [ -f /tmp/l-first.rc ] && break; sleep 0.2; done
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
    for i in $(seq 300); do grep -q '/No\]' /tmp/q.out && break; sleep 0.2; done
    grep -q '/No\]' /tmp/q.out || fail "plugged ahead: the question was never asked"
    plug q1 stand-second.json dummy_udc.0 >/dev/null || fail "plugged ahead: no second printer"
    echo y >&3
    for i in $(seq 900); do [ -f /tmp/q.rc ] && break; sleep 0.2; done
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
    for i in $(seq 100); do
        for d in /sys/bus/usb/devices/*; do
            if [ "$(cat "$d/idVendor" 2>/dev/null)" = 5a7c ]; then
                usblp_bound "$(basename "$d")"
                return
            fi
        done
        sleep 0.2
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

echo "stand: end"
poweroff -f
