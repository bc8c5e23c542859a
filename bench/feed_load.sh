#!/usr/bin/env bash
# Load on loopback, side by side: nginx (service/feed/nginx.sh, 2 workers) and the reference
# service, on the same forecast file and on the counter's redirect, at 10, 100 and 1000
# connections. Prints one table: requests a second, p99 latency and wrk's error counts.
# usage: bench/feed_load.sh     (VT_BENCH_SECONDS=5 a run, 12 runs; VT_SERVICE=the vtservice
#                               to copy, build/native/service/vtservice by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=../scripts/session.sh
source scripts/session.sh
vt_session_open
# shellcheck source=../scripts/services.sh
source scripts/services.sh
seconds=${VT_BENCH_SECONDS:-5}
service_bin=${VT_SERVICE:-$root/build/native/service/vtservice}
for tool in wrk curl "${VT_NGINX:-/usr/sbin/nginx}"; do
  command -v "$tool" >/dev/null || { echo "feed_load: $tool is not installed" >&2; exit 1; }
done
[ -x "$service_bin" ] || {
  echo "feed_load: no $service_bin (cmake --build --preset native --target vtservice)" >&2
  exit 1
}

# 1000 connections need as many descriptors in wrk and in nginx; raise the soft limit as far
# as the hard one lets.
hard=$(ulimit -Hn)
[ "$hard" = unlimited ] && hard=1048576
ulimit -n "$hard" 2>/dev/null || ulimit -n 65536 2>/dev/null || true
if [ "$(ulimit -n)" != unlimited ] && [ "$(ulimit -n)" -lt 2100 ]; then
  echo "feed_load: only $(ulimit -n) file descriptors; the 1000-connection runs will fail" >&2
fi

work="$root/build/feed/bench"
rm -rf "$work"
mkdir -p "$work/native/service" "$work/tree/data"
# A copy of the service of our own, run by services.sh and stopped by its PID.
cp "$service_bin" "$work/native/service/vtservice"
# The request logs of both grow by some 100 MB a run; the wrk outputs stay in $work.
vt_on_close 'rm -f "$work/service.log" "$work/nginx/access.log" "$work/nginx/clicks.log"'
vt_service_start "$work/native" "$work/service.log"

# The exact bytes the service serves go into the nginx tree, so both send the same file.
curl -sf --max-time 5 -o "$work/tree/data/BTR27612.TXT" http://127.0.0.2:8717/data/BTR27612.TXT
vt_feed_start "$work/tree" "$work/nginx" --workers 2 --connections 4096 >/dev/null
nginx_listen=$VT_FEED_HOST

# name|url|status a single request must give before the load
targets=(
  "nginx|http://$nginx_listen/data/BTR27612.TXT|200"
  "nginx|http://$nginx_listen/r.php?sh+TRAY+http://$nginx_listen/data/BTR27612.TXT|302"
  "vtservice|http://127.0.0.2:8717/data/BTR27612.TXT|200"
  "vtservice|http://127.0.0.1:8717/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT|302"
)
for row in "${targets[@]}"; do
  IFS='|' read -r name url want <<<"$row"
  got=$(curl -s -o /dev/null --max-time 5 -w '%{http_code}' "$url" || true)
  [ "$got" = "$want" ] || { echo "feed_load: $name $url gave $got, not $want" >&2; exit 1; }
done
curl -s "http://$nginx_listen/data/BTR27612.TXT" | cmp -s - "$work/tree/data/BTR27612.TXT" ||
  { echo "feed_load: nginx does not serve the service's bytes" >&2; exit 1; }

echo "machine: $(nproc) cores, $(uname -m), $(nginx -v 2>&1 | sed 's/.*: //'), $(wrk -v 2>&1 | head -n 1 | cut -d' ' -f1-2)"
echo "wrk -t2 -d${seconds}s --latency --timeout 2s; forecast file $(stat -c %s "$work/tree/data/BTR27612.TXT") bytes"
echo
printf '| %-9s | %-8s | %5s | %9s | %9s | %7s | %7s | %5s | %7s | %11s |\n' \
  server request conns 'req/s' 'p99 ms' connect read write timeout 'non-2xx/3xx'
printf '|%s|\n' '---|---|---:|---:|---:|---:|---:|---:|---:|---:'
for conns in 10 100 1000; do
  for row in "${targets[@]}"; do
    IFS='|' read -r name url _ <<<"$row"
    request="file"
    [[ $url == *r.php* ]] && request=redirect
    out="$work/wrk-$name-$request-$conns.txt"
    wrk -t2 -c"$conns" -d"${seconds}s" --latency --timeout 2s "$url" >"$out" 2>&1 || true
    # wrk prints "Socket errors" and "Non-2xx or 3xx responses" only when there were some.
    awk -v name="$name" -v request="$request" -v conns="$conns" '
      function ms(v) {
        if (v ~ /us$/) return v / 1000
        if (v ~ /ms$/) return v + 0
        if (v ~ /m$/) return v * 60000
        if (v ~ /s$/) return v * 1000
        return v
      }
      /^ +99% / { p99 = ms($2) }
      /^Requests\/sec:/ { rps = $2 }
      /Socket errors:/ { gsub(",", ""); c = $4; r = $6; w = $8; t = $10 }
      /Non-2xx or 3xx responses:/ { bad = $5 }
      END {
        printf "| %-9s | %-8s | %5d | %9.0f | %9s | %7d | %7d | %5d | %7d | %11d |\n",
          name, request, conns, rps, (p99 == "" ? "-" : sprintf("%.2f", p99)), c, r, w, t, bad
      }' "$out"
  done
done
