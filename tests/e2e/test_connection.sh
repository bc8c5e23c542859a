# The proxy's credentials reach the proxy and nothing else, whatever the switches of mode made in
# the preferences: the service's log never shows Proxy-Authorization.

# Sets the connection page as a user would and presses OK: MODE 1 direct, 2 the system's
# settings, 3 the proxy; SERVER and USER may be empty.
choose_connection() {  # MODE SERVER USER
  driver menu Install >/dev/null
  wait_until driver window-visible "$PREFS" || return 1
  # OK is enabled once the town list has loaded or failed to.
  wait_until driver enabled "$PREFS" Button1 || return 1
  driver page "$PREFS" ConnectionPage >/dev/null
  driver click "$PREFS" RadioButton10 >/dev/null
  wait_until driver enabled "$PREFS" Edit1 || return 1
  driver set-text "$PREFS" Edit1 "$2" >/dev/null
  driver set-text "$PREFS" Edit2 "$VT_PROXY_PORT" >/dev/null
  driver set-text "$PREFS" Edit3 "$3" >/dev/null
  driver set-text "$PREFS" Edit4 "${3:+s3cret}" >/dev/null
  driver click "$PREFS" "RadioButton$((7 + $1))" >/dev/null
  driver click "$PREFS" Button1 >/dev/null
  wait_until not driver window-visible "$PREFS"
}

# Lines of both logs: every refresh adds to one of them (a refused one to the proxy's).
traffic() { cat "$VT_SERVICE_LOG_FILE" "$BUILD/tinyproxy/tinyproxy.log" 2>/dev/null | wc -l; }
traffic_above() { [ "$(traffic)" -gt "$1" ]; }
# The service's log from line FROM on: the Windows tests before have used it as a proxy.
service_log_from() { tail -n "+$1" "$VT_SERVICE_LOG_FILE"; }

begin "credentials go to the proxy alone, through every switch of mode"
dir=$(fresh_folder connection-walk)
put_forecast "$dir" 27612
log_from=$(($(wc -l <"$VT_SERVICE_LOG_FILE") + 1))
start_program "$dir"
# This walk takes each of the nine ordered pairs of modes once. Without the stored forecast,
# every OK downloads it.
walk=(1 1 2 2 3 3 1 3 2 1)
switches=0 refreshed=0
for user in vantorel ""; do
  for mode in "${walk[@]}"; do
    wait_until not test -e "$dir/27612.txt.part"
    rm -f "$dir/27612.txt"
    before=$(traffic)
    choose_connection "$mode" 127.0.0.1 "$user" && switches=$((switches + 1))
    wait_until traffic_above "$before" && refreshed=$((refreshed + 1))
  done
done
check "20 switches through the dialog ($switches)" test "$switches" = 20
check "each followed by a request ($refreshed)" test "$refreshed" = 20
check "the proxy saw requests with the password" grep -q 'BTR27612' "$BUILD/tinyproxy/tinyproxy.log"
check "the service never saw Proxy-Authorization" \
  not eval 'service_log_from "$log_from" | grep -q Proxy-Authorization'
check "exit" exit_program
end

begin "a proxy user without a proxy address: no request, a message, OK still works"
dir=$(fresh_folder connection-no-address)
put_forecast "$dir" 27612
printf '%s\r\n' '[settings]' 'stateConnectChecked=3' 'ProxyServer=' 'ProxyPort=' \
  'userProxy=vantorel' 'passwdProxy=s3cret' >"$dir/vantoreltray.ini"
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
