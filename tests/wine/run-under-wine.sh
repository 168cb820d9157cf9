#!/bin/sh
# Runs a Windows program of the build under 64-bit Wine in the given prefix.
#   run-under-wine.sh PREFIX PROGRAM.exe [ARGS...]
# The program's output goes through a file: Wine's helper processes (services, explorer) that
# the program may start inherit its standard handles and outlive it, and they must not hold
# ctest's output pipe open.
prefix="$1"
shift
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
out=$(mktemp)
/usr/lib/wine/wine64 "$@" </dev/null >"$out" 2>&1
rc=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $rc
