#!/usr/bin/env bash
# A walk away from the access point and back, on the simulated adapter: linkscope-cli watch
# logs one row a second into a CSV while this script lowers and raises the access point's
# signal in the environment file, as a person carrying a laptop down a corridor would see it.
# The CSV is then drawn by tools/plot-watch.py (the README's picture).
#   tools/watch-walk.sh [OUT.svg]      (default docs/watch-walk.svg; the CSV lies beside it)
# Needs the mingw build (it builds the three programs it uses) and Wine; it runs in a Wine
# prefix of its own, build/walk/wineprefix.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/watch-walk.svg}")"
csv="${out%.svg}.csv"
mkdir -p "$(dirname "$out")"
cmake --build --preset mingw -j2 --target linkscope-cli W32N50 adapterinstall >/dev/null

walk="$PWD/build/walk"
rm -rf "$walk/bin"
mkdir -p "$walk/bin/res" "$walk/wineprefix"
cp build/mingw/bin/linkscope-cli.exe build/mingw/bin/W32N50.dll build/mingw/bin/adapterinstall.exe \
   "$walk/bin/"
cp res/Wlan.ini "$walk/bin/res/"
export WINEPREFIX="$walk/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

environment() {
  cat > "$walk/bin/W32N50-environment.json" <<JSON
{"adapters": [{"displayName": "ORVEX PCI Skyrelay", "serviceName": "SKYWALK",
  "instanceId": "{5A1D0000-0000-4000-8000-0000000057A1}", "cardType": 21,
  "mac": "00-60-1D-00-57-A1", "parameters": {"ESSID": "Harbour", "Channel": 1}}],
 "networks": [{"bssid": "00-40-96-A1-00-01", "ssid": "Harbour", "channel": 1, "signal": $1}]}
JSON
}

cd "$walk/bin"
environment 88
for exe in linkscope-cli.exe adapterinstall.exe; do
  "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /d win2k /f >/dev/null
done
"$wine" adapterinstall.exe install W32N50-environment.json >/dev/null
"$wine" linkscope-cli.exe watch --interval 1000 --count 40 --csv walk.csv &
watch=$!
# Down the corridor and back: a new signal every two seconds.
for signal in 88 84 78 70 61 52 44 36 27 18 9 18 31 45 58 70 80 88; do
  sleep 2
  environment "$signal"
done
wait "$watch"
"$wine" adapterinstall.exe remove >/dev/null
/usr/lib/wine/wineserver64 -k || true
cd - >/dev/null
cp "$walk/bin/walk.csv" "$csv"
python3 tools/plot-watch.py "$csv" "$out" "linkscope-cli watch: a walk away from the access point and back"
