#!/usr/bin/env bash
# Runs every test suite: the set-up's and the release's scripts, the reproducible build, native
# unit tests (plain, under ASan/UBSan and in Release), the fuzzers, the feed's web server, the
# Windows tests under Wine and the end-to-end tests of the real program.
# usage: scripts/test.sh [KEY...]   (VT_FUZZ_SECONDS=32 per fuzz target by default)
#   KEY picks suites by the key in brackets in their names (scripts, reproducible, native, asan,
#   release, fuzz, feed, win64, interrupt, win32); without one, every suite runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=session.sh
source scripts/session.sh
vt_session_open "$root/build/test-session.pids"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# shellcheck source=services.sh
source scripts/services.sh
# shellcheck source=product.sh
source scripts/product.sh
bash scripts/setup.sh

jobs=$(nproc)
failures=()
wanted=("$@")
suite() {  # suite NAME COMMAND...
  if ((${#wanted[@]})) && [[ ! " ${wanted[*]} " == *" $(sed 's/.*\[\(.*\)\]$/\1/' <<<"$1") "* ]]; then
    return 0
  fi
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
  # Five targets of 32 s: the fuzzing stays within 3 minutes. Each starts from the committed
  # seeds and keeps what it finds in a corpus of its own under build/.
  for target in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    local name corpus
    name=$(basename "$target")
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    echo "fuzzing $name"
    "$target" -max_total_time="${VT_FUZZ_SECONDS:-32}" -print_final_stats=1 \
      "$corpus" "tests/fuzz/seeds/$name" 2>&1 | tail -n 3 || ok=1
  done
  return $ok
}

product() {
  cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs" --target vantoreltray
}

# windows PRESET PREFIX_KIND: builds everything of that preset and of its GoogleTest build
# (PRESET-tests) and runs those Windows tests and the end-to-end tests of the program in a Wine
# prefix of that kind inside the program's build folder.
windows() {
  local preset=$1 kind=$2 build="$root/build/$1"
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs" || return 1
  cmake --preset "$preset-tests" >/dev/null && cmake --build --preset "$preset-tests" -j "$jobs" ||
    return 1
  echo "testing $build/src/win32/vantoreltray.exe ($(file -b "$build/src/win32/vantoreltray.exe" | cut -d, -f1)) in a $kind prefix"
  local rc=0 drawn="$build/drawn"
  rm -rf "$drawn"; mkdir -p "$drawn"
  if vt_stage_start "$build" "$kind" "$root/build/native"; then
    # The drawing test leaves the drawn temperatures there for the contact sheet.
    VT_ARTEFACTS=$("$VT_WINE" winepath -w "$drawn" 2>/dev/null) ctest --preset "$preset-tests" || rc=1
    bash tests/e2e/run.sh "$build" || rc=1
  else
    rc=1
  fi
  vt_session_close
  local f
  for f in "$drawn"/*.tga; do [ -f "$f" ] && convert "$f" "${f%.tga}.png"; done
  bash scripts/contact-sheet.sh "$build/contact-sheet.png" "$drawn" || rc=1
  # The release packs only an executable that passed here.
  rm -f "$build/tested-exe.sha256"
  if ((rc == 0)); then
    (cd "$root" && sha256sum "build/$preset/src/win32/vantoreltray.exe") >"$build/tested-exe.sha256"
  fi
  return $rc
}

scripts_suite() {
  bash tests/scripts/test_setup.sh && bash tests/scripts/test_release.sh && bash tests/scripts/test_layers.sh
}

suite "the set-up's decisions, the release's packing and the layers of src/ [scripts]" scripts_suite
suite "the same sources give the same product, built in two folders [reproducible]" \
  bash tests/scripts/test_reproducible.sh
suite "native unit tests [native]" native native
suite "native unit tests under ASan+UBSan [asan]" native native-asan
suite "native unit tests in Release [release]" native native-release
suite "fuzzing [fuzz]" fuzz
suite "the feed's web server, nginx [feed]" bash tests/feed/test_nginx.sh
suite "Windows tests of the 64-bit build under 64-bit Wine [win64]" windows windows64 win64
suite "an interrupted end-to-end run leaves no process behind [interrupt]" \
  bash tests/scripts/test_interrupt.sh build/windows64
if vt_i386_runs; then
  suite "Windows tests of the 32-bit product under 32-bit Wine, since $VT_I386_WHY [win32]" \
    windows windows win32
else
  suite "building the 32-bit product; its tests are skipped, since $VT_I386_WHY [win32]" product
fi

if ((${#failures[@]})); then
  echo "FAILED suites: ${failures[*]}"
  exit 1
fi
echo "all test suites passed"
