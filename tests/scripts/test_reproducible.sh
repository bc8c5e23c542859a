#!/usr/bin/env bash
# The same sources give the same product: the 32-bit product of the `windows` preset (built here
# if it is not yet) and one built from a copy of the tree in another folder must be equal byte
# for byte (no time stamp in the PE header, no source or build path inside).
# usage: tests/scripts/test_reproducible.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=checks.sh
source "$root/tests/scripts/checks.sh"

work="$root/build/reproducible"
rm -rf "$work"
trap '[ "$failed" -eq 0 ] && rm -rf "$work"' EXIT
src="$work/elsewhere/src-tree" bin="$work/elsewhere/out-of-tree-build"
mkdir -p "$src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$src")
a="$root/build/windows/src/win32/vantoreltray.exe" b="$bin/src/win32/vantoreltray.exe"
if ! { (cd "$root" && cmake --preset windows && cmake --build --preset windows -j "$(nproc)" \
  --target vantoreltray) && cmake -S "$src" -B "$bin" --toolchain "$src/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel && cmake --build "$bin" -j "$(nproc)" --target vantoreltray; } \
  >"$work/build.log" 2>&1; then
  tail -n 20 "$work/build.log"
  fail "the product did not build in both folders (log: $work/build.log)"
elif cmp -s "$a" "$b"; then
  ok "the product built in two folders is the same, byte for byte ($(stat -c %s "$a") bytes)"
else
  fail "the two builds differ: $(cmp -l "$a" "$b" | wc -l) bytes, the first at $(cmp "$a" "$b" | awk '{print $5}')"
fi
check "no build or source path inside" "" \
  "$({ strings -a "$b"; strings -a -el "$b"; } 2>/dev/null | grep -F -e "$work" -e "$root" | head -n 3)"
closing_line
