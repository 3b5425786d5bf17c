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
# Work files: build/usb-stand/ (the unpacked kernel package is kept and reused). This script
# builds and boots the guest; the guest's /init, which runs the cases, is usb-stand/guest-init.sh.
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
programs=(viruzu-fwup-cli usb-stand-queue-port usb-stand-job-digest printer-gadget
          usb-stand-arrivals)
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
python3 scripts/usb-stand/module-load-order.py "$modules_dir" "${wanted[@]}" >"$tree/stand/modules"
while read -r module; do
    mkdir -p "$tree/lib/modules/$(dirname "$module")"
    cp "$modules_dir/$module" "$tree/lib/modules/$module"
done <"$tree/stand/modules"

cp scenarios/*.json "$tree/stand/scenarios/"
# Scenarios of the stand: offsets inside the small test packages the linux preset embeds.
cp scripts/usb-stand/scenarios/*.json "$tree/stand/scenarios/"
# The packages the console program embeds: the guest holds each against what the gadget received.
if [ "$mode" = cases ]; then
    cp "$build"/firmware/test-package-{3000,3001}.bin "$tree/stand/"
fi

cp scripts/usb-stand/guest-init.sh "$tree/init"
cp scripts/lib/wait-for.sh "$tree/stand/wait-for.sh"
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
