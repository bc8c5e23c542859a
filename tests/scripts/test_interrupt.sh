#!/usr/bin/env bash
# Ctrl-C in the middle of an end-to-end case: tests/e2e/run.sh, started on its own, brings up
# its display, Wine server, reference service and proxy; the whole process group gets SIGINT
# while the tray case runs; afterwards none of the processes it recorded may be alive.
# usage: tests/scripts/test_interrupt.sh [BUILD_DIR]   (build/windows64 by default)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=checks.sh
source "$root/tests/scripts/checks.sh"
# shellcheck source=../../scripts/session.sh
source "$root/scripts/session.sh"
build=$(cd "$root" && realpath -m "${1:-build/windows64}")
preset=$(basename "$build")

(cd "$root" && cmake --build --preset native -j "$(nproc)" --target vtservice vtforecast &&
  cmake --build --preset "$preset" -j "$(nproc)" --target vantoreltray driver) >/dev/null ||
  { echo "FAILED: building what the e2e run needs"; exit 1; }

record="$build/interrupt-test.pids"
log="$build/interrupt-test.log"
rm -f "$record"
# A process group of its own, as a terminal's foreground job has: with job control on, bash does
# not make the job ignore SIGINT, as it does for other background commands. Not in any stage
# of the caller's.
set -m
VT_STAGE='' VT_RECORD='' VT_RECORD_FILE=$record bash "$root/tests/e2e/run.sh" "$build" tray \
  >"$log" 2>&1 &
set +m
run=$!
recorded() { [ -f "$record" ] && grep -q " $1" "$record"; }
started=no
for _ in $(seq 1 600); do
  recorded vantoreltray.exe && started=yes && break
  kill -0 "$run" 2>/dev/null || break
  sleep 0.1
done
check "the case reaches its program" yes "$started"
sleep 1
kill -INT -- "-$run" 2>/dev/null
wait "$run"
check "run.sh ends as Ctrl-C ends it" 130 "$?"
for name in Xvfb wineserver vtservice tinyproxy vantoreltray.exe; do
  if recorded "$name"; then ok "$name was recorded"; else fail "$name was not recorded"; fi
done
check "none of the recorded processes is alive" "" "$(vt_recorded_alive "$record")"
check "the case did not finish" "" "$(grep -F 'e2e:' "$log")"
closing_line || { echo "run.sh's output:"; cat "$log"; exit 1; }
