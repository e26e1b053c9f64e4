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
if [ "$1" = "/a" ]; then
  # Load-and-apply ends by itself; what it may show is the rebuild notice, captured and answered.
  rm -f tessaly.bmp
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    wine window_shot.exe --answer-notice tessaly.bmp OK &
    helper=$!
    wine Tessaly.exe "$@"
    kill $helper 2>/dev/null
    true' sh "$@"
  wineserver -w
  printf "Applied: %s\n" "$*"
  [ -f tessaly.bmp ] || exit 0
else
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    wine Tessaly.exe "$@" &
    app=$!
    wine window_shot.exe --wait --shot tessaly.bmp --close
    # A loaded theme is not applied yet: closing asks whether to apply it first. No.
    [ $# -eq 0 ] || wine window_shot.exe --answer-notice closing.bmp No
    wait $app' sh "$@"
  rm -f closing.bmp
  wineserver -w
fi
/usr/bin/convert tessaly.bmp tessaly.png && rm -f tessaly.bmp
echo "Screenshot: $build/tessaly.png"
