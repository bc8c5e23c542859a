# Downloads from the reference service, seen from outside. Needs VT_SERVICE_LOG_FILE.

control() { curl -s -o /dev/null --max-time 5 "http://127.0.0.1:8717/control/fault?mode=$1"; }

if [ -n "${VT_SERVICE_LOG_FILE:-}" ]; then
  begin "the first start downloads today's forecast"
  control none
  dir=$(fresh_folder download)
  start_program "$dir"
  check "27612.txt arrives" wait_for_file_line "$dir/27612.txt" $'\r$'
  check "the request went through the click counter" \
    grep -q '"target":"/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT"' "$VT_SERVICE_LOG_FILE"
  check "with the program's agent" grep -q '\["User-Agent","Internet VOR Client"\]' "$VT_SERVICE_LOG_FILE"
  sleep 1
  driver tray 0x201 >/dev/null
  sleep 3
  screenshot downloaded-forecast
  check "exit" exit_program
  end

  begin "a silent service never blocks the UI and leaves the stored forecast alone"
  dir=$(fresh_folder silent)
  put_forecast "$dir" 27612
  touch -d '13 hours ago' "$dir/27612.txt"
  before=$(md5sum <"$dir/27612.txt")
  control never-answer
  start_program "$dir"
  ok=1
  for _ in $(seq 1 10); do driver ping 2000 || ok=0; sleep 0.5; done
  check "the hidden window answers while the download hangs" test "$ok" = 1
  check "the stored forecast is intact" test "$(md5sum <"$dir/27612.txt")" = "$before"
  control none
  check "exit" exit_program
  end
fi
