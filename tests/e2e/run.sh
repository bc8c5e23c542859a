#!/usr/bin/env bash
# End-to-end tests: the real program under Wine in a virtual desktop, seen from outside.
# usage: tests/e2e/run.sh BUILD_DIR [CASE...]
#   BUILD_DIR  a Windows build folder (windows or windows64); the Wine prefix lives there
#   CASE       startup, instances, tray, download, preferences, connection, feed, api, https,
#              view_scaled;
#              all by default
# Started by scripts/test.sh, it runs in that script's display, prefix and services. Started on
# its own, it brings up its own (the native build's vtservice is needed) and ends them on any
# exit, Ctrl-C included; VT_RECORD_FILE names the record of what it started.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
BUILD=$(cd "$1" && pwd)
shift
# In this order: the scaled case restarts Wine with other display settings, so it comes last.
all_cases=(startup instances tray download preferences connection feed api https view_scaled)
cases=("$@")
((${#cases[@]})) || cases=("${all_cases[@]}")
for name in "${cases[@]}"; do
  [ -f "$here/test_$name.sh" ] || { echo "run.sh: no case $name (${all_cases[*]})" >&2; exit 2; }
done

# shellcheck source=../../scripts/session.sh
source "$root/scripts/session.sh"
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
# shellcheck source=../../scripts/services.sh
source "$root/scripts/services.sh"
if [ -z "${VT_STAGE:-}" ]; then
  vt_session_open "${VT_RECORD_FILE:-$BUILD/e2e-session.pids}"
  kind=win32
  file -b "$BUILD/src/win32/vantoreltray.exe" | grep -q 'PE32+' && kind=win64
  vt_stage_start "$BUILD" "$kind" "$root/build/native" || exit 1
fi

VT_TOOL=${VT_TOOL:-$root/build/native/tools/vtforecast}
WORK="$BUILD/e2e"
SCREENS="$BUILD/e2e-screens"
rm -rf "$WORK"; mkdir -p "$WORK"
# shellcheck source=lib.sh
source "$here/lib.sh"
for name in "${cases[@]}"; do
  # shellcheck disable=SC1090
  source "$here/test_$name.sh"
done
echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
[ "$E2E_FAILED" -eq 0 ]
