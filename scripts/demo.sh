#!/usr/bin/env bash
# The demo: builds the program, starts it under Wine in a fresh program folder, and saves a
# screenshot of the Wine desktop. Uses your X display when DISPLAY is set (the program then runs
# until you choose "Выход" in its menu), otherwise a virtual one (VT_HEADLESS=1 forces that).
# The program runs with its default source, the open forecast API, whose two addresses point at
# the reference service on loopback (it answers from the feed's shipped samples moved to today).
# VT_DEMO_SOURCE=service: the weather service of the protocol instead, the reference service.
# VT_DEMO_FEED=1: the protocol's forecast and town list from a real feed, vtfeed's tree of the
# shipped samples served by nginx on a free loopback port.
# Whatever it started ends with it, Ctrl-C included.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=session.sh
source scripts/session.sh
vt_session_open
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# shellcheck source=services.sh
source scripts/services.sh
# shellcheck source=product.sh
source scripts/product.sh
bash scripts/setup.sh

# The product is the 32-bit build; where it cannot run, the same sources for 64-bit.
vt_pick_product
preset=$VT_PRESET kind=$VT_PREFIX_KIND
build="build/$preset"

cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target vtservice vtfeed
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target vantoreltray driver

vt_wine_setup "$root/$build" "$kind"
own_display=${DISPLAY:-}
[ -z "${VT_HEADLESS:-}" ] || own_display=
vt_display_start
vt_wineserver_start
mkdir -p out
vt_service_start build/native "$root/out/service.log"
echo "The reference weather service runs on 127.0.0.1..10:8717 (log: out/service.log)."
feed="$root/out/feed"
if [ -n "${VT_DEMO_FEED:-}" ]; then
  rm -rf "$feed"
  python3 service/feed/shift-samples.py service/feed/samples "$feed/in" "$(date -u +%F)"
  build/native/tools/vtfeed build --towns service/feed/towns.csv --input "$feed/in" --output "$feed/tree"
  vt_feed_start "$feed/tree" "$feed/nginx"
fi

folder="$root/out/demo"
rm -rf "$folder"
mkdir -p "$folder"
cp "$build/src/win32/vantoreltray.exe" "$folder/"
# Nothing leaves the machine: every source the demo may use is named in [service].
if [ -n "${VT_DEMO_FEED:-}" ]; then
  printf '%s\r\n' '[service]' 'source=service' >"$folder/vantoreltray.ini"
  for key in counterHost dataHost mainSite uaSite; do
    printf '%s=%s\r\n' "$key" "$VT_FEED_HOST" >>"$folder/vantoreltray.ini"
  done
  echo "Source: the weather service of the protocol, vtfeed's tree on $VT_FEED_HOST."
elif [ "${VT_DEMO_SOURCE:-}" = service ]; then
  vt_service_section 8717 >"$folder/vantoreltray.ini"
  echo "Source: the weather service of the protocol, the reference service."
else
  printf '%s\r\n' '[service]' 'forecastApi=http://127.0.0.1:8717' \
    'geocodingApi=http://127.0.0.1:8717' >"$folder/vantoreltray.ini"
  echo "Source: the open forecast API (the default), answered by the reference service."
fi
(cd "$folder" && exec "$VT_WINE" ./vantoreltray.exe >/dev/null 2>&1) &
program=$!
vt_record "$program" vantoreltray.exe
driver() { "$VT_WINE" "$build/tests/e2e/driver.exe" "$@" >/dev/null 2>&1; }
# Wait for the first download, then ask for the balloon as a user's click would.
for _ in $(seq 1 60); do [ -s "$folder/27612.txt" ] && break; sleep 0.5; done
driver tray WM_LBUTTONDOWN || true
for _ in $(seq 1 50); do driver balloon-visible && break; sleep 0.1; done
sleep 1  # the balloon fades in

shot="$root/out/demo.png"
# The Wine desktop (800 × 600, top left of the display) with the tray and the balloon.
import -window root -crop 800x600+0+0 +repage "$shot"
echo "Screenshot of the Wine desktop: $shot"

if [ -n "$own_display" ]; then
  echo "Vantorel.Tray runs in the notification area; end it with \"Выход\" in its menu."
  wait "$program" || true
fi
