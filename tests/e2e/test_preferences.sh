# The preferences dialog and the About box, driven as a user would, against the reference
# service (VT_SERVICE_LOG_FILE) and the tinyproxy of scripts/services.sh (VT_PROXY_PORT).

RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# Ten presses of Tab from the town box visit, in turn, what the driver reads from the control
# table as the dialog stands.
tab_goes_round() {  # TITLE
  local order=() want=() seen=() i start=0
  mapfile -t order < <(driver tab-order "$1")
  ((${#order[@]})) || return 1
  for i in "${!order[@]}"; do [ "${order[i]}" = "$(driver focused "$1")" ] && start=$i; done
  for i in $(seq 1 10); do want+=("${order[(start + i) % ${#order[@]}]}"); done
  for i in "${!want[@]}"; do
    driver key "$1" Tab >/dev/null
    wait_until test "$(driver focused "$1")" = "${want[i]}" || true
    seen+=("$(driver focused "$1")")
  done
  echo "    Tab order: ${seen[*]}"
  [ "${seen[*]}" = "${want[*]}" ]
}

begin "preferences: the list, a town typed, the temperature in red, a proxy with a password"
dir=$(fresh_folder "prefs with blank")
"$VT_WINE" reg delete "$RUN_KEY" /v VantorelTray /f >/dev/null 2>&1
# Direct at first; OK switches to the proxy seconds after the direct download, and the refresh
# must go to the proxy, not down a connection kept from the direct one.
printf '%s\r\n' '[settings]' 'stateConnectChecked=1' >>"$dir/vantoreltray.ini"
log_from=$(($(wc -l <"$VT_SERVICE_LOG_FILE") + 1))
start_program "$dir"
wait_for_file_line "$dir/27612.txt" $'\r$' || true
check "the dialog opens with the list from the service" open_preferences
combo=$(driver combo "$PREFS" ComboBox1)
check "153 towns, the current one selected" test "$(echo "$combo" | sed -n '1p;3p' | tr '\n' ' ')" = "153 Москва "
check "moved onto the small desktop" on_screen "$PREFS"
check "the town box has the focus" test "$(driver focused "$PREFS")" = ComboBox1
check "every control inside its parent, every caption fits" driver check-layout "$PREFS"
check "Tab follows the table's order" tab_goes_round "$PREFS"
screenshot prefs-general
driver type "$PREFS" ComboBox1 "санкт" >/dev/null
combo=$(driver combo "$PREFS" ComboBox1)
check "typing the beginning completes the name" test "$(echo "$combo" | sed -n 3p)" = "Санкт-Петербург"
check "and selects its entry" test "$(echo "$combo" | sed -n 2p)" = 1
driver click "$PREFS" RadioButton4 >/dev/null  # Температура
check "the colour box follows the icon type" wait_until driver enabled "$PREFS" ColorBox1
check "the style box is off" not driver enabled "$PREFS" ComboBox2
driver select "$PREFS" ColorBox1 10 >/dev/null  # Красный
driver click "$PREFS" RadioButton6 >/dev/null   # 15
driver page "$PREFS" ConnectionPage >/dev/null
driver click "$PREFS" RadioButton8 >/dev/null   # Прямое соединение
check "the proxy fields follow the mode" wait_until not driver enabled "$PREFS" Edit1
driver click "$PREFS" RadioButton10 >/dev/null  # proxy
check "and come back with it" wait_until driver enabled "$PREFS" Edit1
driver set-text "$PREFS" Edit1 127.0.0.1 >/dev/null
driver set-text "$PREFS" Edit2 "$VT_PROXY_PORT" >/dev/null
driver set-text "$PREFS" Edit3 vantorel >/dev/null
driver set-text "$PREFS" Edit4 s3cret >/dev/null
screenshot prefs-connection
driver click "$PREFS" Button1 >/dev/null  # Ок
check "OK writes the chosen town" wait_until settings_is "$dir" frcTownIndex 26063
check "its name and country" test "$(settings_value "$dir" frcTownName)/$(settings_value "$dir" frcCountryName)" = "Санкт-Петербург/Россия"
check "the icon type, colour and delay" \
  test "$(settings_value "$dir" viewIconCheked)/$(settings_value "$dir" viewIconColor)/$(settings_value "$dir" breakBaloonCheked)" = "Температура/clRed/15"
check "the connection" \
  test "$(settings_value "$dir" stateConnectChecked)/$(settings_value "$dir" ProxyServer)/$(settings_value "$dir" ProxyPort)/$(settings_value "$dir" userProxy)/$(settings_value "$dir" passwdProxy)" = "3/127.0.0.1/$VT_PROXY_PORT/vantorel/s3cret"
check "the names are stored in code page 1251" grep -qa "^frcTownName=$(printf 'Санкт-Петербург' | to_cp1251)"$'\r' "$dir/vantoreltray.ini"
run=$("$VT_WINE" reg query "$RUN_KEY" /v VantorelTray 2>/dev/null | tr -d '\r' | grep VantorelTray)
check "the Run value holds the quoted path" test "$(echo "$run" | sed -E 's/^ *VantorelTray +REG_SZ +//')" = "\"$("$VT_WINE" winepath -w "$dir" 2>/dev/null | tr -d '\r')\\vantoreltray.exe\""
check "the new town's forecast is fetched" wait_until grep -q 'BTR26063.TXT' "$VT_SERVICE_LOG_FILE"
check "through the proxy" wait_until grep -q 'BTR26063' "$BUILD/tinyproxy/tinyproxy.log"
check "the service never saw the proxy's password" \
  not eval 'tail -n "+$log_from" "$VT_SERVICE_LOG_FILE" | grep -q Proxy-Authorization'
check "and stored" wait_for_file_line "$dir/26063.txt" $'\r$'
sleep 1  # the icon is redrawn from the stored forecast
screenshot prefs-ok-red-digits
"$VT_WINE" reg delete "$RUN_KEY" /v VantorelTray /f >/dev/null 2>&1
check "exit" exit_program
end

begin "the colour box: Другой... opens the colour dialog by list or keys, Cancel keeps the entry shown"
dir=$(fresh_folder prefs-colour)
put_forecast "$dir" 27612
printf '%s\r\n' '[settings]' 'viewIconCheked=Температура' 'viewIconColor=$00336699' >>"$dir/vantoreltray.ini"
start_program "$dir"
check "opened" open_preferences
modules=$(driver loaded-modules)
check "the colour dialog's library is not loaded before it is needed" \
  eval 'grep -qi "^vantoreltray.exe$" <<<"$modules" && ! grep -qi "^comdlg32.dll$" <<<"$modules"'
colour_entry() { driver combo "$PREFS" ColorBox1 | sed -n 2p; }
check "a colour of the user's own shows as Другой..." test "$(colour_entry)" = 0
driver select "$PREFS" ColorBox1 0 >/dev/null  # Другой... picked again from the list
check "the colour dialog opens" wait_until driver window-visible "$COLOUR"
check "once" test "$(driver count-dialogs "$COLOUR")" = 1
check "its library loaded now" eval 'driver loaded-modules | grep -qi "^comdlg32.dll$"'
screenshot prefs-colour-dialog
driver close-window "$COLOUR" >/dev/null
check "Cancel closes it" wait_until not driver window-visible "$COLOUR"
check "Другой... is still shown" test "$(colour_entry)" = 0
driver click "$PREFS" Button1 >/dev/null  # Ок
check "OK keeps the user's colour" wait_until settings_is "$dir" viewIconColor '$00336699'
check "opened again" open_preferences
driver focus "$PREFS" ColorBox1 >/dev/null
driver key "$PREFS" Down >/dev/null
check "Down in the closed box shows Чёрный" wait_until test "$(colour_entry)" = 1
check "without a dialog" not driver window-visible "$COLOUR"
driver key "$PREFS" Up >/dev/null
check "Up onto Другой... opens the colour dialog" wait_until driver window-visible "$COLOUR"
driver close-window "$COLOUR" >/dev/null
check "Cancel shows Чёрный again" wait_until test "$(colour_entry)" = 1
check "and no second dialog follows" not driver window-visible "$COLOUR"
driver select "$PREFS" ColorBox1 15 >/dev/null  # the longest name, whole in the closed box
screenshot prefs-colour-longest-name
driver click "$PREFS" Button2 >/dev/null
check "exit" exit_program
end

begin "a change of the scaling: the dialogs and the icon follow the new DPI"
dir=$(fresh_folder prefs-dpi)
put_forecast "$dir" 27612
start_program "$dir"
check "the icon at the system's size" wait_until test "$(driver icon-size)" = 16
driver main-dpi-changed 144 >/dev/null
check "drawn again at 24 px for 150 %" wait_until test "$(driver icon-size)" = 24
check "opened" open_preferences
driver dpi-changed "$PREFS" 144 >/dev/null
check "the preferences follow the table at 144 DPI" wait_until driver check-layout-at "$PREFS" 144
# 150 % of the dialog is taller than this small desktop: its corner stays on the screen.
check "its corner stays on the screen" eval '[ "$(driver window-rect "$PREFS" | cut -d" " -f1-2)" = "0 0" ]'
screenshot prefs-rescaled-144
driver click "$PREFS" Button3 >/dev/null  # О программе
check "About opens" wait_until driver window-visible "$ABOUT"
driver dpi-changed "$ABOUT" 144 >/dev/null
check "About follows the table at 144 DPI" wait_until driver check-layout-at "$ABOUT" 144
screenshot about-rescaled-144
driver dpi-changed "$ABOUT" 96 >/dev/null
check "and back at 96 DPI" wait_until driver check-layout-at "$ABOUT" 96
driver click "$ABOUT" Button1 >/dev/null
driver dpi-changed "$PREFS" 96 >/dev/null
check "the preferences back at 96 DPI" wait_until driver check-layout-at "$PREFS" 96
driver main-dpi-changed 96 >/dev/null
check "the icon back at 16 px" wait_until test "$(driver icon-size)" = 16
driver click "$PREFS" Button2 >/dev/null
check "exit" exit_program
end

begin "Cancel, Esc and the close box change nothing; About from both places"
record_links
dir=$(fresh_folder prefs-cancel)
put_forecast "$dir" 27612
start_program "$dir"
wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor=' || true
before=$(md5sum <"$dir/vantoreltray.ini")
check "opened" open_preferences
driver click "$PREFS" RadioButton4 >/dev/null
driver click "$PREFS" Button2 >/dev/null
check "Cancel hides it" wait_until not driver window-visible "$PREFS"
check "opened again" open_preferences
check "the icon type is filled from the settings again" driver checked "$PREFS" RadioButton3
driver key "$PREFS" Esc >/dev/null
check "Esc hides it" wait_until not driver window-visible "$PREFS"
check "opened a third time" open_preferences
driver close-window "$PREFS" >/dev/null
check "the close box hides it" wait_until not driver window-visible "$PREFS"
check "the settings file is untouched" test "$(md5sum <"$dir/vantoreltray.ini")" = "$before"
open_preferences >/dev/null
driver click "$PREFS" Button3 >/dev/null  # О программе
check "About opens from the preferences" wait_until driver window-visible "$ABOUT"
check "the preferences' own button stays on" driver enabled "$PREFS" Button3
check "About's layout" driver check-layout "$ABOUT"
check "its link shows the fan site" test "$(driver control-text "$ABOUT" Label4)" = "http://127.0.0.6:8717/"
screenshot about
driver mouse-click "$ABOUT" Label4 >/dev/null
driver mouse-click "$ABOUT" Label7 >/dev/null
check "both links open the fan site" wait_for_links 2
check "its address" test "$(sort -u "$WORK/links.txt")" = "http://127.0.0.6:8717/"
driver key "$ABOUT" Esc >/dev/null
check "Esc closes About" wait_until not driver window-visible "$ABOUT"
driver menu AboutTray >/dev/null
check "About from the menu" wait_until driver window-visible "$ABOUT"
check "turns the preferences' button off" not driver enabled "$PREFS" Button3
driver click "$ABOUT" Button1 >/dev/null
check "Ok closes About" wait_until not driver window-visible "$ABOUT"
check "and the preferences' button works again" driver enabled "$PREFS" Button3
driver click "$PREFS" Button2 >/dev/null
check "exit" exit_program
end

begin "a Run value of the wrong type stops OK with one message"
dir=$(fresh_folder prefs-dword)
put_forecast "$dir" 27612
"$VT_WINE" reg add "$RUN_KEY" /v VantorelTray /t REG_DWORD /d 1 /f >/dev/null 2>&1
start_program "$dir"
wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor=' || true
before=$(md5sum <"$dir/vantoreltray.ini")
check "opened" open_preferences
driver click "$PREFS" Button1 >/dev/null
text=$(driver dialog-text Vantorel.Tray 10000)
check "the message" test "$(echo "$text" | tail -n 1)" = "Invalid data type for 'VantorelTray'."
check "exactly one box" test "$(driver count-dialogs Vantorel.Tray)" = 1
screenshot prefs-invalid-type
driver dialog-ok Vantorel.Tray >/dev/null
check "the box closes" wait_until test "$(driver count-dialogs Vantorel.Tray)" = 0
check "the settings file keeps its old content" test "$(md5sum <"$dir/vantoreltray.ini")" = "$before"
"$VT_WINE" reg delete "$RUN_KEY" /v VantorelTray /f >/dev/null 2>&1
check "exit" exit_program
end

begin "a town list of one line is shown, not taken; a refresh against a failing service"
dir=$(fresh_folder prefs-one-line)
put_forecast "$dir" 27612
printf '26063;Санкт-Петербург;x;Россия;\r\n' | to_cp1251 >"$dir/vlbartlistfull.txt"
start_program "$dir"
driver menu Install >/dev/null
check "the one town is shown" wait_until town_box_line_is 1 1
check "OK is enabled by the load" wait_until driver enabled "$PREFS" Button1
driver select "$PREFS" ComboBox1 0 >/dev/null
driver click "$PREFS" Button1 >/dev/null
check "OK keeps the town" wait_until settings_is "$dir" frcTownName Москва
check "and takes the rest" settings_is "$dir" autoloadChecked true
service_fault status-500
driver menu Install >/dev/null
wait_until driver enabled "$PREFS" Button4 >/dev/null
driver click "$PREFS" Button4 >/dev/null  # Обновить
check "a failed refresh with a fresh copy loads the copy" \
  wait_until town_box_line_is 1 1
touch -d '13 hours ago' "$dir/vlbartlistfull.txt"
driver click "$PREFS" Button4 >/dev/null
check "a stale copy does not stand in: the connection message" \
  wait_until town_box_line_is 3 "Не удалось установить соединение с сервером погоды Vantorel"
check "no entries then" town_box_line_is 1 0
rm -f "$dir/vlbartlistfull.txt"
driver click "$PREFS" Button2 >/dev/null
driver menu Install >/dev/null
check "without a copy the connection message" \
  wait_until town_box_line_is 3 "Не удалось установить соединение с сервером погоды Vantorel"
check "and the refresh button is on" driver enabled "$PREFS" Button4
service_fault none
driver click "$PREFS" Button2 >/dev/null
"$VT_WINE" reg delete "$RUN_KEY" /v VantorelTray /f >/dev/null 2>&1
check "exit" exit_program
end

begin "a list of 20,000 towns fills the town box in one go"
dir=$(fresh_folder prefs-20000)
put_forecast "$dir" 27612
awk 'BEGIN { for (i = 0; i < 20000; i++) printf "%05d;Город номер %d;x;Россия;\r\n", 10000 + i, i }' |
  to_cp1251 >"$dir/vlbartlistfull.txt"
start_program "$dir"
t0=$(date +%s%N)
driver menu Install >/dev/null
check "all 20,000 entries" wait_until town_box_line_is 1 20000
t1=$(date +%s%N)
echo "    figure: menu command to 20,000 entries in $(( (t1 - t0) / 1000000 )) ms (driver polls every 0.1 s)"
check "the window answers right after" driver ping 2000
driver click "$PREFS" Button2 >/dev/null
check "exit" exit_program
end
