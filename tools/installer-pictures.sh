#!/usr/bin/env bash
# Photographs the setup program's component page, and the settings dialog of the installed
# program at 144 DPI (Wine's LogPixels), for the README. Uses a Wine prefix of its own
# (build/pictures/wineprefix), made anew. Pictures are whole virtual desktops; crop them.
#   tools/installer-pictures.sh OUTFOLDER
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs}")"
mkdir -p "$out"
cmake --build --preset mingw -j"$(nproc)" --target installer uidriver >/dev/null
version=$(sed -n 's/^project(Linkscope VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export setup="$PWD/build/mingw/installer/linkscope-setup-$version.exe" bin="$PWD/build/mingw/bin"
export WINEPREFIX="$PWD/build/pictures/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export out
rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
/usr/lib/wine/wineserver64 -w
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wine=/usr/lib/wine/wine64
  $wine explorer /desktop=Setup,800x600 "$setup" &
  sleep 10
  import -window root "$out/installer-components-full.png"
  /usr/lib/wine/wineserver64 -k; /usr/lib/wine/wineserver64 -w
  $wine "$setup" /S /EVALUATIONADAPTER
  $wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 144 /f
  $wine reg add "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts" \
    /v LogPixels /t REG_DWORD /d 144 /f
  /usr/lib/wine/wineserver64 -k; /usr/lib/wine/wineserver64 -w
  cd "$WINEPREFIX/drive_c/Program Files/Linkscope"
  $wine explorer /desktop=Linkscope,1280x1024 linkscope.exe &
  sleep 15
  (cd "$bin" && $wine explorer /desktop=Linkscope,1280x1024 uidriver.exe open)
  sleep 5
  import -window root "$out/settings-144dpi-full.png"
  /usr/lib/wine/wineserver64 -k'
echo "Saved $out/installer-components-full.png and $out/settings-144dpi-full.png"
