#!/usr/bin/env bash
# Packs the release: out/release/vantoreltray-VERSION-win32.zip (the product),
# vantoreltray-VERSION-win64.zip (the same sources for 64-bit Windows) and SHA256SUMS.
# It packs the executables the last test run passed (scripts/test.sh records their sums) and
# refuses any other. Timestamps, order and permissions are fixed, so packing the same
# executables again gives the same bytes.
# usage: scripts/release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

version=$(sed -n 's/^project(VantorelTray VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
out="$root/out/release"
stage="$out/stage"
# The last commit's time, so that a rebuild of the same sources stamps the same times.
stamp=$(git log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null || echo 200712040000.00)

# crlf [--bom] < in > out: Windows line ends, optionally behind a UTF-8 byte order mark.
crlf() {
  [ "${1:-}" = --bom ] && printf '\xef\xbb\xbf'
  sed 's/\r$//; s/$/\r/'
}

notices() {  # notices MINGW_TRIPLE_DIRNAME
  cat <<EOF
vantoreltray.exe contains, linked statically, parts of these libraries:

- libstdc++ and libgcc of GCC, under the GNU General Public License version 3 with the GCC
  Runtime Library Exception 3.1, which permits distributing the program under terms of its
  own choice;
- the MinGW-w64 runtime and its winpthreads library, under the Zope Public License 2.1, the MIT
  licence and the other permissive licences listed below.

Their copyright and licence texts follow, as the Debian packages that built this program ship
them (gcc-mingw-w64-base and mingw-w64-$1-dev).

================================================================================
GCC (gcc-mingw-w64-base)
================================================================================
EOF
  cat /usr/share/doc/gcc-mingw-w64-base/copyright
  cat <<EOF

================================================================================
MinGW-w64 (mingw-w64-$1-dev)
================================================================================
EOF
  cat "/usr/share/doc/mingw-w64-$1-dev/copyright"
}

# pack PRESET ARCH MINGW_DEV_NAME
pack() {
  local preset=$1 arch=$2 dev=$3
  local exe="build/$preset/src/win32/vantoreltray.exe" record="build/$preset/tested-exe.sha256"
  if [ ! -f "$record" ] || ! sha256sum --quiet -c "$record" >/dev/null 2>&1; then
    echo "release: $exe is not the executable the last passing test run tested." >&2
    if [ "$preset" = windows ] && ! bash scripts/can-run-i386.sh; then
      echo "release: this machine cannot run 32-bit programs; pack on one that can." >&2
    else
      echo "release: run scripts/test.sh first." >&2
    fi
    return 1
  fi
  local name="vantoreltray-$version-$arch"
  local dir="$stage/$name"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$exe" "$dir/vantoreltray.exe"
  sed "s/@VERSION@/$version/g" resources/release/README.txt | crlf --bom >"$dir/README.txt"
  crlf <LICENSE >"$dir/LICENSE.txt"
  notices "$dev" | crlf >"$dir/NOTICES.txt"
  chmod 755 "$dir"
  chmod 644 "$dir"/*
  touch -h -t "$stamp" "$dir" "$dir"/*
  rm -f "$out/$name.zip"
  # -X: no owner or extended times; -D: no folder entries; names in a fixed order.
  (cd "$stage" && TZ=UTC zip -q -X -D "$out/$name.zip" \
    "$name/vantoreltray.exe" "$name/README.txt" "$name/LICENSE.txt" "$name/NOTICES.txt")
  echo "packed $out/$name.zip ($(stat -c %s "$dir/vantoreltray.exe") bytes of program)"
}

mkdir -p "$out"
pack windows win32 i686
pack windows64 win64 x86-64
(cd "$out" && sha256sum "vantoreltray-$version-win32.zip" "vantoreltray-$version-win64.zip" >SHA256SUMS)
rm -rf "$stage"
cat "$out/SHA256SUMS"
