#!/usr/bin/env bash
# What each JSON library would add to the 32-bit product, and how fast each reads a forecast
# answer of 72 hours: the same reading (units, offset, seven hourly arrays) built with
# nlohmann/json, with RapidJSON, and with no library (the floor). Sizes are of stripped i686
# executables built like the product (MinSizeRel, static); times are medians of 2,000 parses
# by native builds at -O2 (this machine may not run 32-bit programs).
# usage: bench/json.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
for header in /usr/include/nlohmann/json.hpp /usr/include/rapidjson/document.h; do
  [ -f "$header" ] || { echo "json bench: $header is missing (apt-get install nlohmann-json3-dev rapidjson-dev)" >&2; exit 1; }
done
work="$root/build/json-bench"
mkdir -p "$work/headers"
ln -sfn /usr/include/nlohmann "$work/headers/nlohmann"
ln -sfn /usr/include/rapidjson "$work/headers/rapidjson"
cmake -S bench/json -B "$work/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DVT_JSON_HEADERS="$work/headers" >/dev/null
cmake --build "$work/i686" -j "$(nproc)" >/dev/null
cmake -S bench/json -B "$work/native" -DCMAKE_BUILD_TYPE=Release -DVT_JSON_HEADERS="$work/headers" >/dev/null
cmake --build "$work/native" -j "$(nproc)" >/dev/null

# A three-day answer, as the program asks for it: the first 72 hours of a shipped sample.
python3 - "$root/service/feed/samples/27612.json" "$work/answer-72h.json" <<'PY'
import json, sys
answer = json.load(open(sys.argv[1]))
answer['hourly'] = {k: v[:72] for k, v in answer['hourly'].items()}
answer.update(timezone='Europe/Moscow', timezone_abbreviation='GMT+3', utc_offset_seconds=10800)
open(sys.argv[2], 'w').write(json.dumps(answer, ensure_ascii=False, separators=(',', ':')))
PY

floor=$(stat -c %s "$work/i686/json_parse_none.exe")
printf '| %-10s | %14s | %12s | %14s |\n' "Library" "i686 .exe, B" "added, B" "parse, µs"
printf '| %-10s | %14s | %12s | %14s |\n' "---" "---:" "---:" "---:"
for name in none nlohmann rapidjson; do
  size=$(stat -c %s "$work/i686/json_parse_$name.exe")
  micros=$("$work/native/json_parse_$name" "$work/answer-72h.json" 2000)
  printf '| %-10s | %14s | %12s | %14s |\n' "$name" "$size" "$((size - floor))" "$micros"
done
echo "answer: $(stat -c %s "$work/answer-72h.json") bytes, 72 hours"
