#!/usr/bin/env bash
# The release's packing on a build folder made here: what it packs (only executables a passing
# test run recorded), what it names as not packed and why, the folder inside the archives, the
# README's [service] example against the keys the program reads, and the same bytes when it
# packs again.
# usage: tests/scripts/test_release.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=checks.sh
source "$root/tests/scripts/checks.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^project(VantorelTray VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
builds="$work/build" out="$work/release"
for preset in windows windows64; do
  mkdir -p "$builds/$preset/src/win32"
  echo "MZ $preset" >"$builds/$preset/src/win32/vantoreltray.exe"
done
# The 32-bit product passed its tests; the 64-bit build changed after its run.
sha256sum "$builds/windows/src/win32/vantoreltray.exe" >"$builds/windows/tested-exe.sha256"
sha256sum "$builds/windows/src/win32/vantoreltray.exe" >"$builds/windows64/tested-exe.sha256"
printf '#!/bin/sh\nexit 1\n' >"$work/no-i386"

release() {
  OUT=$(VT_BUILD_ROOT="$builds" VT_RELEASE_OUT="$out" VT_I386_PROBE="$work/no-i386" \
    bash "$root/scripts/release.sh" 2>&1)
  RC=$?
}
names() { python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$1"; }
member() {  # member ZIP NAME: the member's text
  python3 -c 'import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode("utf-8-sig"))' "$1" "$2"
}

release
check "one tested executable: exit status" 0 "$RC"
check_has "the changed one is named" \
  "release: not packed: vantoreltray-$version-win64.zip: it is not the executable the last passing test run tested; run scripts/test.sh first" "$OUT"
zip32="$out/vantoreltray-$version-win32.zip"
check "the archive holds one folder without the version" \
  "vantoreltray/vantoreltray.exe vantoreltray/README.txt vantoreltray/LICENSE.txt vantoreltray/NOTICES.txt" \
  "$(names "$zip32" 2>&1)"
check "the packed program is the tested one" "MZ windows" \
  "$(member "$zip32" vantoreltray/vantoreltray.exe)"
check "no archive of the untested build" "no" "$([ -e "$out/vantoreltray-$version-win64.zip" ] && echo yes || echo no)"
check "SHA256SUMS names what was packed" "vantoreltray-$version-win32.zip" "$(awk '{print $2}' "$out/SHA256SUMS")"

first=$(sha256sum <"$zip32")
sleep 1.1
release
check "packing again gives the same bytes" "$first" "$(sha256sum <"$zip32")"

# Every key the program reads from [service] stands in the README's example.
readme=$(member "$zip32" vantoreltray/README.txt)
keys=$(grep -ohE '\{"[A-Za-z]+", &ServiceConfig::|Read\("service", "[A-Za-z]+"\)' "$root/src/app/service_config.cpp" |
  grep -oE '"[A-Za-z]+"' | tr -d '"' | grep -vx service | sort -u)
check "the program reads [service] keys" yes "$([ "$(wc -w <<<"$keys")" -ge 11 ] && echo yes || echo no)"
for key in $keys; do
  check_has "README.txt's [service] example has $key" "    $key=" "$readme"
done

rm "$builds/windows/tested-exe.sha256"
release
check "nothing tested: exit status" 1 "$RC"
check_has "nothing tested: the 32-bit archive is named with both reasons" \
  "release: not packed: vantoreltray-$version-win32.zip: no test run passed it, and its tests cannot run here: this machine's kernel does not execute 32-bit programs" "$OUT"
check_has "nothing tested: says so" "release: nothing packed" "$OUT"
check "nothing tested: no archive stays from before" "" "$(ls "$out"/*.zip 2>/dev/null)"

closing_line
