#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need. Safe to run again: it only
# installs what is missing, and with everything in place it asks apt nothing.
#
# It degrades rather than dies: a failing `apt-get update` is tried once more and then the
# lists apt has are used; the 64-bit packages must install; the 32-bit Wine is a part of its
# own, and where it cannot be installed the run goes on without it (the 32-bit product is then
# built but not tested) and the install is not tried again for an hour.
#
# The clients are variables so that a test can run these decisions against stand-ins:
# VT_APT_GET (apt-get), VT_DPKG (dpkg), VT_I386_PROBE (scripts/can-run-i386.sh) and
# VT_SETUP_STATE (build/setup, where the stamp of a failed 32-bit install is kept).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
apt_get=${VT_APT_GET:-apt-get}
dpkg=${VT_DPKG:-dpkg}
i386_probe=${VT_I386_PROBE:-$here/can-run-i386.sh}
state=${VT_SETUP_STATE:-$here/../build/setup}
wine32_stamp="$state/wine32-failed"

packages=(
  wine wine64
  g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  cmake make ninja-build g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libcpp-httplib-dev
  xvfb xauth x11-utils xdotool imagemagick librsvg2-bin fonts-liberation
  tinyproxy python3 locales curl fonts-wine zip file strace
  nginx wrk nlohmann-json3-dev rapidjson-dev
)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

say() { echo "set-up: $*"; }
installed() { "$dpkg" -s "$1" 2>/dev/null | grep -q '^Status: install ok installed'; }

# The line of apt's output that says what went wrong: its first error, else its first failed
# fetch or warning, else its last line.
first_error() {
  local line
  line=$(grep -m1 '^E:' "$1") || line=$(grep -m1 -E '^(Err|W):' "$1") ||
    line=$(grep -v '^[[:space:]]*$' "$1" | tail -n 1)
  echo "${line:-apt printed nothing}"
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT

apt_run() {  # apt_run ARGS...: apt with its output shown and kept in $log
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive "$apt_get" "$@" 2>&1 | tee "$log"
}

# A mirror half-way through a sync fails one index or another; the lists apt already has (or
# got from the other indexes) are usually enough.
apt_update() {
  apt_run update -qq >/dev/null && return 0
  say "apt-get update failed ($(first_error "$log")); trying once more"
  apt_run update -qq >/dev/null && return 0
  say "apt-get update failed again ($(first_error "$log")); going on with the package lists apt has"
}

install_64bit() {  # install_64bit PACKAGE...
  apt_update
  if ! apt_run install -y -qq --no-install-recommends "$@"; then
    say "could not install the packages $* ($(first_error "$log"))." >&2
    say "These are needed to build and test; once apt can reach a complete mirror, run this again." >&2
    exit 1
  fi
}

# The 32-bit Wine, where the kernel executes 32-bit programs. It needs the i386 architecture,
# whose packages must match the amd64 ones version for version: a mirror that serves one but not
# the other makes it impossible to install for a while.
install_32bit() {
  local added_arch=
  if ! "$dpkg" --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" "$dpkg" --add-architecture i386 && added_arch=1
  fi
  apt_update
  if apt_run install -y -qq --no-install-recommends wine32:i386; then
    rm -f "$wine32_stamp"
    return 0
  fi
  local why
  why=$(first_error "$log")
  say "the 32-bit Wine could not be installed: $why; the 32-bit product is built, its tests are skipped"
  mkdir -p "$state"
  echo "$why" >"$wine32_stamp"
  # An architecture of ours whose index is broken would break every later apt run. dpkg itself
  # refuses to remove one that any installed package uses.
  if [ -n "$added_arch" ] && "${sudo_cmd[@]}" "$dpkg" --remove-architecture i386 2>/dev/null; then
    say "the i386 architecture this set-up added is removed again"
  fi
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

want_32bit=
if bash "$i386_probe" && ! installed wine32:i386; then
  if [ -n "$(find "$wine32_stamp" -mmin -60 2>/dev/null)" ]; then
    retry_at=$(date -d "@$(($(stat -c %Y "$wine32_stamp") + 3600))" +%H:%M)
    say "the 32-bit Wine could not be installed less than an hour ago: $(cat "$wine32_stamp");" \
      "not tried again before $retry_at; the 32-bit product is built, its tests are skipped"
  else
    want_32bit=1
  fi
fi

# The 64-bit packages first and apart, so that a broken i386 index never stands in their way.
if ((${#missing[@]})); then install_64bit "${missing[@]}"; fi
if [ -n "$want_32bit" ]; then install_32bit; fi

# Wine and the Russian texts want this locale; without it Wine warns and falls back to C.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null || { say "locale-gen failed" >&2; exit 1; }
fi
exit 0
