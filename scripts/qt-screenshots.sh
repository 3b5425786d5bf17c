#!/usr/bin/env bash
# Builds the Linux preset and saves pictures of the Qt window for people to check layout, fonts
# and reading order:
#
#   bash scripts/qt-screenshots.sh
#
# build/screenshots/qt-<language>-<look>.png for English, Italian, Turkish, Russian and Hebrew
# (looks: idle, transfer-40, success, failure, not-ready, and the question dialog), drawn on Qt's
# offscreen platform. Where Xvfb and ImageMagick are installed it also starts the real program
# against a simulated printer in a virtual X server and saves that screen as
# build/screenshots/qt-program-idle.png, then closes the program as a session end would.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
exec </dev/null

bash scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux -j "$(nproc)" --target fwup_qt_screenshots viruzu-fwup

out="$root/build/screenshots"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$root/build/linux/tests/ui/qt/fwup_qt_screenshots" "$out"

if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v import >/dev/null 2>&1; then
  echo "qt-screenshots: xvfb-run or ImageMagick's import missing; no picture of the program"
  exit 0
fi

# A runtime directory of its own, so that a copy the user is running does not take this start
# for a second instance.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
cat >"$runtime/shoot.sh" <<'SHOT'
#!/usr/bin/env bash
set -euo pipefail
"$1" &
pid=$!
# The window is up once the single-instance socket exists and the first frame has been drawn.
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/Viruzu__Firmware_Upgrade_Tool_FW_.socket" ] && break
  sleep 0.1
done
sleep 1
import -window root "$2"
kill -TERM "$pid"
wait "$pid"
SHOT
XDG_RUNTIME_DIR="$runtime" VIRUZU_FWUP_EMULATE="$root/scenarios/one-printer-ready.json" \
  xvfb-run -a -s "-screen 0 640x520x24" bash "$runtime/shoot.sh" \
  "$root/build/linux/src/app/qt/viruzu-fwup" "$out/qt-program-idle.png"
echo "saved $out/qt-program-idle.png (the program closed with status 0)"
