# shellcheck shell=bash
# Sourced by scripts/package.sh and scripts/reproducible-check.sh: what makes two builds of one
# commit give the same release files, whatever folder, time of day, time zone or umask they run in.

# The time every release file is stamped with: SOURCE_DATE_EPOCH, else the last commit's time.
release_epoch() {
  local root=$1
  echo "${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}"
}

# normalise_zip ZIP EPOCH: rewrites ZIP in place with its entries sorted by name, each stamped
# with EPOCH (as UTC: a zip's times are local, which would make them depend on the builder's time
# zone) and modes 0755/0644 kept only as "runs or not" (not the builder's umask), and no owner.
normalise_zip() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import os, sys, time, zipfile
path, epoch = sys.argv[1], int(sys.argv[2])
stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot say anything before 1980
with zipfile.ZipFile(path) as old:
    entries = [(info, old.read(info)) for info in old.infolist()]
entries.sort(key=lambda e: e[0].filename)
tmp = path + ".tmp"
with zipfile.ZipFile(tmp, "w") as new:
    for info, data in entries:
        out = zipfile.ZipInfo(info.filename, stamp)
        out.create_system = 3
        if info.is_dir():
            out.external_attr = (0o40755 << 16) | 0x10
            new.writestr(out, b"")
            continue
        runs = (info.external_attr >> 16) & 0o111
        out.external_attr = (0o100755 if runs else 0o100644) << 16
        out.compress_type = zipfile.ZIP_DEFLATED
        new.writestr(out, data, compresslevel=9)
os.replace(tmp, path)
PY
}

# release_cpack CONFIG DIR EPOCH: CPack's packages into DIR, the same for every build of one
# commit. CPack's DEB stamps its entries with SOURCE_DATE_EPOCH, as root, in name order, but makes
# its staging folders with the umask (0700 under umask 077): hence 022. Its zip keeps the build's
# file times and the folder's order, so it is rewritten.
release_cpack() {
  local file
  (umask 022 && SOURCE_DATE_EPOCH=$3 cpack --config "$1" -B "$2")
  for file in "$2"/*.zip; do
    if [ -f "$file" ]; then
      normalise_zip "$file" "$3"
    fi
  done
}
