#!/bin/sh
# Runs one of the build folder's screenshot tools once per shape and writes screenshots/NAME.png for each:
#   tool-shots.sh BUILD TOOL SHAPE[:NAME]...   (NAME is the shape unless given)
# Uses the build folder's screenshot prefix; without a display it runs under Xvfb.
set -e
if [ -z "$DISPLAY" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
build=$(cd "$1" && pwd)
tool=$2
shift 2
export WINEPREFIX="${WINEPREFIX:-$build/wine-run}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1; wineserver -w
fi
cd "$build"
mkdir -p screenshots
# A Wine session started without a display cannot show windows: let any such session end first.
wineserver -w
# Without a window manager the caption bar is only drawn when Wine draws the frame itself.
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$tool.exe\\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
for shot in "$@"; do
  shape=${shot%%:*}
  name=${shot#*:}
  wine "$tool.exe" "$shape" "screenshots/$name.bmp"
  /usr/bin/convert "screenshots/$name.bmp" "screenshots/$name.png" && rm -f "screenshots/$name.bmp"
  echo "Screenshot: $build/screenshots/$name.png"
done
wineserver -w
