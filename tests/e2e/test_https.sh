# HTTPS to the open forecast API on loopback: the certificate is checked by the system, and
# through the explicit proxy the credentials go to the proxy on the CONNECT, never to the API.
# The API is the reference service behind nginx with a certificate of an authority made for this
# run; only this test's Wine prefix is told to trust it.

tls_run="$WORK/tls"
proxy_log="$BUILD/tinyproxy/tinyproxy.log"
tls_port=$(bash "$root/scripts/tls-api.sh" start "$tls_run" "${VT_SERVICE_PORT:-8717}")
[ -s "$tls_run/nginx.pid" ] && vt_record "$(cat "$tls_run/nginx.pid")" nginx tls-api
https_ini() {  # MODE: the API on https, the connection mode, the proxy with its password
  printf '%s\r\n' '[service]' "forecastApi=https://localhost:$tls_port" \
    "geocodingApi=https://localhost:$tls_port" '[settings]' "stateConnectChecked=$1" \
    'ProxyServer=127.0.0.1' "ProxyPort=${VT_PROXY_PORT:-}" "userProxy=$VT_PROXY_USER" \
    "passwdProxy=$VT_PROXY_PASSWORD"
}
api_requests() { grep -c 'GET /v1/forecast' "$tls_run/access.log" 2>/dev/null || true; }
balloon_says() {  # TEXT
  driver tray WM_LBUTTONDOWN >/dev/null
  wait_until driver balloon-visible && driver balloon-text | grep -qF "$1"
}

begin "a certificate of an authority the system does not trust is refused"
dir=$(fresh_folder https-untrusted)
https_ini 1 >"$dir/vantoreltray.ini"
start_program "$dir"
check "the tray says the connection failed" \
  wait_until balloon_says "Не удалось установить соединение с сервисом прогнозов Open-Meteo"
check "no forecast is stored" test ! -e "$dir/27612.txt"
check "no request reached the API" test "$(api_requests)" = 0
check "exit" exit_program
end

begin "with the authority in this prefix's Root store the forecast comes over HTTPS"
ca=$("$VT_WINE" winepath -w "$tls_run/ca.der" 2>/dev/null)
check "the authority is added to the prefix's Root store" \
  "$VT_WINE" "$BUILD/tests/e2e/trust_root.exe" "$ca"
dir=$(fresh_folder https-direct)
https_ini 1 >"$dir/vantoreltray.ini"
start_program "$dir"
check "27612.txt arrives" wait_for_file_line "$dir/27612.txt" $'\r$'
check "the API answered one request" test "$(api_requests)" = 1
check "exit" exit_program
end

begin "through the proxy with a password: the CONNECT carries it, the tunnel does not"
dir=$(fresh_folder https-proxy)
https_ini 3 >"$dir/vantoreltray.ini"
before=$(api_requests)
start_program "$dir"
check "27612.txt arrives through the tunnel" wait_for_file_line "$dir/27612.txt" $'\r$'
check "the proxy saw the CONNECT" grep -q "CONNECT localhost:$tls_port" "$proxy_log"
# tinyproxy refuses a CONNECT without the password: the tunnel stands only with it.
check "and opened the tunnel, so the password came with it" \
  grep -q 'Established connection to host "localhost"' "$proxy_log"
check "the API saw the request" test "$(api_requests)" -gt "$before"
check "the API never saw Authorization or Proxy-Authorization" \
  not grep -v 'auth="-" proxy_auth="-"$' "$tls_run/access.log"
[ "$E2E_CASE_OK" = 1 ] || { echo "    the API's log:"; cat "$tls_run/access.log"; grep -a "CONNECT\|auth" "$proxy_log" | tail -5; }
check "exit" exit_program
end

bash "$root/scripts/tls-api.sh" stop "$tls_run" >/dev/null
