# One program per folder: a second start wakes the first and touches no file; copies in other
# folders run side by side. Temporary files of interrupted writes are cleared at start-up.

main_windows_are() { test "$(driver main-windows)" = "$1"; }

begin "a second start in the same folder"
dir=$(fresh_folder instances)
start_program "$dir"
check "the first start writes its settings" wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor='
check "and downloads the forecast" wait_for_file_line "$dir/27612.txt" $'\r$'
before=$(ls -l --time-style=full-iso "$dir"; md5sum "$dir"/*)
check "no balloon yet" not driver balloon-visible
started=$(date +%s%N)
(cd "$dir" && timeout 20 "$VT_WINE" ./vantoreltray.exe >/dev/null 2>&1)
took_ms=$((($(date +%s%N) - started) / 1000000))
check "the second start ends by itself (in $took_ms ms)" test "$took_ms" -lt 15000
check "one main window" main_windows_are 1
check "the first one shows its balloon" wait_until driver balloon-visible
screenshot second-start-balloon
check "no file was touched" test "$before" = "$(ls -l --time-style=full-iso "$dir"; md5sum "$dir"/*)"
first=$E2E_PROGRAM_PID
launch_program "$(fresh_folder instances-elsewhere)"
check "a copy in another folder runs beside it" wait_until main_windows_are 2
driver menu ExitTray >/dev/null
check "one of them ends through its menu" wait_until main_windows_are 1
check "and the other" exit_program
E2E_PROGRAM_PID=$first
check "both processes end" wait_until not kill -0 "$first" 2>/dev/null
end

begin "leftovers of interrupted writes"
dir=$(fresh_folder leftovers)
for name in 27612.txt.part vantoreltray.ini.part 27612.txt.4711.part; do
  printf 'half' >"$dir/$name"
  touch -d '-2 minutes' "$dir/$name"
done
printf 'fresh' >"$dir/vlbartlistfull.txt.part"
start_program "$dir"
check "the settings file is written" wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor='
# The forecast download may be writing its own 27612.txt.part right now: only stale ones count.
stale_temporaries() { find "$dir" -name '*.part' ! -newermt '-90 seconds'; }
check "temporary files older than a minute are gone" test -z "$(stale_temporaries)"
check "a fresh one stays" test -e "$dir/vlbartlistfull.txt.part"
check "exit" exit_program
end

begin "a start-up write keeps the sections the program does not write"
dir=$(fresh_folder service-kept)
printf '%s\r\n' '[frc]' 'frcTownIndex=27612' '[service]' 'source=service' 'dataHost=127.0.0.3:8717' \
  '[mine]' 'note=kept' |
  to_cp1251 >"$dir/vantoreltray.ini"
start_program "$dir"
check "start-up adds its keys" wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor='
check "[service] is kept" grep -qa '^dataHost=127.0.0.3:8717' "$dir/vantoreltray.ini"
check "the user's section is kept" grep -qa '^note=kept' "$dir/vantoreltray.ini"
check "no copy is left" test ! -e "$dir/vantoreltray.ini.part"
check "exit" exit_program
end
