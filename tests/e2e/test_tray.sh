# The tray icon, its balloon, its menu and its links, seen from outside.

begin "balloon, popup menu and a restarted shell"
dir=$(fresh_folder tray)
put_forecast "$dir" 27612
start_program "$dir"
driver tray WM_LBUTTONDOWN >/dev/null
check "a click shows the balloon" wait_until driver balloon-visible
sleep 1  # the balloon fades in
screenshot balloon
driver tray WM_RBUTTONDOWN >/dev/null
check "a right click opens the menu" wait_until driver popup-visible
screenshot menu
xdotool key Escape 2>/dev/null || true
check "Esc closes it" wait_until not driver popup-visible
check "the shell's icon can be deleted" driver tray-delete
sleep 0.5  # the notification area repaints
screenshot icon-deleted
check "TaskbarCreated reaches the program" driver taskbar-created
check "the icon is back (a second delete finds it)" wait_until driver tray-delete
driver taskbar-created >/dev/null
sleep 0.5  # the icon is painted again
screenshot icon-restored
check "exit" exit_program
end

begin "web links through the click counter"
record_links
dir=$(fresh_folder links-ru)
put_forecast "$dir" 27612
start_program "$dir"
# One at a time, so that the shell hands them on in this order.
opened=0
for item in News ICQ Map Avia Auto Month Tourism Frc; do
  driver menu "$item" >/dev/null
  opened=$((opened + 1))
  wait_for_links "$opened" || break
done
check "eight links were opened" links_at_least 8
counter="http://127.0.0.1:8717/r.php?cl+TRAY+"
expected=$(printf '%s\n' "${counter}http://127.0.0.5:8717" "${counter}http://127.0.0.6:8717" \
  "${counter}http://127.0.0.3:8717/maps.htm" "${counter}http://127.0.0.7:8717" \
  "${counter}http://127.0.0.8:8717" "${counter}http://127.0.0.9:8717" \
  "${counter}http://127.0.0.10:8717" "${counter}http://127.0.0.3:8717/towns/27612.htm")
check "each address, character for character" test "$(cat "$WORK/links.txt")" = "$expected"
check "exit" exit_program
record_links
dir=$(fresh_folder links-ua)
printf '%s\r\n' '[frc]' 'frcTownIndex=33345' 'frcTownName=Киев' 'frcCountryName=Украина' |
  to_cp1251 >>"$dir/vantoreltray.ini"
put_forecast "$dir" 33345
start_program "$dir"
driver tray WM_LBUTTONDBLCLK >/dev/null
check "a double click opens the Ukrainian town page" wait_for_links 1
check "its address" test "$(cat "$WORK/links.txt")" = "${counter}http://127.0.0.4:8717/towns/33345.htm"
check "exit" exit_program
end

begin "the dialogs open and close"
dir=$(fresh_folder dialogs)
put_forecast "$dir" 27612
start_program "$dir"
check "the preferences window exists hidden" not driver window-visible "$PREFS"
driver menu Install >/dev/null
check "the menu shows the preferences" wait_until driver window-visible "$PREFS"
driver close-window "$PREFS" >/dev/null
check "closing hides them" wait_until not driver window-visible "$PREFS"
check "exit" exit_program
end
