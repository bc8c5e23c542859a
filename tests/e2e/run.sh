#!/usr/bin/env bash
# End-to-end tests: the real program under Wine in a virtual desktop, seen from outside.
# usage: run.sh BUILD_DIR   (the Windows build folder; the Wine prefix lives there)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "$1" && pwd)
VT_TOOL=${VT_TOOL:-$here/../../build/native/tools/vtforecast}
WORK="$BUILD/e2e"
SCREENS="$BUILD/e2e-screens"
rm -rf "$WORK"; mkdir -p "$WORK"
# shellcheck source=lib.sh
source "$here/lib.sh"
for t in "$here"/test_*.sh; do
  # shellcheck disable=SC1090
  source "$t"
done
echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
[ "$E2E_FAILED" -eq 0 ]
