# The default source, the open forecast API, with its two addresses pointed at the reference
# service on loopback: it answers from the feed's shipped samples moved to today.

api_section() {
  printf '%s\r\n' '[service]' "forecastApi=http://127.0.0.1:${VT_SERVICE_PORT:-8717}" \
    "geocodingApi=http://127.0.0.1:${VT_SERVICE_PORT:-8717}"
}

begin "a folder naming only the API's addresses shows today's weather of the samples"
service_fault none
dir=$(fresh_folder api)
api_section >"$dir/vantoreltray.ini"
log_start=$(($(wc -l <"$VT_SERVICE_LOG_FILE") + 1))
this_case_log() { tail -n +"$log_start" "$VT_SERVICE_LOG_FILE"; }
start_program "$dir"
check "27612.txt arrives" wait_for_file_line "$dir/27612.txt" $'\r$'
check "Moscow's place was asked for, on its own clock" eval 'this_case_log | grep -qF \
  "\"target\":\"/v1/forecast?latitude=55.7558&longitude=37.6173&hourly=temperature_2m,relative_humidity_2m,surface_pressure,wind_speed_10m,wind_direction_10m,weather_code,cloud_cover&timezone=auto&forecast_days=3\""'
check "one request, and none of the protocol" test "$(this_case_log | grep -c '"target":')" = 1
driver tray WM_LBUTTONDOWN >/dev/null
check "a click shows the balloon" wait_until driver balloon-visible
balloon=$(driver balloon-text)
sleep 1  # the balloon fades in
screenshot api-balloon
# The same weather the feed's case reads from vtfeed's files of the same samples.
check_moscow_samples_balloon "$balloon"
check "the settings file gained no [service] key" \
  test "$(grep -ac '^forecastApi=\|^geocodingApi=\|^source=' "$dir/vantoreltray.ini")" = 2
# The page «Прогноз на 3 дня» opens: a unit test checks the path handed to the shell, since
# this prefix's shell finds no program for ".htm" files (SHELL_FindExecutable returns none).
check "three days with the data's credit" eval 'grep -q "Прогноз на 3 дня: Москва" "$dir/27612.htm" &&
  grep -q "Данные о погоде: <a href=\"https://open-meteo.com/\">" "$dir/27612.htm"'
record_links
driver menu AboutTray >/dev/null
check "About opens" wait_until driver window-visible "$ABOUT"
check "About credits the data" \
  test "$(driver control-text "$ABOUT" Label5)" = "Данные о погоде: Open-Meteo.com (CC BY 4.0)"
check "About's layout" driver check-layout "$ABOUT"
screenshot api-about
driver mouse-click "$ABOUT" Label7 >/dev/null
check "its link opens open-meteo.com" wait_for_links 1
check "exactly that address" test "$(cat "$WORK/links.txt")" = "https://open-meteo.com/"
driver click "$ABOUT" Button1 >/dev/null
check "exit" exit_program
end

begin "a town found by name: «Тул», «Найти», Тула, «Ок»"
dir=$(fresh_folder api-search)
api_section >"$dir/vantoreltray.ini"
log_start=$(($(wc -l <"$VT_SERVICE_LOG_FILE") + 1))
start_program "$dir"
check "the forecast of the default town arrives" wait_for_file_line "$dir/27612.txt" $'\r$'
check "the preferences open on the built-in towns" open_preferences
check "the refresh button reads «Найти»" test "$(driver control-text "$PREFS" Button4)" = "Найти"
builtin=$(grep -c '^[0-9]' "$root/service/feed/towns.csv")
check "all $builtin of them, Москва chosen" test "$(driver combo "$PREFS" ComboBox1 | sed -n '1p;3p' | tr '\n' ' ')" = "$builtin Москва "
driver set-text "$PREFS" ComboBox1 "Т" >/dev/null
driver click "$PREFS" Button4 >/dev/null
check "one letter asks for nothing" wait_until eval \
  'test "$(driver control-text "$PREFS" ComboBox1)" = "Введите не менее двух букв названия"'
driver set-text "$PREFS" ComboBox1 "Тул" >/dev/null
driver click "$PREFS" Button4 >/dev/null
check "three found, then the built-in towns" wait_until town_box_line_is 1 "$((builtin + 3))"
check "the name went to the geocoding API" eval 'this_case_log | grep -qF \
  "\"target\":\"/v1/search?name=%D0%A2%D1%83%D0%BB&count=30&language=ru&format=json\""'
screenshot api-search-found
driver select "$PREFS" ComboBox1 0 >/dev/null
check "the first found is Тула" town_box_line_is 3 "Тула"
driver click "$PREFS" Button1 >/dev/null
check "the dialog closes" wait_until not driver window-visible "$PREFS"
check "Тула's place is asked for" wait_until eval 'this_case_log | grep -qF \
  "\"target\":\"/v1/forecast?latitude=54.1961&longitude=37.6182&"'
check "its forecast is stored" wait_for_file_line "$dir/00480562.txt" $'\r$'
check "the ini holds the town" settings_is "$dir" frcTownIndex 00480562
check "and its name" settings_is "$dir" frcTownName Тула
check "and its place" eval 'settings_is "$dir" frcTownLatitude 54.1961 && settings_is "$dir" frcTownLongitude 37.6182'
check "the balloon shows its weather" wait_until eval 'driver balloon-text | grep -q "день: "'
screenshot api-search-balloon
check "exit" exit_program
end

begin "a wrong answer says so and keeps no file"
dir=$(fresh_folder api-wrong)
api_section >"$dir/vantoreltray.ini"
service_fault error-page
start_program "$dir"
says_wrong_data() {
  driver tray WM_LBUTTONDOWN >/dev/null
  wait_until driver balloon-visible && driver balloon-text | grep -qF "Сервис прогнозов прислал неверные данные"
}
check "the balloon says the data were wrong" wait_until says_wrong_data
screenshot api-wrong-data
check "no forecast file is stored" test ! -e "$dir/27612.txt"
service_fault none
check "exit" exit_program
end

begin "a folder without [service] asks Open-Meteo's own addresses, through the system's proxy"
# The prefix's Internet settings name the reference service as the proxy, so the program's
# default mode (the system's settings) sends its request there and nothing leaves the machine.
internet='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
"$VT_WINE" reg add "$internet" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$VT_WINE" reg add "$internet" /v ProxyServer /d "127.0.0.1:${VT_SERVICE_PORT:-8717}" /f >/dev/null 2>&1
dir=$(fresh_folder api-defaults)
rm "$dir/vantoreltray.ini"
log_start=$(($(wc -l <"$VT_SERVICE_LOG_FILE") + 1))
start_program "$dir"
check "the forecast API's own host was asked for" wait_until eval \
  'this_case_log | grep -qF "\"method\":\"CONNECT\",\"target\":\"api.open-meteo.com:443\""'
check "exit" exit_program
"$VT_WINE" reg delete "$internet" /v ProxyEnable /f >/dev/null 2>&1
"$VT_WINE" reg delete "$internet" /v ProxyServer /f >/dev/null 2>&1
check "nothing but that was asked" test "$(this_case_log | grep -vc '"method":"CONNECT","target":"api.open-meteo.com:443"')" = 0
check "the settings file has no [service]" not grep -qa '^\[service\]' "$dir/vantoreltray.ini"
end
