#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need. Safe to run again: it only
# installs what is missing.
set -euo pipefail

packages=(
  wine wine64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  cmake make ninja-build g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libcpp-httplib-dev
  xvfb xauth x11-utils xdotool imagemagick librsvg2-bin fonts-liberation
  tinyproxy python3 locales curl fonts-wine zip file strace
  nginx wrk nlohmann-json3-dev
)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

# Where the kernel executes 32-bit programs, the 32-bit product is tested under 32-bit Wine too.
if bash "$(dirname "$0")/can-run-i386.sh" && ! installed wine32:i386; then
  missing+=(wine32:i386)
  dpkg --print-foreign-architectures | grep -qx i386 || "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

if ((${#missing[@]})); then
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine and the Russian texts want this locale; without it Wine warns and falls back to C.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
