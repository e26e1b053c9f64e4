#!/bin/sh
# Starts Tessaly on a private Wine prefix in the build folder (a WINEPREFIX of the user's wins).
# Without a display it runs under Xvfb, writes a screenshot of the window to the build folder and ends.
set -e
build=$(cd "$1" && pwd); shift
export WINEPREFIX="${WINEPREFIX:-$build/wine-run}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1; wineserver -w
fi
cd "$build"
if [ -n "$DISPLAY" ]; then
  exec wine Tessaly.exe "$@"
fi
echo "No display: running under Xvfb and writing a screenshot"
# No window manager runs there, so let Wine draw the window frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1; wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  wine Tessaly.exe "$@" &
  app=$!
  wine window_shot.exe --wait --shot tessaly.bmp --close
  wait $app' sh "$@"
wineserver -w
/usr/bin/convert tessaly.bmp tessaly.png && rm -f tessaly.bmp
echo "Screenshot: $build/tessaly.png"
