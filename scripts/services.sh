# Sourced by the test and demo scripts: the reference weather service and a tinyproxy with Basic
# authentication, both on loopback only, and stopped again by the PIDs started here.

VT_PROXY_PORT=8718
VT_PROXY_USER=vantorel
VT_PROXY_PASSWORD=s3cret

vt_service_start() {  # vt_service_start BUILD_NATIVE_DIR LOG_FILE [vtservice options...]
  local native=$1 log=$2
  shift 2
  local out="$log.stdout"
  "$native/service/vtservice" --log "$log" "$@" >"$out" 2>&1 &
  VT_SERVICE_PID=$!
  local i
  for i in $(seq 1 100); do
    grep -q 'listening' "$out" 2>/dev/null && return 0
    kill -0 "$VT_SERVICE_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "the reference service did not start:" >&2
  cat "$out" >&2
  return 1
}

vt_tinyproxy_start() {  # vt_tinyproxy_start DIR
  local dir=$1
  mkdir -p "$dir"
  chmod 777 "$dir"
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
  tinyproxy -d -c "$dir/tinyproxy.conf" >"$dir/tinyproxy.out" 2>&1 &
  VT_TINYPROXY_PID=$!
  local i
  for i in $(seq 1 50); do
    curl -s -o /dev/null --max-time 1 -x "http://127.0.0.1:$VT_PROXY_PORT" http://127.0.0.1:1/ && return 0
    sleep 0.1
  done
  echo "tinyproxy did not start:" >&2
  cat "$dir/tinyproxy.out" >&2
  return 1
}

vt_services_stop() {
  local pid
  for pid in ${VT_SERVICE_PID:-} ${VT_TINYPROXY_PID:-}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  VT_SERVICE_PID=
  VT_TINYPROXY_PID=
}
