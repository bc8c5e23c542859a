# Downloads from the reference service, seen from outside.

begin "the first start downloads today's forecast"
service_fault none
dir=$(fresh_folder download)
start_program "$dir"
check "27612.txt arrives" wait_for_file_line "$dir/27612.txt" $'\r$'
check "the request went through the click counter" \
  grep -q '"target":"/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT"' "$VT_SERVICE_LOG_FILE"
check "with the program's agent" grep -q '\["User-Agent","Internet VOR Client"\]' "$VT_SERVICE_LOG_FILE"
driver tray WM_LBUTTONDOWN >/dev/null
check "a click shows its balloon" wait_until driver balloon-visible
sleep 1  # the balloon fades in
screenshot downloaded-forecast
check "exit" exit_program
end

begin "a silent service never blocks the UI and leaves the stored forecast alone"
dir=$(fresh_folder silent)
put_forecast "$dir" 27612
touch -d '13 hours ago' "$dir/27612.txt"
before=$(md5sum <"$dir/27612.txt")
service_fault never-answer
start_program "$dir"
ok=1
for _ in $(seq 1 10); do driver ping 2000 || ok=0; sleep 0.5; done
check "the hidden window answers while the download hangs" test "$ok" = 1
check "the stored forecast is intact" test "$(md5sum <"$dir/27612.txt")" = "$before"
service_fault none
check "exit" exit_program
end
