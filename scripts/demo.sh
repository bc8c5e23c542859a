#!/usr/bin/env bash
# The demo: builds the program, starts it under Wine in a fresh program folder, and saves a
# screenshot of the Wine desktop. Uses your X display when DISPLAY is set (the program then runs
# until you choose "Выход" in its menu), otherwise a virtual one (VT_HEADLESS=1 forces that).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

cmake --preset windows64 >/dev/null
cmake --build --preset windows64 -j "$(nproc)" --target vantoreltray

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
vt_wine_setup "$root/build/windows64"
own_display=${DISPLAY:-}
[ -z "${VT_HEADLESS:-}" ] || own_display=
vt_display_start
trap vt_wine_stop EXIT

folder="$root/out/demo"
rm -rf "$folder"
mkdir -p "$folder"
cp build/windows64/src/win32/vantoreltray.exe "$folder/"
(cd "$folder" && exec "$VT_WINE" ./vantoreltray.exe >/dev/null 2>&1) &
program=$!
sleep 8

shot="$root/out/demo.png"
import -window root "$shot"
echo "Screenshot of the Wine desktop: $shot"

if [ -n "$own_display" ]; then
  echo "Vantorel.Tray runs in the notification area; end it with \"Выход\" in its menu."
  wait "$program" || true
fi
