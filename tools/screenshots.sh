#!/usr/bin/env bash
# Photographs Linkscope under Wine for the README: the tray menu with its profile submenu, the
# settings dialog opened from the tray, its Statistics page, its Site Survey page after a scan
# with its channel view and time graph, and its Encryption, Advanced and Profiles pages. Run scripts/run once before (it prepares the
# Wine prefix and installs the simulated adapters).
#   tools/screenshots.sh OUTFOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs}")"
mkdir -p "$out"
cmake --build --preset mingw -j"$(nproc)" --target linkscope W32N50 uidriver >/dev/null
export WINEPREFIX="$PWD/build/run/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export out
# The simulated adapters that scripts/run installed, with the environment file beside this DLL.
cp -u res/simulated-environment.json build/mingw/bin/W32N50-environment.json
cd build/mingw/bin
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  # The settings dialog, cut out of the desktop, as $out/NAME.png.
  dialog() {
    import -window root "$out/$1-full.png"
    convert "$out/$1-full.png" -crop 440x468+291+140 +repage "$out/$1.png"
    rm -f "$out/$1-full.png"
  }
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
  dialog settings
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 1
  sleep 3
  dialog statistics-page
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 2
  sleep 1
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe click 1034
  sleep 6
  dialog site-survey-page
  # The same survey as a channel map, then the time graph: Repeat surveys every 10 s while the
  # environment file moves Harbour away (and back, once the picture is taken).
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe press 1037
  sleep 2
  dialog channel-view
  cp W32N50-environment.json environment-before-watch.json
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe press 1038
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe press 1040
  sleep 35
  sed -i "s/\"Harbour\", \"channel\": 1, \"signal\": 82/\"Harbour\", \"channel\": 1, \"signal\": 30/" \
    W32N50-environment.json
  sleep 45
  dialog channel-watch
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe press 1040
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe press 1036
  mv environment-before-watch.json W32N50-environment.json
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 3
  sleep 2
  dialog encryption-page
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 4
  sleep 2
  dialog advanced
  /usr/lib/wine/wine64 explorer /desktop=Linkscope,1024x768 uidriver.exe tab 5
  sleep 2
  dialog profiles-page
  /usr/lib/wine/wineserver64 -k'
echo "Saved in $out: tray-menu.png, settings.png, statistics-page.png, site-survey-page.png,"
echo "  channel-view.png, channel-watch.png,"
echo "  encryption-page.png, advanced.png and profiles-page.png"
