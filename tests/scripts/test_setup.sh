#!/usr/bin/env bash
# The set-up's decisions against stand-in apt-get, dpkg, kernel probe and 32-bit loader, without
# a network: a mirror whose index fails, a 32-bit Wine that cannot be resolved, a 64-bit install
# that fails, everything installed already. Each case checks the exit status, the line printed,
# the calls made to apt and dpkg, and the product the test and demo scripts then choose.
# usage: tests/scripts/test_setup.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=checks.sh
source "$root/tests/scripts/checks.sh"
# shellcheck source=../../scripts/product.sh
source "$root/scripts/product.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export STANDIN="$work/state"

# The stand-ins keep their state in $STANDIN: `missing` (packages not installed; every other
# name is), `arches` (foreign architectures), `calls` (what was asked of them), and `wine`, the
# 32-bit loader, which exists once wine32:i386 is installed.
cat >"$work/apt-get" <<'EOF'
#!/usr/bin/env bash
cmd=$1
shift
if [ "$cmd" = update ]; then
  echo update >>"$STANDIN/calls"
  if [ -e "$STANDIN/update-fails" ]; then
    echo "Err:7 http://deb.example/debian-security bookworm-security/main i386 Packages"
    echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100
  fi
  exit 0
fi
pkgs=()
for a in "$@"; do [[ $a == -* ]] || pkgs+=("$a"); done
echo "install ${pkgs[*]}" >>"$STANDIN/calls"
if [[ " ${pkgs[*]} " == *" wine32:i386 "* ]] && [ -e "$STANDIN/i386-fails" ]; then
  echo " libcurl4:i386 : Depends: libssl3:i386 (>= 3.0.0) but it is not going to be installed"
  echo "E: Unable to correct problems, you have held broken packages." >&2
  exit 100
fi
if [[ " ${pkgs[*]} " != *" wine32:i386 "* ]] && [ -e "$STANDIN/amd64-fails" ]; then
  echo "E: Unable to locate package ${pkgs[0]}" >&2
  exit 100
fi
for p in "${pkgs[@]}"; do sed -i "/^$p\$/d" "$STANDIN/missing"; done
[[ " ${pkgs[*]} " != *" wine32:i386 "* ]] || cp "$STANDIN/../wine-starts" "$STANDIN/wine"
exit 0
EOF
cat >"$work/dpkg" <<'EOF'
#!/usr/bin/env bash
case $1 in
  -s)
    if grep -qx "$2" "$STANDIN/missing"; then
      echo "dpkg-query: package '$2' is not installed" >&2
      exit 1
    fi
    echo "Status: install ok installed" ;;
  --print-foreign-architectures) cat "$STANDIN/arches" ;;
  --add-architecture)
    echo "add-arch $2" >>"$STANDIN/calls"
    echo "$2" >>"$STANDIN/arches" ;;
  --remove-architecture)
    echo "remove-arch $2" >>"$STANDIN/calls"
    if [ -x "$STANDIN/wine" ]; then
      echo "dpkg: error: cannot remove architecture '$2' currently in use by the database" >&2
      exit 2
    fi
    sed -i "/^$2\$/d" "$STANDIN/arches" ;;
  *) echo "stand-in dpkg: unexpected $*" >&2; exit 2 ;;
esac
EOF
printf '#!/bin/sh\n[ -e "$STANDIN/kernel-runs-i386" ]\n' >"$work/probe"
printf '#!/bin/sh\nexit 0\n' >"$work/wine-starts"
printf '#!/bin/sh\nexit 1\n' >"$work/wine-fails"
chmod +x "$work/apt-get" "$work/dpkg" "$work/probe" "$work/wine-starts" "$work/wine-fails"

# setup_case NAME [flag|missing:PKG|arch:i386|stamp:MINUTES|loader:broken]... runs the set-up
# on a fresh stand-in state; OUT, RC and CALLS hold what it printed, its status and its calls.
setup_case() {
  CASE=$1
  shift
  rm -rf "$STANDIN"
  mkdir -p "$STANDIN/setup"
  : >"$STANDIN/missing"
  : >"$STANDIN/arches"
  : >"$STANDIN/calls"
  echo wine32:i386 >>"$STANDIN/missing"
  local a
  for a in "$@"; do
    case $a in
      missing:*) echo "${a#missing:}" >>"$STANDIN/missing" ;;
      wine32-installed)
        sed -i '/^wine32:i386$/d' "$STANDIN/missing"
        cp "$work/wine-starts" "$STANDIN/wine" ;;
      loader-broken) cp "$work/wine-fails" "$STANDIN/wine" ;;
      arch:*) echo "${a#arch:}" >>"$STANDIN/arches" ;;
      stamp:*)
        echo "E: an earlier failure" >"$STANDIN/setup/wine32-failed"
        touch -d "${a#stamp:} minutes ago" "$STANDIN/setup/wine32-failed" ;;
      *) touch "$STANDIN/$a" ;;
    esac
  done
  run_setup
}
run_setup() {
  : >"$STANDIN/calls"
  OUT=$(VT_APT_GET="$work/apt-get" VT_DPKG="$work/dpkg" VT_I386_PROBE="$work/probe" \
    VT_SETUP_STATE="$STANDIN/setup" bash "$root/scripts/setup.sh" 2>&1)
  RC=$?
  CALLS=$(paste -sd';' "$STANDIN/calls")
}
# The product the scripts choose after the set-up, and the line they print for it.
product() {
  VT_I386_PROBE="$work/probe" VT_WINE32_LOADER="$STANDIN/wine" vt_pick_product >"$work/pick"
  echo "$VT_PRESET: $(cat "$work/pick")"
}
expect() {  # expect RC CALLS LINE PRODUCT_LINE
  check "$CASE: exit status" "$1" "$RC"
  check "$CASE: calls to apt and dpkg" "$2" "$CALLS"
  if [ -n "$3" ]; then check_has "$CASE: printed" "$3" "$OUT"; fi
  check_has "$CASE: then the scripts choose" "$4" "$(product)"
}

kernel_no="windows64: product: the 64-bit build, since this machine's kernel does not execute 32-bit programs"
wine32_missing="windows64: product: the 64-bit build, since the 32-bit Wine is not installed"
product32="windows: product: the 32-bit build, since this machine executes 32-bit programs and the 32-bit Wine starts"
not_resolved="set-up: the 32-bit Wine could not be installed: E: Unable to correct problems, you have held broken packages.; the 32-bit product is built, its tests are skipped"
mirror="E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"

setup_case "everything installed, a 64-bit kernel"
expect 0 "" "" "$kernel_no"
check "$CASE: prints nothing" "" "$OUT"

setup_case "everything installed, 32-bit Wine too" kernel-runs-i386 wine32-installed
expect 0 "" "" "$product32"

setup_case "32-bit Wine installed but it does not start" kernel-runs-i386 wine32-installed loader-broken
expect 0 "" "" "windows64: product: the 64-bit build, since the 32-bit Wine does not start"

setup_case "an update that fails on one index" update-fails missing:cmake missing:nginx
expect 0 "update;update;install cmake nginx" \
  "set-up: apt-get update failed ($mirror); trying once more" "$kernel_no"
check_has "$CASE: goes on" "set-up: apt-get update failed again ($mirror); going on with the package lists apt has" "$OUT"

setup_case "a 32-bit install that cannot be resolved" kernel-runs-i386 update-fails i386-fails
expect 0 "add-arch i386;update;update;install wine32:i386;remove-arch i386" "$not_resolved" "$wine32_missing"
check "$CASE: the architecture it added is gone" "" "$(cat "$STANDIN/arches")"
check "$CASE: the stamp holds the reason" "E: Unable to correct problems, you have held broken packages." \
  "$(cat "$STANDIN/setup/wine32-failed" 2>/dev/null)"
CASE="the next run within the hour"
run_setup
expect 0 "" "set-up: the 32-bit Wine could not be installed less than an hour ago: E: Unable to correct problems" \
  "$wine32_missing"

setup_case "a stamp two hours old is tried again" kernel-runs-i386 i386-fails stamp:120
expect 0 "add-arch i386;update;install wine32:i386;remove-arch i386" "$not_resolved" "$wine32_missing"

setup_case "an i386 architecture of the user's stays" kernel-runs-i386 i386-fails arch:i386
expect 0 "update;install wine32:i386" "$not_resolved" "$wine32_missing"
check "$CASE: architectures" "i386" "$(cat "$STANDIN/arches")"

setup_case "a 32-bit install that succeeds" kernel-runs-i386 stamp:120 missing:xvfb
expect 0 "update;install xvfb;add-arch i386;update;install wine32:i386" "" "$product32"
check "$CASE: the stamp is gone" "no" "$([ -e "$STANDIN/setup/wine32-failed" ] && echo yes || echo no)"
check "$CASE: architectures" "i386" "$(cat "$STANDIN/arches")"

setup_case "a 64-bit install that fails" kernel-runs-i386 amd64-fails missing:nginx missing:wrk
expect 1 "update;install nginx wrk" \
  "set-up: could not install the packages nginx wrk (E: Unable to locate package nginx)." "$wine32_missing"

closing_line
