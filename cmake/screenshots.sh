#!/bin/sh
# Writes PNGs of the main window on every tab into the build folder, from a run under Xvfb on the
# private prefix (as `make run` uses it).
set -e
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$build/wine-run}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1; wineserver -w
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1; wineserver -w
cd "$build"
mkdir -p screenshots
tabs="1:shell 2:desktop 3:start 4:folders 5:drives 6:others 7:system 8:pointer"
args="--wait"
for t in $tabs; do
  args="$args --tab ${t%%:*} --shot screenshots/tab-${t#*:}.bmp"
done
args="$args --tab 1 --expand-tree --shot screenshots/tab-shell-expanded.bmp"
# The theme dialogs, opened as File menu clicks do (ids 200 and 202: Open Theme and Save Theme As).
args="$args --command 200 --shot-top screenshots/dialog-open-theme.bmp --cancel-top"
args="$args --command 202 --shot-top screenshots/dialog-save-theme.bmp --cancel-top"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
  wine Tessaly.exe &
  app=\$!
  wine window_shot.exe $args --close
  wait \$app"
wineserver -w
for f in screenshots/*.bmp; do
  /usr/bin/convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
ls "$build"/screenshots/*.png
"$here/prompt-shots.sh" "$build"
