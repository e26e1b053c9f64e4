#!/bin/sh
# Runs the benchmark program under Wine with Xvfb and prints its figures, twice: as the machine is, and with
# idle CPUs kept from sleeping. Under Wine each registry or window call is a round trip to the wine server; on
# an idle machine every trip first waits for a sleeping CPU to wake, which weighs on whichever side of a
# comparison makes more trips. The second pass shows the code without that.
build=$(cd "$1" && pwd); shift
run() {
  (cd "$build" && xvfb-run -a -s "-screen 0 1024x768x24" ./wine-run.sh bench/tessaly_bench.exe "$@")
  rc=$?
  WINEPREFIX="$build/wine-test" wineserver -k 2>/dev/null
  return $rc
}
echo "== CPUs as the machine leaves them"
run "$@" || exit $?
# Holding /dev/cpu_dma_latency open with 0 keeps idle CPUs polling instead of sleeping (root only).
if ! exec 3>/dev/cpu_dma_latency 2>/dev/null; then
  echo "== CPUs kept awake: skipped, /dev/cpu_dma_latency cannot be opened for writing"
  exit 0
fi
printf '\000\000\000\000' >&3
echo "== CPUs kept awake"
run "$@"
