#!/usr/bin/env bash
# The hostile suite: what a pulled plug, a full disk, a double click on the program and a
# failing service do to the program and its files. Prints tries and failures for each case.
#   kills during the settings writes of start-up (complete, partial and 4 MB files, 30 each)
#   kills during downloads (30), then a restart: no stale temporary file stays
#   a full file system at start-up (a small tmpfs; skipped where mounting is not allowed)
#   two simultaneous starts in one folder (10 tries)
#   a login page in place of the forecast and the town list (5 tries)
#   the nine ordered pairs of connection modes, with and without a proxy user (20 switches)
#   a read-only program folder (a tmpfs mounted read-only; skipped where mounting is not allowed)
#   settings files saved as UTF-8 (6 tries)
#   a counter that redirects to itself for 5 minutes (VT_LOOP_MINUTES): requests, threads, CPU
#   the service's fault modes switched at random during refreshes, with the program's memory,
#   threads and handles sampled every 30 s (VT_SOAK_MINUTES, 10 by default)
#   the same faults on the open forecast API, «Обновить» pressed every 2 s and a stale forecast
#   retried every minute: at most one request in 10 minutes reaches it (VT_SOAK_MINUTES)
# usage: scripts/hostile.sh [CASE...]   (cases: settings_kills, download_kills, full_disk,
#                                         double_starts, login_page, credentials,
#                                         read_only_folder, utf8_settings, redirect_loop, soak,
#                                         api_soak;
#                                         all without one)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=session.sh
source scripts/session.sh
vt_session_open
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# shellcheck source=services.sh
source scripts/services.sh
# shellcheck source=product.sh
source scripts/product.sh
bash scripts/setup.sh || exit 1
soak_minutes=${VT_SOAK_MINUTES:-10}

# The product is the 32-bit build; where it cannot run, the same sources for 64-bit.
vt_pick_product
preset=$VT_PRESET kind=$VT_PREFIX_KIND
build="$root/build/$preset"
cmake --preset native >/dev/null && cmake --build --preset native -j "$(nproc)" --target vtservice >/dev/null || exit 1
cmake --preset "$preset" >/dev/null &&
  cmake --build --preset "$preset" -j "$(nproc)" --target vantoreltray driver startup_probe >/dev/null || exit 1

vt_wine_setup "$build" "$kind"
vt_display_start || exit 1
vt_wineserver_start
work="$build/hostile"
rm -rf "$work"
mkdir -p "$work"
# Any free port: every program folder names the service in its [service] section.
VT_SERVICE_PORT=$(vt_free_port)
vt_service_start "$root/build/native" "$work/service.log" --port "$VT_SERVICE_PORT" || exit 1
vt_tinyproxy_start "$work/tinyproxy" || exit 1
mounted=
vt_on_close '[ -z "$mounted" ] || umount "$mounted" 2>/dev/null || umount -l "$mounted"'

# The end-to-end tests' driver and dialog helpers.
BUILD=$build WORK=$work
# shellcheck source=../tests/e2e/lib.sh
source tests/e2e/lib.sh
probe() {
  "$VT_WINE" "$build/bench/startup/startup_probe.exe" "$@" >"$work/probe.out" 2>/dev/null
  local rc=$?
  tr -d '\r' <"$work/probe.out"
  return $rc
}

results=()
report() {  # report NAME TRIES FAILURES [NOTE]
  results+=("$(printf '| %-52s | %5s | %8s | %s' "$1" "$2" "$3" "${4:-}")")
  echo "=== $1: $2 tries, $3 failures ${4:-}"
}

# Starts the program in DIR; sets PROGRAM to the PID of its process.
start() {
  (cd "$1" && exec "$VT_WINE" ./vantoreltray.exe >/dev/null 2>&1) &
  PROGRAM=$!
  vt_record "$PROGRAM" vantoreltray.exe "$1"
}
# Ends it without a word, as a pulled plug does.
kill_program() {
  kill -9 "$PROGRAM" 2>/dev/null
  wait "$PROGRAM" 2>/dev/null
}
exit_program() {
  driver menu ExitTray >/dev/null
  local i
  for i in $(seq 1 100); do kill -0 "$PROGRAM" 2>/dev/null || return 0; sleep 0.1; done
  kill_program
}
random_ms() { echo $((RANDOM % $1)); }
sleep_ms() { sleep "$(awk -v m="$1" 'BEGIN { printf "%.3f", m / 1000 }')"; }

service_section() { vt_service_section "$VT_SERVICE_PORT"; }
# A folder holding the program and a settings file that names the service alone.
program_folder() {  # DIR (emptied, not removed: it may be a mount point)
  mkdir -p "$1"
  find "$1" -mindepth 1 -delete
  cp "$build/src/win32/vantoreltray.exe" "$1/"
  service_section >"$1/vantoreltray.ini"
}
complete_ini() {
  printf '%s\r\n' '[frc]' 'frctime=0,6,12,18' 'frcNewtime=0:01,6:02,12:03,18:04' 'frcTownIndex=27612' \
    'frcTownName=Москва' 'frcCountryName=Россия' '[settings]' 'breakBaloonCheked=10' \
    'viewFrcCheked=День+ночь' 'picOnIconStyle=2' 'viewIconCheked=Облачность и осадки' \
    'autoloadChecked=false' 'stateConnectChecked=1' 'Proxyserver=' 'ProxyPort=' 'userProxy=' \
    'passwdproxy=' 'viewIconColor=clRed' | to_cp1251
  service_section
}
partial_ini() {
  printf '%s\r\n' '[frc]' 'frcTownIndex=33345' 'frcTownName=Киев' '[settings]' 'viewIconColor=clRed' | to_cp1251
  service_section
}
large_ini() {  # made once, then copied
  if [ ! -f "$work/large.ini" ]; then
    { complete_ini; printf '[notes]\r\n'; LC_ALL=C awk 'BEGIN { for (i = 1; i <= 40000; i++) printf "note%05d=%0100d\r\n", i, 0 }'; } >"$work/large.ini"
  fi
  cat "$work/large.ini"
}

# The file after a kill must be the old one or the new one: every line of the old one that
# start-up does not rewrite is still there, and the file ends where a complete file ends.
settings_intact() {  # OLD NEW
  [ -s "$2" ] || return 1
  cmp -s "$1" "$2" && return 0
  [ -z "$(LC_ALL=C comm -23 <(grep -av '^frcNewtime=' "$1" | LC_ALL=C sort -u) <(LC_ALL=C sort -u "$2"))" ] || return 1
  # The last line is complete.
  [ "$(tail -c 2 "$2" | od -An -c | tr -d ' ')" = '\r\n' ]
}

settings_kills() {  # KIND: complete | partial | large
  local kind=$1 tries=30 failures=0 changed=0 try dir
  for try in $(seq 1 "$tries"); do
    dir="$work/kill-settings-$kind"
    rm -rf "$dir"; mkdir -p "$dir"
    cp "$build/src/win32/vantoreltray.exe" "$dir/"
    "${kind}_ini" >"$dir/vantoreltray.ini"
    cp "$dir/vantoreltray.ini" "$work/old.ini"
    start "$dir"
    # Start-up writes within about a quarter of a second of the start under Wine; reading and
    # copying the large file takes a few seconds more.
    if [ "$kind" = large ]; then sleep_ms $((30 + $(random_ms 4000))); else sleep_ms $((30 + $(random_ms 400))); fi
    kill_program
    if ! settings_intact "$work/old.ini" "$dir/vantoreltray.ini"; then
      failures=$((failures + 1))
      cp "$dir/vantoreltray.ini" "$work/failed-$kind-$try.ini"
    fi
    cmp -s "$work/old.ini" "$dir/vantoreltray.ini" || changed=$((changed + 1))
  done
  report "kill during the start-up writes, $kind file" "$tries" "$failures" \
    "($changed killed after the new file was in place, the others before)"
}

download_kills() {
  local tries=30 failures=0 try dir="$work/kill-download" stale
  program_folder "$dir"
  for try in $(seq 1 "$tries"); do
    rm -f "$dir/27612.txt"  # so that every start downloads
    start "$dir"
    sleep_ms $((100 + $(random_ms 900)))
    kill_program
    # One temporary file per target at most, never one per try.
    [ "$(find "$dir" -name '*.part' | wc -l)" -le 3 ] || failures=$((failures + 1))
  done
  find "$dir" -name '*.part' -exec touch -d '-2 minutes' {} +
  start "$dir"
  driver wait-main 20000 >/dev/null
  sleep 2
  stale=$(find "$dir" -name '*.part' -mmin +1 | wc -l)
  exit_program
  [ "$stale" -eq 0 ] || failures=$((failures + 1))
  report "kill during downloads, then a restart" "$((tries + 1))" "$failures" "($stale stale temporary files after the restart)"
}

full_disk() {
  local dir="$work/full"
  mkdir -p "$dir"
  if ! mount -t tmpfs -o size=2m tmpfs "$dir" 2>/dev/null; then
    report "a full file system at start-up" 0 0 "(skipped: mounting a tmpfs is not allowed here)"
    return
  fi
  mounted=$dir
  cp "$build/src/win32/vantoreltray.exe" "$dir/"
  partial_ini >"$dir/vantoreltray.ini"
  cp "$dir/vantoreltray.ini" "$work/old.ini"
  dd if=/dev/zero of="$dir/filler" bs=1k count=4096 2>/dev/null
  local failures=0 text
  start "$dir"
  text=$(driver dialog-text Vantorel.Tray 15000)
  grep -q '^Unable to write to .*vantoreltray\.ini\.$' <<<"$text" || failures=$((failures + 1))
  driver dialog-ok Vantorel.Tray >/dev/null
  sleep 1
  [ "$(driver count-dialogs Vantorel.Tray)" = 0 ] || failures=$((failures + 1))
  driver wait-main 1000 >/dev/null || failures=$((failures + 1))
  cmp -s "$work/old.ini" "$dir/vantoreltray.ini" || failures=$((failures + 1))
  exit_program
  umount "$dir" && mounted=
  report "a full file system at start-up" 1 "$failures" "(message: ${text:-none})"
}

double_starts() {
  local tries=10 failures=0 try dir first second
  for try in $(seq 1 "$tries"); do
    dir="$work/double-$try"
    rm -rf "$dir"; mkdir -p "$dir"
    cp "$build/src/win32/vantoreltray.exe" "$dir/"
    complete_ini >"$dir/vantoreltray.ini"
    cp "$dir/vantoreltray.ini" "$work/old.ini"
    start "$dir"; first=$PROGRAM
    start "$dir"; second=$PROGRAM
    sleep 4
    local alive=0
    kill -0 "$first" 2>/dev/null && alive=$((alive + 1))
    kill -0 "$second" 2>/dev/null && alive=$((alive + 1))
    [ "$alive" = 1 ] && [ "$(driver main-windows)" = 1 ] &&
      settings_intact "$work/old.ini" "$dir/vantoreltray.ini" &&
      [ "$(grep -ac '^\[frc\]' "$dir/vantoreltray.ini")" = 1 ] || failures=$((failures + 1))
    PROGRAM=$first; exit_program
    PROGRAM=$second; exit_program
  done
  report "two simultaneous starts in one folder" "$tries" "$failures"
}

soak() {
  local dir="$work/soak" modes=(none never-answer stall-body truncate-body endless-body error-page
    status-404 status-500 empty-body close-no-reply)
  program_folder "$dir"
  start "$dir"
  driver wait-main 20000 >/dev/null
  local end=$((SECONDS + soak_minutes * 60)) next_sample=$SECONDS pings=0 failures=0 samples=()
  while ((SECONDS < end)); do
    service_fault "${modes[RANDOM % ${#modes[@]}]}"
    driver menu Update >/dev/null
    if driver ping 2000; then pings=$((pings + 1)); else pings=$((pings + 1)); failures=$((failures + 1)); fi
    if ((SECONDS >= next_sample)); then
      # Windows threads from the probe; Wine answers another process's handle count with 0,
      # so the open file descriptors of its process stand for the handles.
      local threads private fds
      threads=$(probe counts VantorelTrayMain | cut -d' ' -f2)
      private=$(awk '/^Private_(Clean|Dirty):/ { kb += $2 } END { print kb }' "/proc/$PROGRAM/smaps_rollup" 2>/dev/null)
      fds=$(find "/proc/$PROGRAM/fd" -mindepth 1 2>/dev/null | wc -l)
      samples+=("$(printf '| %4d s | %8s | %7s | %14s |' "$((SECONDS - end + soak_minutes * 60))" "$private" \
        "$threads" "$fds")")
      next_sample=$((SECONDS + 30))
    fi
    sleep 2
  done
  service_fault none
  kill -0 "$PROGRAM" 2>/dev/null || failures=$((failures + 1))
  exit_program
  report "fault modes at random during refreshes, $soak_minutes min" "$pings" "$failures" "(pings answered within 2 s)"
  echo
  echo "| time | private KB | threads | file descriptors |"
  echo "|---:|---:|---:|---:|"
  printf '%s\n' "${samples[@]}"
}

# The open forecast API failing in every way, 429 with Retry-After and 5xx included, while the
# user presses «Обновить» every 2 s and the stale forecast is retried every minute: the API must
# see one request, and one more for each full 10 minutes.
api_soak() {
  local dir="$work/api-soak" modes=(never-answer stall-body truncate-body endless-body error-page
    status-404 status-500 status-429 empty-body close-no-reply)
  program_folder "$dir"
  printf '%s\r\n' '[service]' "forecastApi=http://127.0.0.1:$VT_SERVICE_PORT" \
    "geocodingApi=http://127.0.0.1:$VT_SERVICE_PORT" '[settings]' 'stateConnectChecked=1' \
    >"$dir/vantoreltray.ini"
  service_fault "${modes[RANDOM % ${#modes[@]}]}"
  local before
  before=$(grep -c '"target":"/v1/forecast' "$work/service.log")
  start "$dir"
  driver wait-main 20000 >/dev/null
  local end=$((SECONDS + soak_minutes * 60)) presses=0 failures=0
  while ((SECONDS < end)); do
    service_fault "${modes[RANDOM % ${#modes[@]}]}"
    driver menu Update >/dev/null
    presses=$((presses + 1))
    driver ping 2000 || failures=$((failures + 1))
    sleep 2
  done
  service_fault none
  local asked allowed=$((1 + soak_minutes / 10))
  asked=$(($(grep -c '"target":"/v1/forecast' "$work/service.log") - before))
  ((asked <= allowed)) || failures=$((failures + 1))
  kill -0 "$PROGRAM" 2>/dev/null || failures=$((failures + 1))
  exit_program
  report "the open forecast API failing, $soak_minutes min" "$presses" "$failures" \
    "($asked requests reached it, at most $allowed allowed; pings answered within 2 s)"
}

# A counter that sends every request back to itself, with a stale forecast so that the program
# retries every minute: requests, threads and the CPU time must stay bounded.
redirect_loop() {
  local dir="$work/redirect-loop" minutes=${VT_LOOP_MINUTES:-5} failures=0
  program_folder "$dir"
  service_fault redirect-loop all
  local before
  before=$(grep -c '"fault":"redirect-loop"' "$work/service.log")
  start "$dir"
  driver wait-main 20000 >/dev/null
  local ticks_before threads most=0 end=$((SECONDS + minutes * 60))
  ticks_before=$(cpu_ticks "$PROGRAM")
  while ((SECONDS < end)); do
    threads=$(probe counts VantorelTrayMain | cut -d' ' -f2)
    ((threads > most)) && most=$threads
    sleep 30
  done
  local requests cpu
  requests=$(($(grep -c '"fault":"redirect-loop"' "$work/service.log") - before))
  cpu=$(LC_ALL=C awk -v t=$(($(cpu_ticks "$PROGRAM") - ticks_before)) -v hz="$(getconf CLK_TCK)" \
    -v s=$((minutes * 60)) 'BEGIN { printf "%.1f", 100 * t / hz / s }')
  service_fault none
  # Eleven requests a try (the first and ten redirects), one try a minute.
  ((requests <= 11 * (minutes + 2))) || failures=$((failures + 1))
  ((most <= 6)) || failures=$((failures + 1))
  awk -v c="$cpu" 'BEGIN { exit !(c < 5) }' || failures=$((failures + 1))
  exit_program
  report "a redirect loop, $minutes min" 1 "$failures" \
    "($requests requests, at most $most threads, $cpu % of a core)"
}
# A hotel's login page answers 200 in place of the forecast and of the town list (asked for
# again with «Обновить»): the stored files stay as they were, and the town box says what came.
pages_served_above() { [ "$(grep -c '"fault":"error-page"' "$work/service.log")" -gt "$1" ]; }
login_page() {
  local tries=5 failures=0 try dir="$work/login-page" before pages
  for try in $(seq 1 "$tries"); do
    program_folder "$dir"
    printf 'the stored forecast\r\n' >"$dir/27612.txt"
    printf '27612;Москва;x;Россия;\r\n' | to_cp1251 >"$dir/vlbartlistfull.txt"
    touch -d '13 hours ago' "$dir/27612.txt" "$dir/vlbartlistfull.txt"
    before=$(md5sum "$dir/27612.txt" "$dir/vlbartlistfull.txt")
    pages=$(grep -c '"fault":"error-page"' "$work/service.log")
    service_fault error-page
    start "$dir"
    driver wait-main 20000 >/dev/null
    driver menu Install >/dev/null
    # The dialog loads the stored list; «Обновить» asks for it again.
    wait_until driver enabled "$PREFS" Button4
    driver click "$PREFS" Button4 >/dev/null
    # The forecast and the list were both answered with the page.
    wait_until pages_served_above $((pages + 1))
    if ! wait_until town_box_line_is 3 "Сервер прислал не список городов" ||
      [ "$before" != "$(md5sum "$dir/27612.txt" "$dir/vlbartlistfull.txt")" ] ||
      [ -n "$(find "$dir" -name '*.part')" ]; then
      failures=$((failures + 1))
      echo "login page, try $try: the box says [$(driver combo "$PREFS" ComboBox1 | sed -n 3p)]," \
        "$(grep -c '"fault":"error-page"' "$work/service.log") pages served"
      md5sum "$dir/27612.txt" "$dir/vlbartlistfull.txt"
    fi
    driver click "$PREFS" Button2 >/dev/null
    service_fault none
    exit_program
  done
  report "a login page in place of the forecast and the list" "$tries" "$failures"
}

# The nine ordered pairs of connection modes, with and without a user name, switched through
# the dialog: the service never sees the proxy's credentials.
credentials() {
  local dir="$work/credentials" failures
  program_folder "$dir"
  start "$dir"
  driver wait-main 20000 >/dev/null
  walk_connection_modes "$dir" "$work/service.log" "$work/tinyproxy/tinyproxy.log"
  exit_program
  failures=$((40 - WALK_SWITCHES - WALK_REQUESTS + WALK_LEAKS))
  report "connection modes switched in pairs, with and without a user" 20 "$failures" \
    "($WALK_LEAKS requests with Proxy-Authorization at the service)"
}

# A program folder the program cannot write: its files go to the user's own folder.
read_only_folder() {
  local dir="$work/read-only" failures=0 mine
  mkdir -p "$dir"
  if ! mount -t tmpfs -o size=4m tmpfs "$dir" 2>/dev/null; then
    report "a program folder that cannot be written" 0 0 "(skipped: mounting is not allowed here)"
    return
  fi
  mounted=$dir
  program_folder "$dir"
  mount -o remount,ro "$dir"
  mine=$(user_data_folder)
  rm -rf "$mine"
  start "$dir"
  driver wait-main 20000 >/dev/null
  wait_for_file_line "$mine/vantoreltray.ini" '^viewIconColor=' || failures=$((failures + 1))
  wait_for_file_line "$mine/27612.txt" $'\r$' || failures=$((failures + 1))
  [ "$(driver count-dialogs Vantorel.Tray)" = 0 ] || failures=$((failures + 1))
  exit_program
  umount "$dir" && mounted=
  rm -rf "$mine"
  report "a program folder that cannot be written" 1 "$failures" "(files in $mine)"
}

# Settings files saved as UTF-8, with and without a byte order mark.
utf8_settings() {
  local tries=6 failures=0 try dir="$work/utf8" name mark
  for try in $(seq 1 "$tries"); do
    program_folder "$dir"
    name="Город-$RANDOM Ёлкино"
    mark=$([ $((try % 2)) = 0 ] && printf '\xEF\xBB\xBF')
    { printf '%s' "$mark"; printf '%s\r\n' '[frc]' "frcTownName=$name" '[mine]' 'note=東京'
      service_section; } >"$dir/vantoreltray.ini"
    cp "$dir/vantoreltray.ini" "$work/utf8-original.ini"
    start "$dir"
    driver wait-main 20000 >/dev/null
    if ! wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor=' ||
      ! settings_is "$dir" frcTownName "$name" ||
      ! cmp -s "$dir/vantoreltray.ini.utf8" "$work/utf8-original.ini" ||
      [ "$(driver count-dialogs Vantorel.Tray)" != 0 ]; then
      failures=$((failures + 1))
    fi
    exit_program
  done
  report "settings files saved as UTF-8" "$tries" "$failures"
}

cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

cases=("$@")
((${#cases[@]})) || cases=(settings_kills download_kills full_disk double_starts login_page
  credentials read_only_folder utf8_settings redirect_loop soak api_soak)
for case in "${cases[@]}"; do
  case $case in
    settings_kills) settings_kills complete; settings_kills partial; settings_kills large ;;
    settings_kills_large) settings_kills large ;;
    download_kills | full_disk | double_starts | login_page | credentials | read_only_folder | \
      utf8_settings | redirect_loop | soak | api_soak) "$case" ;;
    *) echo "unknown case $case" >&2; exit 2 ;;
  esac
done

echo
echo "$(file -b "$build/src/win32/vantoreltray.exe" | cut -d, -f1), $kind prefix"
echo "| case | tries | failures | |"
echo "|---|---:|---:|---|"
printf '%s\n' "${results[@]}"
