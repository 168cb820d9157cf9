#!/bin/sh
# Ends every Wine process of the test prefix and waits for the server to go.
prefix="$1"
export WINEPREFIX="$prefix"
/usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
/usr/lib/wine/wineserver64 -w >/dev/null 2>&1 || true
echo "wineserver stopped for $prefix"
