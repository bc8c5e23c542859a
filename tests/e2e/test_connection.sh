# The proxy's credentials reach the proxy and nothing else, whatever the switches of mode made in
# the preferences: the service's log never shows Proxy-Authorization.

proxy_log="$BUILD/tinyproxy/tinyproxy.log"
traffic() { cat "$VT_SERVICE_LOG_FILE" "$proxy_log" 2>/dev/null | wc -l; }

begin "credentials go to the proxy alone, through every switch of mode"
dir=$(fresh_folder connection-walk)
put_forecast "$dir" 27612
start_program "$dir"
walk_connection_modes "$dir" "$VT_SERVICE_LOG_FILE" "$proxy_log"
check "20 switches through the dialog ($WALK_SWITCHES)" test "$WALK_SWITCHES" = 20
check "each followed by a request ($WALK_REQUESTS)" test "$WALK_REQUESTS" = 20
check "the proxy saw requests with the password" grep -q 'BTR27612' "$proxy_log"
check "the service never saw Proxy-Authorization ($WALK_LEAKS times)" test "$WALK_LEAKS" = 0
check "exit" exit_program
end

begin "a proxy user without a proxy address: no request, a message, OK still works"
dir=$(fresh_folder connection-no-address)
put_forecast "$dir" 27612
printf '%s\r\n' '[settings]' 'stateConnectChecked=3' 'ProxyServer=' 'ProxyPort=' \
  'userProxy=vantorel' 'passwdProxy=s3cret' >>"$dir/vantoreltray.ini"
before=$(traffic)
start_program "$dir"
driver menu Update >/dev/null
driver tray WM_LBUTTONDOWN >/dev/null
check "the tray says what is missing" \
  wait_until eval 'driver balloon-text | grep -q "Не указан адрес proxy-сервера"'
check "the dialog's OK still works" choose_connection 3 "" vantorel
check "and nothing reached the service or the proxy" test "$(traffic)" = "$before"
check "exit" exit_program
end
