#!/bin/sh
# Writes PNGs of the splash window, the About window and the toolbar into the build folder's screenshots
# folder: splash.png, about.png, toolbar.png. Uses the build folder's screenshot prefix; without a display it
# runs under Xvfb.
set -e
build=$(cd "$1" && pwd)
export WINEPREFIX="${WINEPREFIX:-$build/wine-run}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree=;mshtml="
if [ -z "$DISPLAY" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1; wineserver -w
fi
cd "$build"
mkdir -p screenshots
wineserver -w
# Without a window manager the caption bar is only drawn when Wine draws the frame itself.
wine reg add 'HKCU\Software\Wine\AppDefaults\parts_shot.exe\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
for window in splash about toolbar; do
  wine parts_shot.exe "$window" "screenshots/$window.bmp"
  /usr/bin/convert "screenshots/$window.bmp" "screenshots/$window.png" && rm -f "screenshots/$window.bmp"
  echo "Screenshot: $build/screenshots/$window.png"
done
wineserver -w
