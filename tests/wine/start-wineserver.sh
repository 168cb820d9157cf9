#!/bin/sh
# Prepares the test Wine prefix (first run only) and starts a persistent wineserver for it.
set -eu
prefix="$1"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
/usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
/usr/lib/wine/wineserver64 -w >/dev/null 2>&1 || true
/usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1
# Creates the prefix on the first run and starts Wine's own services, detached from ctest's
# output, on every run.
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
# A crash prints its backtrace and ends the process: Wine's crash dialog would wait for a click
# that never comes, until ctest's timeout.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1
# Debian's Wine does not find its own fonts; without them dialogs render in a fallback face.
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
echo "wineserver running for $prefix"
