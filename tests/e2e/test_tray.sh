# The tray icon, its balloon, its menu and its links, seen from outside.

begin "balloon, popup menu and a restarted shell"
dir=$(fresh_folder tray)
put_forecast "$dir" 27612
start_program "$dir"
sleep 2
driver tray 0x201 >/dev/null
sleep 3
screenshot balloon
driver tray 0x204 >/dev/null
sleep 1.5
screenshot menu
xdotool key Escape 2>/dev/null || true
sleep 0.5
check "the shell's icon can be deleted" driver tray-delete
sleep 0.5
screenshot icon-deleted
check "TaskbarCreated reaches the program" driver taskbar-created
sleep 1
screenshot icon-restored
check "the icon is back (a second delete finds it)" driver tray-delete
driver taskbar-created >/dev/null
check "exit" exit_program
end

begin "web links through the click counter"
register_link_recorder
rm -f "$WORK/links.txt"
dir=$(fresh_folder links-ru)
put_forecast "$dir" 27612
start_program "$dir"
for item in 100 101 102 103 104 105 106 107; do driver command $item >/dev/null; sleep 0.3; done
check "eight links were opened" wait_for_links 8
counter="http://127.0.0.1:8717/r.php?cl+TRAY+"
expected=$(printf '%s\n' "${counter}http://127.0.0.5:8717" "${counter}http://127.0.0.6:8717" \
  "${counter}http://127.0.0.3:8717/maps.htm" "${counter}http://127.0.0.7:8717" \
  "${counter}http://127.0.0.8:8717" "${counter}http://127.0.0.9:8717" \
  "${counter}http://127.0.0.10:8717" "${counter}http://127.0.0.3:8717/towns/27612.htm")
check "each address, character for character" test "$(cat "$WORK/links.txt")" = "$expected"
check "exit" exit_program
rm -f "$WORK/links.txt"
dir=$(fresh_folder links-ua)
printf '%s\r\n' '[frc]' 'frcTownIndex=33345' 'frcTownName=Киев' 'frcCountryName=Украина' |
  to_cp1251 >"$dir/vantoreltray.ini"
put_forecast "$dir" 33345
start_program "$dir"
driver tray 0x203 >/dev/null
check "a double click opens the Ukrainian town page" wait_for_links 1
check "its address" test "$(cat "$WORK/links.txt")" = "${counter}http://127.0.0.4:8717/towns/33345.htm"
check "exit" exit_program
end

begin "the dialogs open and close"
dir=$(fresh_folder dialogs)
put_forecast "$dir" 27612
start_program "$dir"
check "the preferences window exists hidden" sh -c '! "$0" "$1" window-visible "Vantorel.Tray: Настройка"' "$VT_WINE" "$BUILD/tests/e2e/driver.exe"
driver command 109 >/dev/null
sleep 0.5
check "the menu shows the preferences" driver window-visible "Vantorel.Tray: Настройка"
driver close-window "Vantorel.Tray: Настройка" >/dev/null
sleep 0.5
check "closing hides them" sh -c '! "$0" "$1" window-visible "Vantorel.Tray: Настройка"' "$VT_WINE" "$BUILD/tests/e2e/driver.exe"
check "exit" exit_program
end
