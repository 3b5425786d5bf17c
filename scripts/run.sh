#!/usr/bin/env bash
# Builds viruzu-fwup for Linux and starts it.
#
#   bash scripts/run.sh
#
# When no supported printer (USB 5a7c:b101 or 5a7c:b102) is attached, the program talks to the
# simulated printer of scenarios/one-printer-ready.json instead. VIRUZU_FWUP_EMULATE, when set,
# decides: a scenario file to use that one, or empty (VIRUZU_FWUP_EMULATE=) for the USB printers.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) the window opens in a virtual X server.
set -euo pipefail

caller_dir=$PWD
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux -j "$(nproc)" --target viruzu-fwup

program="$root/build/linux/src/app/qt/viruzu-fwup"

printer_attached() {
  local dev
  for dev in /sys/bus/usb/devices/*; do
    [ -r "$dev/idVendor" ] && [ -r "$dev/idProduct" ] || continue
    if [ "$(cat "$dev/idVendor")" = 5a7c ]; then
      case $(cat "$dev/idProduct") in b101 | b102) return 0 ;; esac
    fi
  done
  return 1
}

if [ -z "${VIRUZU_FWUP_EMULATE+set}" ] && ! printer_attached; then
  VIRUZU_FWUP_EMULATE="$root/scenarios/one-printer-ready.json"
fi
if [ -n "${VIRUZU_FWUP_EMULATE:-}" ]; then
  # A relative scenario path means relative to where the script was started.
  case $VIRUZU_FWUP_EMULATE in
    /*) ;;
    *) VIRUZU_FWUP_EMULATE="$caller_dir/$VIRUZU_FWUP_EMULATE" ;;
  esac
  export VIRUZU_FWUP_EMULATE
  echo "run: simulated printer from $VIRUZU_FWUP_EMULATE"
else
  unset VIRUZU_FWUP_EMULATE
  echo "run: using the printers attached over USB"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; the window opens in a virtual X server (Ctrl+C ends the program)"
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$program"
fi
exec "$program"
