#!/usr/bin/env bash
# Photographs Linkscope under Wine for the README: the tray menu with its profile submenu, the
# settings dialog opened from the tray, its Statistics page, and its Site Survey page after a
# scan. Run scripts/run once before (it prepares the Wine prefix and
# installs the simulated adapters).
#   tools/screenshots.sh OUTFOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs}")"
mkdir -p "$out"
cmake --build --preset mingw -j"$(nproc)" --target linkscope W32N50 uidriver >/dev/null
export WINEPREFIX="$PWD/build/run/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export out
cd build/mingw/bin
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 linkscope.exe &
  sleep 12
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe menu
  sleep 1
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe keys down down right
  sleep 1
  import -window root "$out/tray-menu-full.png"
  convert "$out/tray-menu-full.png" -crop 224x152+800+616 +repage "$out/tray-menu.png"
  rm -f "$out/tray-menu-full.png"
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe keys escape escape
  sleep 1
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe open
  sleep 3
  import -window root "$out/settings-full.png"
  convert "$out/settings-full.png" -crop 440x468+291+140 +repage "$out/settings.png"
  rm -f "$out/settings-full.png"
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 1
  sleep 3
  import -window root "$out/statistics-full.png"
  convert "$out/statistics-full.png" -crop 440x468+291+140 +repage "$out/statistics-page.png"
  rm -f "$out/statistics-full.png"
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 2
  sleep 1
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe click 1034
  sleep 6
  import -window root "$out/survey-full.png"
  convert "$out/survey-full.png" -crop 440x468+291+140 +repage "$out/site-survey-page.png"
  rm -f "$out/survey-full.png"
  /usr/lib/wine/wineserver64 -k'
echo "Saved $out/tray-menu.png, $out/settings.png, $out/statistics-page.png and $out/site-survey-page.png"
