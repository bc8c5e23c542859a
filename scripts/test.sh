#!/usr/bin/env bash
# Runs every test suite: native unit tests (plain and under ASan/UBSan), the fuzzers, the
# Windows tests under Wine and the end-to-end tests of the real program.
# usage: scripts/test.sh        (VT_FUZZ_SECONDS=60 by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

jobs=$(nproc)
failures=()
suite() {  # suite NAME COMMAND...
  echo "=== $1"
  if "${@:2}"; then echo "=== $1: ok"; else echo "=== $1: FAILED"; failures+=("$1"); fi
}

native() {
  cmake --preset "$1" >/dev/null &&
    cmake --build --preset "$1" -j "$jobs" &&
    ctest --preset "$1" -j "$jobs"
}

fuzz() {
  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" || return 1
  local target ok=0
  for target in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    mkdir -p "build/fuzz/corpus/$(basename "$target")"
    "$target" -max_total_time="${VT_FUZZ_SECONDS:-60}" -print_final_stats=1 \
      "build/fuzz/corpus/$(basename "$target")" 2>&1 | tail -n 3 || ok=1
  done
  return $ok
}

windows() {
  # The 32-bit product must build; the tests run the 64-bit build, since these machines
  # cannot run 32-bit Wine.
  cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs" --target vantoreltray || return 1
  cmake --preset windows64 >/dev/null && cmake --build --preset windows64 -j "$jobs" || return 1
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  vt_wine_setup "$root/build/windows64"
  vt_display_start || return 1
  vt_wineserver_start
  # shellcheck source=services.sh
  source scripts/services.sh
  export VT_SERVICE_LOG_FILE="$root/build/windows64/service.log"
  rm -f "$VT_SERVICE_LOG_FILE"
  vt_service_start "$root/build/native" "$VT_SERVICE_LOG_FILE" || return 1
  vt_tinyproxy_start "$root/build/windows64/tinyproxy" || return 1
  VT_SERVICE_LOG=$("$VT_WINE" winepath -w "$VT_SERVICE_LOG_FILE" 2>/dev/null)
  export VT_SERVICE_LOG VT_PROXY_PORT
  local rc=0 drawn="$root/build/windows64/drawn"
  rm -rf "$drawn"; mkdir -p "$drawn"
  # The drawing test leaves the drawn temperatures there for the contact sheet.
  VT_ARTEFACTS=$("$VT_WINE" winepath -w "$drawn" 2>/dev/null) ctest --preset windows64 || rc=1
  bash tests/e2e/run.sh build/windows64 || rc=1
  vt_services_stop
  vt_wine_stop
  local f
  for f in "$drawn"/*-16.tga; do [ -f "$f" ] && convert "$f" "${f%-16.tga}.png"; done
  bash scripts/contact-sheet.sh build/windows64/contact-sheet.png "$drawn" || rc=1
  return $rc
}

suite "native unit tests" native native
suite "native unit tests under ASan+UBSan" native native-asan
suite "native unit tests in Release" native native-release
suite "fuzzing" fuzz
suite "Windows tests under Wine" windows

if ((${#failures[@]})); then
  echo "FAILED suites: ${failures[*]}"
  exit 1
fi
echo "all test suites passed"
