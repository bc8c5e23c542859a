# Sourced by the test and demo scripts after scripts/session.sh: the reference weather service
# and a tinyproxy with Basic authentication, both on loopback only and recorded in the session.
# The service keeps its own port, 8717, since the program's default hosts name it; the proxy
# takes a free one.

VT_PROXY_USER=vantorel
VT_PROXY_PASSWORD=s3cret

# The [service] section of a settings file that names the reference service on PORT as the
# source and for every host the program uses (127.0.0.1 to 127.0.0.10).
vt_service_section() {  # vt_service_section PORT
  local key n=1
  printf '%s\r\n' '[service]' 'source=service'
  for key in counterHost dataHost mainSite uaSite newsSite fanSite aviaSite roadSite monthSite \
    tourismSite; do
    printf '%s=127.0.0.%d:%s\r\n' "$key" "$n" "$1"
    n=$((n + 1))
  done
}

vt_service_start() {  # vt_service_start BUILD_NATIVE_DIR LOG_FILE [vtservice options...]
  local native=$1 log=$2
  shift 2
  local out="$log.stdout"
  "$native/service/vtservice" --log "$log" "$@" >"$out" 2>&1 &
  local pid=$!
  vt_record "$pid" vtservice
  for _ in $(seq 1 100); do
    grep -q 'listening' "$out" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the reference service did not start:" >&2
  cat "$out" >&2
  return 1
}

vt_tinyproxy_start() {  # vt_tinyproxy_start DIR: sets and exports VT_PROXY_PORT
  local dir=$1
  mkdir -p "$dir"
  chmod 777 "$dir"
  VT_PROXY_PORT=$(vt_free_port)
  export VT_PROXY_PORT
  cat >"$dir/tinyproxy.conf" <<CONF
Port $VT_PROXY_PORT
Listen 127.0.0.1
Timeout 60
Allow 127.0.0.1
MaxClients 20
LogFile "$dir/tinyproxy.log"
LogLevel Info
DisableViaHeader Yes
BasicAuth $VT_PROXY_USER $VT_PROXY_PASSWORD
CONF
  rm -f "$dir/tinyproxy.log"  # a log of an earlier run would answer for this one
  tinyproxy -d -c "$dir/tinyproxy.conf" >"$dir/tinyproxy.out" 2>&1 &
  vt_record $! tinyproxy
  for _ in $(seq 1 50); do
    curl -s -o /dev/null --max-time 1 -x "http://127.0.0.1:$VT_PROXY_PORT" http://127.0.0.1:1/ && return 0
    sleep 0.1
  done
  echo "tinyproxy did not start:" >&2
  cat "$dir/tinyproxy.out" >&2
  return 1
}

# vt_stage_start BUILD KIND NATIVE: what the Windows tests and the end-to-end tests of BUILD
# run against: a display, a Wine prefix of KIND with its server, the reference service (its log
# in VT_SERVICE_LOG_FILE, and as a Windows path in VT_SERVICE_LOG) and the proxy.
vt_stage_start() {
  local build=$1 kind=$2 native=$3
  vt_wine_setup "$build" "$kind" || return 1
  vt_display_start || return 1
  vt_wineserver_start
  export VT_SERVICE_LOG_FILE="$build/service.log"
  rm -f "$VT_SERVICE_LOG_FILE"
  vt_service_start "$native" "$VT_SERVICE_LOG_FILE" || return 1
  vt_tinyproxy_start "$build/tinyproxy" || return 1
  VT_SERVICE_LOG=$("$VT_WINE" winepath -w "$VT_SERVICE_LOG_FILE" 2>/dev/null)
  export VT_SERVICE_LOG VT_STAGE=$build
}

# vt_feed_start TREE RUN [nginx.sh options...]: nginx (service/feed/nginx.sh) serving a vtfeed
# tree on a free loopback port, VT_FEED_HOST (127.0.0.1:PORT), its click counter allowed to
# send users to that host alone.
vt_feed_start() {
  local tree=$1 run=$2 root
  shift 2
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  VT_FEED_HOST=127.0.0.1:$(vt_free_port)
  mkdir -p "$run"
  printf '%s 1;\n' "$VT_FEED_HOST" >"$run/allowed-hosts.conf"
  bash "$root/service/feed/nginx.sh" start --hosts "$run/allowed-hosts.conf" "$@" "$tree" "$run" \
    "$VT_FEED_HOST" || return 1
  vt_record "$(cat "$run/nginx.pid")" nginx
}
