#!/bin/sh
# Counts the requests that Tessaly's main thread and the start-up benchmark's floor program send to the wine
# server, from start until each first waits for input, splash off. Under Wine nearly every registry and
# window call is such a round trip, so the counts show where start-up time goes without the timing noise:
# on an idle machine each trip also waits for a sleeping CPU to wake.
# usage: cmake/startup-requests.sh build-folder
build=$(cd "$1" && pwd)
if [ -z "$DISPLAY" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
prefix="$build/wine-test"
export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree=;mshtml="
settings='HKCU\Software\Korvath\Tessaly\2.0\Settings'
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# One program under a fresh wine server that prints every request, ended ten seconds later: long after it
# first waits for input.
trace() {
  wineserver -k 2>/dev/null
  wineserver -w
  WINEDEBUG=+server timeout 10 wine "$build/$1" >/dev/null 2>"$out/$2.txt"
  wineserver -k 2>/dev/null
}

# The first process a fresh server starts is the program itself. Its main thread's requests are counted
# from opening the program file, in three parts: until its first window exists, until that window is
# shown, and until the thread first waits with an empty queue.
count() {
  awk -v name="$1" 'BEGIN { phase = 0 }
    !tid && /init_first_thread\(\) = 0/ { match($0, /tid=[0-9a-f]+/); tid = substr($0, RSTART + 4, RLENGTH - 4) }
    !tid || index($0, tid ": ") != 1 { next }
    !started { if ($0 ~ /create_file\(/ && $0 ~ /\.exe"/) started = 1; else next }
    / = / {
      if (!window && $0 ~ /create_window\(\) = 0/) { match($0, /handle=[0-9a-f]+/); window = substr($0, RSTART, RLENGTH) }
      next
    }
    {
      req = $2; sub(/\(.*/, "", req)
      if (req == "select" && waiting && $0 ~ /timeout=infinite/) { done = 1; exit }
      waiting = (req == "get_message")
      if (req == "create_window" && !phase) phase = 1
      # SWP_SHOWWINDOW on the first window
      if (req == "set_window_pos" && phase == 1 && window && index($0, window ",")) {
        match($0, /swp_flags=[0-9a-f]+/); flags = substr($0, RSTART + 10, RLENGTH - 10)
        if (index("4567cdef", substr(flags, length(flags) - 1, 1))) phase = 2
      }
      parts[phase]++; kinds[req]++; total++
    }
    END {
      if (!done) { printf "%s: did not reach its first wait for input\n", name; exit 1 }
      printf "%-9s %6d requests: %5d before its first window, %5d making windows, %5d showing and painting\n",
        name, total, parts[0], parts[1], parts[2]
      for (k in kinds) printf "%d %s\n", kinds[k], k > "/dev/stderr"
    }' "$out/$1.txt" 2>"$out/$1.kinds"
}

(
  "$build/wine-run.sh" reg add "$settings" /v Splash /t REG_DWORD /d 0 /f >/dev/null 2>&1
  trace Tessaly.exe tessaly
  trace bench/startup_floor.exe floor
  "$build/wine-run.sh" reg delete "$settings" /v Splash /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
) || exit $?
count tessaly && count floor || exit 1
echo "requests Tessaly sends more than the floor, by kind (the first ten):"
sort -k2 "$out/tessaly.kinds" >"$out/t" && sort -k2 "$out/floor.kinds" >"$out/f"
join -1 2 -2 2 -a 1 -e 0 -o 0,1.1,2.1 "$out/t" "$out/f" | awk '{ printf "%6d %s\n", $2 - $3, $1 }' |
  sort -rn | head -10
