# Helpers of the end-to-end tests, sourced by run.sh. Expects BUILD (the Windows build folder),
# WORK (a scratch folder), the Wine environment of scripts/wine-env.sh and an open session of
# scripts/session.sh, which records every program started here.

E2E_PASSED=0
E2E_FAILED=0

PREFS="Vantorel.Tray: Настройка"
ABOUT="Vantorel.Tray"
# The system's colour dialog, as Wine names it in Russian.
COLOUR="Выбор цвета"

driver() { "$VT_WINE" "$BUILD/tests/e2e/driver.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

begin() { E2E_CASE_OK=1; echo "--- $1"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "    ok: $what"; else echo "    FAILED: $what"; E2E_CASE_OK=0; fi
}
end() {
  if [ "$E2E_CASE_OK" = 1 ]; then E2E_PASSED=$((E2E_PASSED + 1)); else E2E_FAILED=$((E2E_FAILED + 1)); fi
}
not() { ! "$@"; }

wait_until() {  # COMMAND...: true within 10 s
  for _ in $(seq 1 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# A fresh program folder holding only the program; prints its path.
# Its settings name the weather service of the protocol as their source, so that nothing leaves
# the machine; a case writes its own settings after that section (>>).
fresh_folder() {
  local dir="$WORK/$1"
  rm -rf "$dir"; mkdir -p "$dir"
  cp "$BUILD/src/win32/vantoreltray.exe" "$dir/"
  service_source_section >"$dir/vantoreltray.ini"
  printf '%s\n' "$dir"
}

service_source_section() { printf '%s\r\n' '[service]' 'source=service'; }

# Starts the program in DIR without waiting for it; E2E_PROGRAM_PID is its process.
launch_program() {  # DIR
  (cd "$1" && exec "$VT_WINE" ./vantoreltray.exe >/dev/null 2>&1) &
  E2E_PROGRAM_PID=$!
  vt_record "$E2E_PROGRAM_PID" vantoreltray.exe "$1"
}

start_program() {  # DIR: true once its main window exists
  launch_program "$1"
  driver wait-main 20000
}

# Ends the program through its menu and waits for the process; false when it does not end.
exit_program() {
  driver menu ExitTray >/dev/null || true
  wait_until not kill -0 "$E2E_PROGRAM_PID" 2>/dev/null && return 0
  kill "$E2E_PROGRAM_PID" 2>/dev/null
  return 1
}

file_has_line() { [ -f "$1" ] && grep -qa -E "$2" "$1"; }  # FILE REGEX
wait_for_file_line() { wait_until file_has_line "$@"; }  # FILE REGEX

screenshot() {  # NAME
  mkdir -p "$SCREENS"
  # The display may be larger than Wine's desktop, which sits in its top-left corner.
  import -window root -crop "${E2E_DESKTOP:-800x600}+0+0" +repage "$SCREENS/$1.png" 2>/dev/null &&
    echo "    screenshot: $SCREENS/$1.png"
}

to_cp1251() { iconv -f UTF-8 -t CP1251; }

# Switches the reference service's fault mode (none, never-answer, status-500...), for the data
# files or, with SCOPE all, for the counter too.
service_fault() {  # MODE [SCOPE]
  curl -s -o /dev/null --max-time 5 \
    "http://127.0.0.1:${VT_SERVICE_PORT:-8717}/control/fault?mode=$1&scope=${2:-data}"
}

# A stored forecast for today, written now, so the program shows it without a download.
put_forecast() {  # put_forecast DIR INDEX
  local today tomorrow
  today=$(date -u +%F)
  tomorrow=$(date -u -d tomorrow +%F)
  local day night
  day=$("$VT_TOOL" encode --period 1 --date "$today" --sky 7 --temp -5 --pressure 748 \
    --humidity 85 --wind-dir 3 --wind-speed 4)
  night=$("$VT_TOOL" encode --period 3 --date "$tomorrow" --sky 3 --temp -9 --pressure 750 \
    --humidity 90 --wind-dir 2 --wind-speed 2)
  printf '%s\r\n%s\r\n' "$day" "$night" >"$1/$2.txt"
}

# Every address the program hands to the shell's browser lands in $WORK/links.txt, which
# starts empty.
record_links() {
  local recorder="$WORK/record-link.sh"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/links.txt"\n' "$WORK" >"$recorder"
  chmod +x "$recorder"
  "$VT_WINE" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$recorder" /f >/dev/null 2>&1
  : >"$WORK/links.txt"
}

links_at_least() { [ "$(wc -l <"$WORK/links.txt")" -ge "$1" ]; }
wait_for_links() { wait_until links_at_least "$1"; }  # COUNT

# The value of KEY in DIR's settings file, as UTF-8.
settings_value() {  # DIR KEY
  iconv -f CP1251 -t UTF-8 "$1/vantoreltray.ini" | tr -d '\r' | grep -i -m1 "^$2=" | cut -d= -f2-
}
settings_is() { test "$(settings_value "$1" "$2")" = "$3"; }  # DIR KEY VALUE

# The balloon of Moscow's shipped samples (the same weather in every day and every night period),
# whichever source served them: the day in the file is today's until 18:00 Moscow time (UTC+3),
# then tomorrow's.
check_moscow_samples_balloon() {  # BALLOON
  local day night rest
  if [ "$(TZ=Etc/GMT-3 date +%H)" -lt 18 ]; then day=$(TZ=Etc/GMT-3 date +%-d/%-m); else
    day=$(TZ=Etc/GMT-3 date -d tomorrow +%-d/%-m); fi
  night=$(TZ=Etc/GMT-3 date -d tomorrow +%-d/%-m)
  rest="Давление 748 мм, Влажность 85%, Ветер юго-восточный, 4 м/с"
  check "the day: $day" grep -qE "^$day [^,]+, день: Переменная облачность. Снег, -4..-6 °C, $rest\$" <<<"$1"
  rest="Давление 750 мм, Влажность 90%, Ветер восточный, 2 м/с"
  check "the night: $night" grep -qE "^$night [^,]+, ночь: Облачно, -8..-10 °C, $rest\$" <<<"$1"
  [ "$E2E_CASE_OK" = 1 ] || printf '    the balloon read:\n%s\n' "$1"
}

town_box_line_is() { test "$(driver combo "$PREFS" ComboBox1 | sed -n "$1p")" = "$2"; }  # LINE TEXT
town_box_has_entries() { [ "$(driver combo "$PREFS" ComboBox1 | head -n 1)" -gt 1 ] 2>/dev/null; }

# The preferences opened from the menu, waiting until the town box has its list.
open_preferences() {
  driver menu Install >/dev/null
  wait_until town_box_has_entries
}

# The window's outer rectangle lies on the screen.
on_screen() {  # TITLE
  local w r
  read -r -a w <<<"$(driver screen)"
  read -r -a r <<<"$(driver window-rect "$1")"
  [ "${#r[@]}" = 4 ] && [ "${r[0]}" -ge "${w[0]}" ] && [ "${r[1]}" -ge "${w[1]}" ] &&
    [ "${r[2]}" -le "${w[2]}" ] && [ "${r[3]}" -le "${w[3]}" ]
}

window_left_top_is() {  # TITLE LEFT TOP
  local r
  read -r -a r <<<"$(driver window-rect "$1")"
  [ "${r[0]}" = "$2" ] && [ "${r[1]}" = "$3" ]
}

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

# The Unix path of the user's own data folder in this prefix (where a program folder that
# cannot be written sends the files).
user_data_folder() {
  local local_app_data
  local_app_data=$("$VT_WINE" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
  "$VT_WINE" winepath -u "$local_app_data\\Vantorel.Tray" 2>/dev/null | tr -d '\r'
}

# Takes the nine ordered pairs of connection modes once each (the walk 1 1 2 2 3 3 1 3 2 1),
# with a user name and then without, through the dialog; the stored forecast is removed before
# each OK, so that every OK downloads it. Sets WALK_SWITCHES (OKs pressed), WALK_REQUESTS (OKs
# followed by a line in either log) and WALK_LEAKS (lines of the service's log from the walk
# holding Proxy-Authorization).
walk_connection_modes() {  # DIR SERVICE_LOG PROXY_LOG
  local dir=$1 service_log=$2 proxy_log=$3 user mode before from
  lines_of_logs() { cat "$service_log" "$proxy_log" 2>/dev/null | wc -l; }
  more_lines_than() { [ "$(lines_of_logs)" -gt "$1" ]; }
  from=$(($(wc -l <"$service_log") + 1))
  WALK_SWITCHES=0 WALK_REQUESTS=0
  for user in vantorel ""; do
    for mode in 1 1 2 2 3 3 1 3 2 1; do
      wait_until not test -e "$dir/27612.txt.part"
      rm -f "$dir/27612.txt"
      before=$(lines_of_logs)
      choose_connection "$mode" 127.0.0.1 "$user" && WALK_SWITCHES=$((WALK_SWITCHES + 1))
      wait_until more_lines_than "$before" && WALK_REQUESTS=$((WALK_REQUESTS + 1))
    done
  done
  WALK_LEAKS=$(tail -n "+$from" "$service_log" | grep -c Proxy-Authorization)
}
