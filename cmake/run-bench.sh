#!/bin/sh
# Runs the benchmark program under Wine with Xvfb and prints its figures.
build=$(cd "$1" && pwd); shift
cd "$build" && xvfb-run -a -s "-screen 0 1024x768x24" ./wine-run.sh bench/tessaly_bench.exe "$@"
rc=$?
WINEPREFIX="$build/wine-test" wineserver -k 2>/dev/null
exit $rc
