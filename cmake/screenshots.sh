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
# The help window on its contents and on a setting's topic, then a What's This pop-up on the Apply button.
args="$args --command 240 --shot-help screenshots/help-contents.bmp"
args="$args --help-search 'Large Icons' --shot-help screenshots/help-large-icons.bmp --help-close"
args="$args --tab 2 --whats-this 110 --shot-popup screenshots/whats-this.bmp"
args="$args --tab 2 --shot screenshots/main-window.bmp --menu f --shot screenshots/menu-file.bmp --escape"
# A few recent themes for the File menu, taken away again afterwards.
themes='HKCU\Software\Korvath\Tessaly\2.0\Themes'
for slot in "1:Blue Sky" "2:Autumn" "3:Classic Shell"; do
  wine reg add "$themes" /v "${slot%%:*}" /d "C:\\Themes\\${slot#*:}.tstheme" /f >/dev/null 2>&1
done
wineserver -w
# The value editor open on a number and on the folder verb, and the right-click menu over a setting.
args="$args --tab 1 --find-node Speed --shot screenshots/tab-shell-number.bmp"
args="$args --find-node Default --shot screenshots/tab-shell-folder-verb.bmp"
args="$args --find-node Wrap --right-click --shot screenshots/tab-shell-right-click.bmp --close-menu"
# The theme dialogs, opened as File menu clicks do (ids 200 and 202: Open Theme and Save Theme As).
args="$args --command 200 --shot-top screenshots/dialog-open-theme.bmp --cancel-top"
args="$args --command 202 --shot-top screenshots/dialog-save-theme.bmp --cancel-top"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
  wine Tessaly.exe &
  app=\$!
  wine window_shot.exe $args --close
  wait \$app"
wineserver -w
wine reg delete "$themes" /f >/dev/null 2>&1; wineserver -w
for f in screenshots/*.bmp; do
  /usr/bin/convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
ls "$build"/screenshots/*.png
# The dialogs, each drawn by a small tool of its own.
shots="$here/tool-shots.sh"
"$shots" "$build" prompt_shot one:prompt_one three:prompt_three check:prompt_check network:prompt_network \
  overwrite:prompt_overwrite failed:prompt_failed missing:prompt_missing
"$shots" "$build" parts_shot splash about toolbar
"$shots" "$build" dialog_shot picker:picker_shell32 pointers:pointer_browser rename
