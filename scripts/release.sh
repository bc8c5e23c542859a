#!/usr/bin/env bash
# Packs the release: out/release/vantoreltray-VERSION-win32.zip (the product),
# vantoreltray-VERSION-win64.zip (the same sources for 64-bit Windows) and SHA256SUMS.
# It packs each executable the last test run passed (scripts/test.sh records their sums), names
# in one line each archive it could not pack and why, and fails only when it packs nothing.
# Each archive holds one folder, vantoreltray/, without the version, so that a new version
# unpacked over an old one keeps the settings and the autostart entry's path. Timestamps, order
# and permissions are fixed, so packing the same executables again gives the same bytes.
# usage: scripts/release.sh   (VT_BUILD_ROOT and VT_RELEASE_OUT move build/ and out/release/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=product.sh
source scripts/product.sh
builds=${VT_BUILD_ROOT:-$root/build}

version=$(sed -n 's/^project(VantorelTray VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
out=${VT_RELEASE_OUT:-$root/out/release}
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
  licence and the other permissive licences listed below;
- RapidJSON, the JSON parser, under the MIT licence.

Their copyright and licence texts follow, as the Debian packages that built this program ship
them (gcc-mingw-w64-base, mingw-w64-$1-dev and rapidjson-dev).

The weather data of the default source come from Open-Meteo.com, under the Creative Commons
Attribution 4.0 licence (CC BY 4.0).

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
  cat <<EOF

================================================================================
RapidJSON (rapidjson-dev)
================================================================================
EOF
  cat /usr/share/doc/rapidjson-dev/copyright
}

# pack PRESET ARCH MINGW_DEV_NAME: packs that build's executable, or says why it cannot.
pack() {
  local preset=$1 arch=$2 dev=$3
  local name="vantoreltray-$version-$arch"
  local exe="$builds/$preset/src/win32/vantoreltray.exe" record="$builds/$preset/tested-exe.sha256"
  local why=
  if [ ! -f "$exe" ]; then
    why="$exe is not built"
  elif [ ! -f "$record" ]; then
    why="no test run passed it"
  elif [ "$(cut -d' ' -f1 "$record")" != "$(sha256sum "$exe" | cut -d' ' -f1)" ]; then
    why="it is not the executable the last passing test run tested"
  fi
  if [ -n "$why" ]; then
    if [ "$preset" = windows ] && ! vt_i386_runs; then
      why="$why, and its tests cannot run here: $VT_I386_WHY"
    else
      why="$why; run scripts/test.sh first"
    fi
    echo "release: not packed: $name.zip: $why"
    return 1
  fi
  local dir="$stage/vantoreltray"
  rm -rf "$stage"
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
  (cd "$stage" && TZ=UTC zip -q -X -D "$out/$name.zip" vantoreltray/vantoreltray.exe \
    vantoreltray/README.txt vantoreltray/LICENSE.txt vantoreltray/NOTICES.txt)
  echo "release: packed $out/$name.zip ($(stat -c %s "$exe") bytes of program)"
  packed+=("$name.zip")
}

mkdir -p "$out"
rm -f "$out"/vantoreltray-*.zip "$out/SHA256SUMS"
packed=()
pack windows win32 i686 || true
pack windows64 win64 x86-64 || true
rm -rf "$stage"
if ((${#packed[@]} == 0)); then
  echo "release: nothing packed" >&2
  exit 1
fi
(cd "$out" && sha256sum "${packed[@]}" >SHA256SUMS)
cat "$out/SHA256SUMS"
