# shellcheck shell=bash
# Sourced by the scripts that run Windows programs under Wine (scripts/test.sh, scripts/wine-run,
# scripts/win32-ui-smoke.sh, scripts/package-test.sh).

# shellcheck source=wait-for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait-for.sh"

# wine_command: the Wine launcher of this machine.
wine_command() {
  command -v wine || command -v wine64 || echo /usr/lib/wine/wine64
}

# wine_server_dir PREFIX: the folder of PREFIX's wineserver (its socket and lock), named after the
# prefix's device and inode. Upstream Wine keeps it in /tmp/.wine-UID; Debian's in a private
# folder under /tmp, whose name the prefix's file "wineserver" holds.
wine_server_dir() {
  local dev ino base
  read -r dev ino < <(stat -L -c '%d %i' "$1" 2>/dev/null) || return 1
  base="/tmp/.wine-$(id -u)"
  if [ -f "$1/wineserver" ]; then
    base="/tmp/$(cat "$1/wineserver" 2>/dev/null)"
  fi
  printf '%s/server-%x-%x\n' "$base" "$dev" "$ino"
}

# wine_server_running PREFIX: whether a wineserver serves PREFIX (it works in its folder).
wine_server_running() {
  local dir pid
  dir=$(wine_server_dir "$1") || return 1
  for pid in $(pgrep wineserver 2>/dev/null); do
    [ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" = "$dir" ] && return 0
  done
  return 1
}

wine_boot_settled() {
  [ -f "$1/system.reg" ] || ! wine_server_running "$1"
}

# The facts that tell a failed boot apart: a full disk, a prefix or server directory of another
# user, a server left over from an earlier run.
wine_boot_facts() {
  local prefix=$1 wine=$2 existing=$1
  while [ ! -e "$existing" ] && [ "$existing" != / ]; do
    existing=$(dirname "$existing")
  done
  echo "wine version: $("$wine" --version 2>&1 | tail -n 1)"
  echo "uid: $(id -u) ($(id -un 2>/dev/null))"
  echo "prefix: $(stat -c 'owner %U (%u), mode %a' "$prefix" 2>&1)"
  if [ "$existing" != "$prefix" ]; then
    echo "nearest existing folder $existing: $(stat -c 'owner %U (%u), mode %a' "$existing" 2>&1)"
  fi
  local server_dir
  if server_dir=$(wine_server_dir "$prefix"); then
    if [ -d "$server_dir" ]; then
      echo "server folder $server_dir:"
      ls -la "$server_dir" 2>&1 | tail -n +2 | sed 's/^/  /'
    else
      echo "server folder $server_dir: none"
    fi
  fi
  if wine_server_running "$prefix"; then
    echo "a wineserver for the prefix is still running"
  else
    echo "no wineserver for the prefix is running"
  fi
  echo "wineservers of any prefix: $(pgrep -c wineserver 2>/dev/null || true)"
  # The wineserver's socket lives under /tmp.
  echo "/tmp: $(stat -c 'owner %U (%u), mode %a' /tmp 2>&1)"
  df -h "$existing" /tmp 2>&1
}

# wine_prefix_boot: makes $WINEPREFIX a booted Wine prefix unless it is one already (it has its
# system.reg, which the wineserver writes when it ends). wineboot's output goes to a log beside the
# prefix. A failed boot prints the log's tail and the facts above, stops the prefix's wineserver,
# removes the half-made prefix and tries once more; returns 1 when that fails too. Boots of one
# prefix from parallel tests take turns.
wine_prefix_boot() {
  local prefix=${WINEPREFIX:?wine_prefix_boot needs WINEPREFIX}
  prefix=${prefix%/}
  [ -f "$prefix/system.reg" ] && return 0
  local wine log attempt lock
  wine=$(wine_command)
  log="$prefix.boot.log"
  if ! mkdir -p "$(dirname "$prefix")" 2>/dev/null || ! : 2>/dev/null >>"$log"; then
    log=$(mktemp "${TMPDIR:-/tmp}/wineboot.XXXXXX.log")
  fi
  # The lock's descriptor is closed for Wine's own processes: a wineserver that inherited it would
  # hold the lock for as long as it lingers.
  if { exec {lock}>>"$prefix.lock"; } 2>/dev/null; then
    flock -w 900 "$lock" || true
  else
    exec {lock}</dev/null
  fi
  for attempt in 1 2; do
    if [ -f "$prefix/system.reg" ]; then
      break
    fi
    {
      echo "== boot $attempt of $prefix, $(date -u '+%F %T') UTC"
      mkdir -p "$prefix" &&
        timeout 300 "$wine" wineboot --init {lock}>&- &&
        timeout 120 wineserver -w {lock}>&-
      echo "== wineboot and wineserver -w ended with status $?"
    } >>"$log" 2>&1 </dev/null
    # A server that had only just started when `wineserver -w` asked writes system.reg when it
    # ends a few seconds later.
    wait_for 30 wine_boot_settled "$prefix" || true
    if [ -f "$prefix/system.reg" ]; then
      break
    fi
    {
      echo "wine prefix $prefix: boot $attempt of 2 made no system.reg; last lines of $log:"
      tail -n 30 "$log" | sed 's/^/  /'
      wine_boot_facts "$prefix" "$wine" | sed 's/^/  /'
    } >&2
    timeout 30 wineserver -k {lock}>&- >/dev/null 2>&1 || true
    rm -rf "$prefix" || true
  done
  exec {lock}>&-
  [ -f "$prefix/system.reg" ]
}
