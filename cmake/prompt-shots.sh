#!/bin/sh
# Writes PNGs of the prompt dialog in its main shapes into the build folder's screenshots folder:
#   prompt_one.png, prompt_three.png, prompt_check.png, prompt_network.png, prompt_overwrite.png,
#   prompt_failed.png
#   prompt_missing.png
# Uses the build folder's screenshot prefix; without a display it runs under Xvfb.
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
# A Wine session started without a display cannot show windows: let any such session end first.
wineserver -w
# Without a window manager the caption bar is only drawn when Wine draws the frame itself.
wine reg add 'HKCU\Software\Wine\AppDefaults\prompt_shot.exe\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
for shape in one three check network overwrite failed missing; do
  wine prompt_shot.exe "$shape" "screenshots/prompt_$shape.bmp"
  /usr/bin/convert "screenshots/prompt_$shape.bmp" "screenshots/prompt_$shape.png" && rm -f "screenshots/prompt_$shape.bmp"
  echo "Screenshot: $build/screenshots/prompt_$shape.png"
done
wineserver -w
