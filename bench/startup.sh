#!/usr/bin/env bash
# Start-up, memory, idle, responsiveness and the preferences dialog of the product, each against
# a floor program that does the same work for that figure and no more (bench/startup/floor_tray.cpp,
# three levels). Prints one table from one run, with the ratios and whether each target is met.
# usage: bench/startup.sh      (VT_BENCH_RUNS=15 alternating start-ups by default: a Wine
#                              process start varies by tens of milliseconds from run to run;
#                              VT_BENCH_DIALOG_RUNS=5 openings of the dialog each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=../scripts/session.sh
source scripts/session.sh
vt_session_open
# shellcheck source=../scripts/wine-env.sh
source scripts/wine-env.sh
# shellcheck source=../scripts/services.sh
source scripts/services.sh
# shellcheck source=../scripts/product.sh
source scripts/product.sh
bash scripts/setup.sh
runs=${VT_BENCH_RUNS:-15}
dialog_runs=${VT_BENCH_DIALOG_RUNS:-5}
# A step that fails says which, instead of ending the script without a word.
trap 'echo "startup bench: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
fail() {
  echo "startup bench: $*" >&2
  exit 1
}

vt_pick_product
preset=$VT_PRESET kind=$VT_PREFIX_KIND
build="$root/build/$preset"
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target vtservice >/dev/null
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target vantoreltray floor_tray_1 floor_tray_2 \
  floor_tray_3 startup_probe >/dev/null

vt_wine_setup "$build" "$kind"
# Wine runs in the Russian locale; the figures here are read and printed with decimal points.
awk() { LC_ALL=C command awk "$@"; }
sort() { LC_ALL=C command sort "$@"; }
vt_display_start
work="$build/startup-bench"
rm -rf "$work"
mkdir -p "$work"

# The shell's own record of every icon change: the desktop's explorer takes the environment of
# the program that starts it, so this one starts it first, with time stamps on the systray
# channel; a held desktop keeps it for the whole run.
wineserver -p
vt_record "$(vt_wineserver_pid)" wineserver "$WINEPREFIX"
probe_exe="$build/bench/startup/startup_probe.exe"
WINEDEBUG=+timestamp,+systray "$VT_WINE" explorer.exe /desktop=Default,800x600 \
  >/dev/null 2>"$work/shell.log" &
vt_record $! explorer
"$VT_WINE" "$probe_exe" hold >/dev/null 2>&1 &
vt_record $! startup_probe hold

port=$(vt_free_port)
vt_service_start "$root/build/native" "$work/service.log" --port "$port"
# Through a file, not a pipe: a program the probe starts inherits its standard output, and would
# hold a pipe open for as long as it runs.
probe() {
  local rc=0
  "$VT_WINE" "$probe_exe" "$@" >"$work/probe.out" 2>"$work/probe.err" || rc=$?
  tr -d '\r' <"$work/probe.out"
  [ $rc -eq 0 ] || echo "startup bench: probe $1: $(tr -d '\r' <"$work/probe.err")" >&2
  return $rc
}
control() { curl -s -o /dev/null "http://127.0.0.1:$port/control/fault?mode=$1"; }

# Who is measured: a folder, an executable and its window class.
declare -A exe class
programs=(product icon ready download)
for who in "${programs[@]}"; do
  mkdir -p "$work/$who"
  class[$who]=VantorelFloorTray
done
cp "$build/src/win32/vantoreltray.exe" "$work/product/"
class[product]=VantorelTrayMain
n=1
for who in icon ready download; do
  cp "$build/bench/startup/floor_tray_$n.exe" "$work/$who/"
  n=$((n + 1))
done
for who in "${programs[@]}"; do
  exe[$who]=$("$VT_WINE" winepath -w "$(ls "$work/$who/"*.exe)" 2>/dev/null | tr -d '\r')
done
settings_caption="Vantorel.Tray: Настройка"
floor_settings_caption="Floor settings"
settings_command=109

# The first start writes the settings and fetches the town's forecast; every folder then holds
# both, as on every later day.
vt_service_section "$port" >"$work/product/vantoreltray.ini"
probe launch "${exe[product]}" "${class[product]}" 2 >/dev/null
for _ in $(seq 1 100); do [ -s "$work/product/27612.txt" ] && break; sleep 0.1; done
sleep 1
probe stop "${class[product]}"
[ -s "$work/product/27612.txt" ] || fail "the first start fetched no forecast (service log: $work/service.log)"
grep -q 'trace:systray:add_icon' "$work/shell.log" ||
  fail "the shell keeps no record of icons ($work/shell.log): its explorer was started without the trace"
for who in icon ready download; do
  cp "$work/product/vantoreltray.ini" "$work/product/27612.txt" "$work/$who/"
done

# The ready floor's dialogs must hold as many controls of each class as the product's.
controls_of() {  # WHO
  probe launch "${exe[$1]}" "${class[$1]}" 2 >/dev/null
  probe windows "${class[$1]}" | sort
  probe stop "${class[$1]}"
}
product_controls=$(controls_of product)
floor_controls=$(controls_of ready)
[ "$product_controls" = "$floor_controls" ] ||
  fail "the floor's dialogs no longer match the product's: product: $product_controls; floor: $floor_controls"

# Alternating start-ups; each line: start on the shell's clock (ms), window ms[, ready ms]. The
# icon is timed in starts where the probe waits for nothing after the window (with no polling to
# slow the program down), ready in starts of their own.
starts=("product 0" "icon 0" "product 2" "ready 2")
for start in "${starts[@]}"; do : >"$work/${start/ /-}.times"; done
# Two rounds first that are not counted: the first starts after the set-up run slower for all.
for round in $(seq -1 "$runs"); do
  for start in "${starts[@]}"; do
    read -r who wait_for <<<"$start"
    times="$work/$who-$wait_for.times"
    [ "$round" -gt 0 ] || times=/dev/null
    probe launch "${exe[$who]}" "${class[$who]}" "$wait_for" >>"$times"
    sleep 1
    probe stop "${class[$who]}"
    sleep 0.5
  done
done

# The shell's record of each start: icon changes (an add, or a modify that is not the add's own)
# after the start and before the next start of anything, "start ms" per line.
awk '/trace:systray:(add|modify)_icon/ {
       split($1, t, ":"); hwnd = $NF
       if ($0 ~ /add_icon/) { printf "%.1f\n", t[1] * 1000; added = hwnd; next }
       if (added == hwnd) { added = ""; next }
       printf "%.1f\n", t[1] * 1000 }' "$work/shell.log" >"$work/changes"
cat "$work"/*.times | awk '{ print $1 }' | sort -n >"$work/starts"
# forecast_icon WHO N: ms from each start to the program's Nth icon change.
forecast_icon() {
  awk -v n="$2" 'FNR == NR { starts[++s] = $1; next }
       FILENAME ~ /changes/ { change[++c] = $1; next }
       { start = $1; next_start = 1e18
         for (i = 1; i <= s; i++) if (starts[i] > start) { next_start = starts[i]; break }
         k = 0
         for (i = 1; i <= c; i++) if (change[i] >= start && change[i] < next_start && ++k == n) {
           printf "%.1f\n", change[i] - start; break }
         if (k < n) { print "missing" } }' "$work/starts" "$work/changes" "$work/$1-0.times"
}
# The product first shows its greeting icon, then the stored forecast; a floor shows the forecast.
forecast_icon product 2 >"$work/product.icon"
forecast_icon icon 1 >"$work/icon.icon"
! grep -q missing "$work/product.icon" "$work/icon.icon" ||
  fail "a start left no icon change in the shell's record ($work/shell.log)"

# Where the product's time to its forecast icon goes: five more starts with Wine's own trace of
# the tray and profile calls (the program inherits the probe's debug settings and error output).
: >"$work/phases"
for _ in 1 2 3 4 5; do
  WINEDEBUG=+timestamp,+systray,+profile "$VT_WINE" "$probe_exe" launch "${exe[product]}" \
    "${class[product]}" 0 >"$work/probe.out" 2>"$work/trace.log"
  start_ms=$(tr -d '\r' <"$work/probe.out" | awk '{ print $1 }')
  sleep 0.5
  probe stop "${class[product]}"
  # The first line of each kind after the start, as ms from it.
  awk -v s="$start_ms" 'function at(line) { split(line, t, ":"); return t[1] * 1000 - s }
       /dwMessage = 0/ && !add { add = at($0) }
       /trace:profile:GetPrivateProfile/ && add && !read { read = at($0) }
       /trace:profile:WritePrivateProfile/ && !write { write = at($0) }
       /trace:profile:GetPrivateProfile/ && write && !service { service = at($0) }
       /trace:profile:GetPrivateProfile/ && !modify { done = at($0) }
       /dwMessage = 1/ && !modify { modify = at($0) }
       END { printf "%.1f %.1f %.1f %.1f %.1f %.1f\n", add, read - add, write - read,
               service - write, done - service, modify - done }' "$work/trace.log" >>"$work/phases"
done

# Linux processes by their own command lines: exactly one, or a reason.
pid_of() {  # pid_of WINDOWS_PATH
  local found=() p
  for p in /proc/[0-9]*; do
    # Wine pads the command line it rewrites with NUL bytes.
    [ "$( { tr -d '\0' <"$p/cmdline"; } 2>/dev/null)" = "$1" ] && found+=("${p#/proc/}")
  done
  if [ "${#found[@]}" -ne 1 ]; then
    echo "startup bench: ${#found[@]} processes run $1; those naming it:" >&2
    grep -laF "${1##*\\}" /proc/[0-9]*/cmdline 2>/dev/null | while read -r f; do
      echo "  ${f%/cmdline}: $( { tr '\0' ' ' <"$f"; } 2>/dev/null)" >&2
    done
    return 1
  fi
  echo "${found[0]}"
}
# Wine answers PrivateUsage of another process with its swap use (0 here), so the private
# memory is read where Wine keeps it, from Linux: the dirty pages only, those the process wrote.
# Clean pages count as private only while no other process maps the same library.
private_kb() {  # WHO
  local pid
  pid=$(pid_of "${exe[$1]}")
  awk '/^Private_Dirty:/ { kb += $2 } END { print kb }' "/proc/$pid/smaps_rollup"
}
working_set() {  # WHO: as Windows reports it, KB
  local figures
  figures=$(probe memory "${class[$1]}")
  echo "${figures%% *}"
}

# Memory 10 s after the start, then 60 s of idle under strace; both programs side by side.
probe launch "${exe[product]}" "${class[product]}" 2 >/dev/null
probe launch "${exe[ready]}" "${class[ready]}" 2 >/dev/null
sleep 10
declare -A ws private calls wakes
for who in product ready; do
  ws[$who]=$(working_set "$who")
  private[$who]=$(private_kb "$who")
done
syscalls() {  # syscalls WHO: every system call of the process's threads in 60 s
  timeout -s INT 60 strace -f -tt -p "$(pid_of "${exe[$1]}")" -o "$work/$1.strace" >/dev/null 2>&1 || true
}
syscalls product &
tracing=$!
vt_record "$tracing" strace
syscalls ready
wait "$tracing"
# A wake-up: calls after more than half a second of silence begin a new one.
for who in product ready; do
  calls[$who]=$(grep -c '^[0-9]\+ \+[0-9:.]\+ [a-z_0-9]\+(' "$work/$who.strace" || true)
  wakes[$who]=$(awk '$2 ~ /^[0-9:.]+$/ { split($2, t, ":"); s = t[1] * 3600 + t[2] * 60 + t[3];
         if (NR == 1 || s - last > 0.5) n++; last = s } END { print n + 0 }' "$work/$who.strace")
done

# Round trips of a message while the product's download hangs (the service never answers).
probe stop "${class[product]}"
rm -f "$work/product/"*.txt.part "$work/product/27612.txt"
control never-answer
probe launch "${exe[product]}" "${class[product]}" 2 >/dev/null
sleep 1
read -r product_rt product_rt_max < <(probe roundtrip "${class[product]}" 200)
read -r floor_rt floor_rt_max < <(probe roundtrip "${class[ready]}" 200)
control none
hung=$(grep -c '"fault":"never-answer"' "$work/service.log" || true)
probe stop "${class[product]}"
probe stop "${class[ready]}"

# Memory after the first download: neither folder holds a forecast; both fetch it through the
# counter's redirect at start, and are measured 10 s after their file is in place.
rm -f "$work/product/"*.txt.part "$work/product/27612.txt" "$work/download/27612.txt"
requests_before=$(grep -c '/r.php' "$work/service.log" || true)
probe launch "${exe[product]}" "${class[product]}" 2 >/dev/null
probe launch "${exe[download]}" "${class[download]}" 2 >/dev/null
for _ in $(seq 1 300); do
  [ -s "$work/product/27612.txt" ] && [ -s "$work/download/27612.txt" ] && break
  sleep 0.1
done
[ -s "$work/product/27612.txt" ] && [ -s "$work/download/27612.txt" ] ||
  fail "a download did not arrive (service log: $work/service.log)"
cmp -s "$work/product/27612.txt" "$work/download/27612.txt" ||
  fail "the floor downloaded another file than the product"
sleep 10
private[product_download]=$(private_kb product)
private[download]=$(private_kb download)
counter_requests=$(($(grep -c '/r.php' "$work/service.log" || true) - requests_before))
probe stop "${class[product]}"
probe stop "${class[download]}"

# The preferences: «Настроить» -> the dialog shown with the town list and answering, then one
# typed letter completed from the list. The last town is the only one starting with «Я», so
# the completion looks through the whole list.
town_list() {  # TOWNS: the list file as the service sends it, in 1251
  awk -v n="$1" 'BEGIN { printf "27612;Москва;Московская область;Россия;\r\n";
      for (i = 2; i < n; i++) printf "%05d;Город %d;Область %d;Россия;\r\n", 40000 + i, i, i % 80;
      printf "99999;Ярославль;Ярославская область;Россия;\r\n" }' | iconv -f UTF-8 -t CP1251
}
for who in product ready; do
  probe launch "${exe[$who]}" "${class[$who]}" 2 >/dev/null
done
declare -A caption=([product]="$settings_caption" [ready]="$floor_settings_caption")
for towns in 37 20000; do
  for who in product ready; do
    town_list "$towns" >"$work/$who/vlbartlistfull.txt"
    : >"$work/$who.open$towns"
    : >"$work/$who.key$towns"
  done
  for _ in $(seq 1 "$dialog_runs"); do
    for who in product ready; do
      probe open "${class[$who]}" "$settings_command" "${caption[$who]}" >>"$work/$who.open$towns"
      if [ "$towns" = 20000 ]; then
        probe keystroke "${caption[$who]}" Я >>"$work/$who.key$towns"
        private[${who}_open]=$(private_kb "$who")
      fi
      probe close "${caption[$who]}"
      sleep 0.5
    done
  done
done
sleep 2
for who in product ready; do private[${who}_closed]=$(private_kb "$who"); done
for who in product ready; do probe stop "${class[$who]}"; done

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
column_median() { awk -v c="$1" '{ print $c }' "$2" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
verdict() {  # verdict RATIO LIMIT
  awk -v r="$1" -v l="$2" 'BEGIN { print (r != "-" && r <= l) ? "met (<= " l ")" : "MISSED (<= " l ")" }'
}
row() { printf '| %-44s | %9s | %9s | %-8s | %6s | %-16s |\n' "$@"; }
# row_with WHAT PRODUCT FLOOR FLOOR_NAME [LIMIT]
row_with() {
  local r
  r=$(ratio "$2" "$3")
  row "$1" "$2" "$3" "$4" "$r" "$([ -n "${5:-}" ] && verdict "$r" "$5" || true)"
}

echo
echo "$(file -b "$work/product/vantoreltray.exe" | cut -d, -f1), $kind prefix, $runs alternating start-ups, $dialog_runs dialog openings (medians)"
echo "controls of the start-up dialogs, product and floor: $(echo "$product_controls" | tr '\n' ';')"
row "What" "product" "floor" "floor is" "ratio" "target"
row "---" "---:" "---:" "---" "---:" "---"
row_with "executable, bytes" "$(stat -c %s "$work/product/vantoreltray.exe")" \
  "$(stat -c %s "$work/download/floor_tray_3.exe")" download
row_with "start -> hidden window, ms" "$(column_median 2 "$work/product-0.times")" \
  "$(column_median 2 "$work/icon-0.times")" icon
row_with "start -> icon showing the forecast, ms" "$(median <"$work/product.icon")" \
  "$(median <"$work/icon.icon")" icon 1.2
row_with "start -> ready, ms" "$(column_median 3 "$work/product-2.times")" \
  "$(column_median 3 "$work/ready-2.times")" ready 1.5
row_with "working set after 10 s, KB" "${ws[product]}" "${ws[ready]}" ready
row_with "private dirty after 10 s, KB" "${private[product]}" "${private[ready]}" ready
row_with "private dirty after the first download, KB" "${private[product_download]}" \
  "${private[download]}" download 1.3
row_with "system calls in 60 s of idle" "${calls[product]}" "${calls[ready]}" ready
# Both have the one-minute timer, so the product may wake no more often than the floor.
row_with "wake-ups in 60 s of idle" "${wakes[product]}" "${wakes[ready]}" ready 1
row_with "WM_NULL round trip, download hung, µs" "$product_rt" "$floor_rt" ready 2
row "  largest of 200, µs" "$product_rt_max" "$floor_rt_max" "" "" ""
for towns in 37 20000; do
  row_with "«Настроить» -> dialog, $towns towns, ms" "$(median <"$work/product.open$towns")" \
    "$(median <"$work/ready.open$towns")" ready
done
row_with "type-ahead keystroke, 20000 towns, ms" "$(median <"$work/product.key20000")" \
  "$(median <"$work/ready.key20000")" ready
row_with "private dirty, 20000-town dialog open, KB" "${private[product_open]}" \
  "${private[ready_open]}" ready
row_with "private dirty, after it is closed, KB" "${private[product_closed]}" \
  "${private[ready_closed]}" ready
echo
echo "The product's way to its forecast icon, traced (Wine's +systray,+profile; medians of 5, ms):"
phase() { printf '  %-58s %6s\n' "$1" "$(column_median "$2" "$work/phases")"; }
phase "start -> the greeting icon asked for" 1
phase "the shell's answer to the greeting icon" 2
phase "settings read ([frc] and [settings])" 3
phase "settings written (update times, empty keys)" 4
phase "[service] read" 5
phase "schedule, stored forecast, picture -> forecast icon asked" 6
echo "requests left hanging by the service during the round trips: $hung;" \
  "counter requests for the two first downloads: $counter_requests"
echo "each start-up (shell clock ms, window ms, ready ms): $work/*.times;" \
  "the shell's record: $work/shell.log"
