#!/usr/bin/env bash
# Installs what viruzu-fwup needs to build and test on Debian 12 (bookworm).
#
# Idempotent: asks dpkg what is already there and only runs `apt-get update` and `apt-get install`
# when a package is missing, so a second run costs a second and needs neither root nor a network.
# Non-interactive (safe with no stdin, as in CI). Runs apt as root directly, otherwise through sudo.
set -euo pipefail

# The one list of the project's Debian packages. Add a package here, nowhere else.
packages=(
  # build
  cmake
  ninja-build
  g++
  pkg-config
  python3               # firmware package generator and layout check
  python3-jsonschema    # tests/cli: every line of the console program against its schema
  clang                 # scripts/fuzz.sh: the fuzz targets are built with clang++
  libclang-rt-14-dev    # scripts/fuzz.sh: libFuzzer and the sanitizer runtimes for clang 14
  # libraries and sources
  googletest            # /usr/src/googletest: built by every toolchain, MinGW included
  nlohmann-json3-dev    # scenario files
  libxxhash-dev         # the package digest the program checks (XXH3-128, used header-only)
  xxhash                # xxhsum: the build records each package's digest with it
  libusb-1.0-0-dev      # Linux interface source and channel
  libcups2-dev          # Linux print queues
  cups                  # the usb backend: cupsd refuses usb:// queues without it
  cups-daemon           # scripts/cupsd-test.sh: a real cupsd for the queue tests
  cups-client           # scripts/cupsd-test.sh: lpadmin, lp, lpstat, cancel
  dbus-daemon           # scripts/power-bus-test.sh: a private bus standing in for the system bus
  python3-dbusmock      # scripts/power-bus-test.sh: stand-ins for logind and UPower (python3-dbus)
  qt6-base-dev          # Linux user interface
  libbenchmark-dev      # bench/run.sh: Google Benchmark
  fonts-dejavu-core     # sans face of the Qt windows (Latin, Greek, Cyrillic, Hebrew, Arabic)
  fonts-liberation      # Liberation Serif: stands in for Times New Roman (Turkish, Russian, ...)
  fonts-wqy-microhei    # a small face with the Chinese characters, for the Chinese window
  fonts-noto-cjk        # Japanese, Korean and Traditional Chinese in their own regions' forms
  xvfb                  # scripts/qt-screenshots.sh: the program in a virtual X server
  xauth                 # xvfb-run
  imagemagick           # scripts/qt-screenshots.sh: import, the screen as a picture
  at-spi2-core          # scripts/atspi-test.sh: the accessibility bus and its registry
  python3-pyatspi       # scripts/atspi-test.sh: reads the window as a screen reader does
  # Windows cross build, tested under Wine
  g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64
  wine
  wine64
  xdotool               # scripts/win32-ui-smoke.sh, scripts/atspi-test.sh: finds and keys windows
  x11-utils             # scripts/win32-ui-smoke.sh: xwininfo, the stacking of windows
  # scripts/usb-stand.sh: a Debian kernel booted under QEMU with a USB printer gadget
  qemu-system-x86       # qemu-system-x86_64 (TCG; no KVM needed)
  busybox-static        # the guest's shell and tools, no shared libraries of its own
  cpio                  # packs the guest's initramfs
  kmod                  # modinfo: the modules' own dependency lists
  # packages (scripts/package.sh, scripts/package-test.sh)
  dpkg-dev              # dpkg-shlibdeps: the Debian package's dependencies, read from the binaries
  help2man              # the console program's man page, from its --help
  lintian
  desktop-file-utils    # desktop-file-validate
  appstream             # appstreamcli validate
  mmdebstrap            # a fresh Debian root to install the package into
  wixl                  # the Windows Installer package (scripts/make-msi.sh)
  msitools              # msiinfo, msibuild: read the package back, fix its summary
  faketime              # wixl stamps the time of day: run it at the commit's time
  sqv                   # checks SHA256SUMS.asc as a user does (scripts/release-sums-test.sh)
  gpg                   # signs SHA256SUMS (scripts/release-sums.sh)
  gpg-agent             # gpg holds secret keys only through its agent
  osslsigncode          # Authenticode signatures of the .exe files and the MSI
  openssl               # the tests' throw-away code-signing certificate
  diffoscope-minimal    # scripts/reproducible-check.sh: where two builds' release files differ
  # deploy/ansible: the role is tested with Debian's own ansible-playbook (scripts/ansible-test.sh)
  ansible-core
)

missing=()
for pkg in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null || true)
  if [ "${status:0:2}" != "ii" ]; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: not root and sudo is missing; install as root: ${missing[*]}" >&2
  exit 1
fi

apt_opts=(-y -q -o DPkg::Lock::Timeout=600 -o Dpkg::Options::=--force-confdef
          -o Dpkg::Options::=--force-confold)

# A registry mirror may be briefly unreachable; retry rather than fail the whole run.
for attempt in 1 2 3; do
  if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" update; then
    break
  fi
  [ "$attempt" -lt 3 ] || exit 1
  sleep $((attempt * 10))
done

# Recommends are left out: they pull in desktop printing, fonts and media stacks no build or test
# uses. A package the project does need is named in the list above.
for attempt in 1 2 3; do
  if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" \
       install --no-install-recommends "${missing[@]}" </dev/null; then
    break
  fi
  [ "$attempt" -lt 3 ] || exit 1
  sleep $((attempt * 10))
done

echo "install-deps: done"
