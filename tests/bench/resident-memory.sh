#!/usr/bin/env bash
# Runs the shipped (stripped) linkscope.exe on the simulated adapters and an empty tray program
# side by side under Wine for a minute, then reports each one's private resident memory
# (RssAnon) and the CPU time it used in that minute. Measured, never asserted on.
#
#   tests/bench/resident-memory.sh [BUILD_DIR]     (default build/mingw; run from the tree)
# Needs the targets dist and emptytray: cmake --build --preset mingw --target dist emptytray
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
cd "$(dirname "$0")/../.."
build="$(realpath "${1:-build/mingw}")"
dist="$build/dist"
seconds=60
export WINEPREFIX="$build/bench-wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

run() {
  local wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
  $server -p </dev/null >/dev/null 2>&1
  $wine wineboot </dev/null >/dev/null 2>&1
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  cp res/simulated-environment.json "$dist/W32N50-environment.json"
  (cd "$dist" && $wine adapterinstall.exe install W32N50-environment.json) </dev/null >/dev/null
  (cd "$dist" && exec $wine linkscope.exe) </dev/null >/dev/null 2>&1 &
  (cd "$build/bin" && exec $wine emptytray.exe) </dev/null >/dev/null 2>&1 &

  # The Linux process of a Windows program of this prefix, by its file name.
  pid_of() {
    local p
    for p in /proc/[0-9]*; do
      if tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q "$1" &&
         [ "$(tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -x "WINEPREFIX=$WINEPREFIX")" ]; then
        echo "${p#/proc/}"; return 0
      fi
    done
    return 1
  }
  local program="" empty="" i
  for i in $(seq 1 120); do
    program=$(pid_of 'linkscope\.exe' || true)
    empty=$(pid_of 'emptytray\.exe' || true)
    [ -n "$program" ] && [ -n "$empty" ] && break
    sleep 0.5
  done
  if [ -z "$program" ] || [ -z "$empty" ]; then
    echo "a program did not start" >&2; $server -k; return 1
  fi
  sleep 5   # start-up is not what this measures
  cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
  local p0 e0 hz
  hz=$(getconf CLK_TCK)
  p0=$(cpu "$program"); e0=$(cpu "$empty")
  sleep "$seconds"
  printf '%-22s %14s %14s %18s\n' program "RssAnon (kB)" "VmRSS (kB)" "CPU in ${seconds}s (ms)"
  for pair in "linkscope.exe:$program:$p0" "empty tray program:$empty:$e0"; do
    IFS=: read -r name pid start <<<"$pair"
    printf '%-22s %14s %14s %18s\n' "$name" \
      "$(awk '/^RssAnon/ {print $2}' "/proc/$pid/status")" \
      "$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")" \
      "$(( ($(cpu "$pid") - start) * 1000 / hz ))"
  done
  $server -k || true
  $server -w || true
}

run
