#!/usr/bin/env bash
# The same sources give the same product: the tree is copied to two folders of different paths
# and the 32-bit product is built in each; the two executables must be equal byte for byte (no
# time stamp in the PE header, no source or build path inside).
# usage: tests/scripts/test_reproducible.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=checks.sh
source "$root/tests/scripts/checks.sh"

work="$root/build/reproducible"
rm -rf "$work"
trap '[ "$failed" -eq 0 ] && rm -rf "$work"' EXIT

build_copy() {  # build_copy FOLDER: the working tree's files there, built there; prints the exe
  local src="$1/src-tree" bin="$1/out-of-tree-build"
  mkdir -p "$src"
  (cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$src")
  cmake -S "$src" -B "$bin" --toolchain "$src/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
    >"$1.log" 2>&1 && cmake --build "$bin" -j "$(nproc)" --target vantoreltray >>"$1.log" 2>&1 ||
    { tail -n 20 "$1.log" >&2; return 1; }
  echo "$bin/src/win32/vantoreltray.exe"
}

a=$(build_copy "$work/a") && b=$(build_copy "$work/elsewhere/b")
if [ -z "$a" ] || [ -z "$b" ]; then
  fail "the product did not build in both folders (logs in $work)"
else
  if cmp -s "$a" "$b"; then
    ok "the product built in two folders is the same, byte for byte ($(stat -c %s "$a") bytes)"
  else
    fail "the two builds differ: $(cmp -l "$a" "$b" | wc -l) bytes, the first at $(cmp "$a" "$b" | awk '{print $5}')"
  fi
  check "no build path inside" "" "$({ strings -a "$a"; strings -a -el "$a"; } | grep -F -e "$work" -e "$root" | head -n 3)"
fi
closing_line
