#!/bin/sh
# Writes PNGs of the icon dialogs into the build folder's screenshots folder:
#   picker_shell32.png (the icon picker on shell32.dll), pointer_browser.png, rename.png
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
wineserver -w
wine reg add 'HKCU\Software\Wine\AppDefaults\dialog_shot.exe\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
for shot in picker:picker_shell32 pointers:pointer_browser rename:rename; do
  name=${shot#*:}
  wine dialog_shot.exe "${shot%%:*}" "screenshots/$name.bmp"
  /usr/bin/convert "screenshots/$name.bmp" "screenshots/$name.png" && rm -f "screenshots/$name.bmp"
  echo "Screenshot: $build/screenshots/$name.png"
done
wineserver -w
