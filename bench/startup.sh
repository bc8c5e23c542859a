#!/usr/bin/env bash
# Start-up, memory, idle and responsiveness of the product against the floor: a minimal tray
# program (bench/startup/minimal_tray.cpp) built with the same flags and manifest. Prints one
# table from one run, with the ratios and whether each target is met.
# usage: bench/startup.sh      (VT_BENCH_RUNS=15 alternating start-ups by default: a Wine
#                              process start varies by tens of milliseconds from run to run)
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
# A step that fails says which, instead of ending the script without a word.
trap 'echo "startup bench: failed at line $LINENO: $BASH_COMMAND" >&2' ERR

vt_pick_product
preset=$VT_PRESET kind=$VT_PREFIX_KIND
build="$root/build/$preset"
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target vtservice >/dev/null
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target vantoreltray minimal_tray startup_probe >/dev/null

vt_wine_setup "$build" "$kind"
# Wine runs in the Russian locale; the figures here are read and printed with decimal points.
awk() { LC_ALL=C command awk "$@"; }
sort() { LC_ALL=C command sort "$@"; }
vt_display_start
vt_wineserver_start
work="$build/startup-bench"
rm -rf "$work"
mkdir -p "$work/product" "$work/minimal"
port=$(vt_free_port)
vt_service_start "$root/build/native" "$work/service.log" --port "$port"
# The product talks to this run's service only.
vt_service_section "$port" >"$work/product/vantoreltray.ini"

cp "$build/src/win32/vantoreltray.exe" "$work/product/"
cp "$build/bench/startup/minimal_tray.exe" "$work/minimal/"
# Through a file, not a pipe: a program the probe starts inherits its standard output, and would
# hold a pipe open for as long as it runs.
probe() {
  local rc=0
  "$VT_WINE" "$build/bench/startup/startup_probe.exe" "$@" >"$work/probe.out" 2>"$work/probe.err" || rc=$?
  tr -d '\r' <"$work/probe.out"
  return $rc
}
product_exe=$("$VT_WINE" winepath -w "$work/product/vantoreltray.exe" 2>/dev/null | tr -d '\r')
minimal_exe=$("$VT_WINE" winepath -w "$work/minimal/minimal_tray.exe" 2>/dev/null | tr -d '\r')
product_class=VantorelTrayMain
minimal_class=VantorelMinimalTray

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
control() { curl -s -o /dev/null "http://127.0.0.1:$port/control/fault?mode=$1"; }
# The Linux process running the executable at this Windows path: exactly one, or a reason.
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

# The first start writes the settings and fetches the town's forecast; the measured starts are
# those of every later day, with both in place.
probe launch "$product_exe" "$product_class" >/dev/null
sleep 3
probe stop "$product_class"

: >"$work/product.times"
: >"$work/minimal.times"
for _ in $(seq 1 "$runs"); do
  for who in product minimal; do
    exe_var=${who}_exe class_var=${who}_class
    probe launch "${!exe_var}" "${!class_var}" >>"$work/$who.times"
    sleep 1
    probe stop "${!class_var}"
    sleep 0.5
  done
done

# Memory 10 s after the start, then 60 s of idle under strace; both programs side by side.
probe launch "$product_exe" "$product_class" >/dev/null
probe launch "$minimal_exe" "$minimal_class" >/dev/null
sleep 10
working_set() {  # CLASS: the working set of the window's process, KB, as Windows reports it
  local figures
  figures=$(probe memory "$1") || {
    echo "startup bench: no memory figures of $1: $(cat "$work/probe.err")" >&2
    return 1
  }
  echo "${figures%% *}"
}
product_ws=$(working_set "$product_class")
minimal_ws=$(working_set "$minimal_class")
product_pid=$(pid_of "$product_exe")
minimal_pid=$(pid_of "$minimal_exe")
# Wine answers PrivateUsage of another process with its swap use (0 here), so the private
# memory is read where Wine keeps it, from Linux: the dirty pages only, those the process wrote.
# Clean pages count as private only while no other process maps the same library, and that
# changed with what else ran (1.25 and 2.01 for the same executables).
private_kb() { awk '/^Private_Dirty:/ { kb += $2 } END { print kb }' "/proc/$1/smaps_rollup"; }
product_private=$(private_kb "$product_pid")
minimal_private=$(private_kb "$minimal_pid")
syscalls() {  # syscalls PID OUT: every system call of the process's threads in 60 s
  timeout -s INT 60 strace -f -tt -p "$1" -o "$2" >/dev/null 2>&1 || true
}
syscalls "$product_pid" "$work/product.strace" &
tracing=$!
vt_record "$tracing" strace
syscalls "$minimal_pid" "$work/minimal.strace"
wait "$tracing"
total_calls() { grep -c '^[0-9]\+ \+[0-9:.]\+ [a-z_0-9]\+(' "$1" || true; }
# A wake-up: calls after more than half a second of silence begin a new one.
wake_ups() {
  awk '$2 ~ /^[0-9:.]+$/ { split($2, t, ":"); s = t[1] * 3600 + t[2] * 60 + t[3];
         if (NR == 1 || s - last > 0.5) n++; last = s } END { print n + 0 }' "$1"
}
product_calls=$(total_calls "$work/product.strace")
minimal_calls=$(total_calls "$work/minimal.strace")
product_wakes=$(wake_ups "$work/product.strace")
minimal_wakes=$(wake_ups "$work/minimal.strace")

# Round trips of a message while the product's download hangs (the service never answers).
probe stop "$product_class"
rm -f "$work/product/"*.txt.part "$work/product/27612.txt"
control never-answer
probe launch "$product_exe" "$product_class" >/dev/null
sleep 1
read -r product_rt product_rt_max < <(probe roundtrip "$product_class" 200)
read -r minimal_rt minimal_rt_max < <(probe roundtrip "$minimal_class" 200)
control none
hung=$(grep -c '"fault":"never-answer"' "$work/service.log" || true)

read -r product_window product_icon < <(awk '{ print $1 }' "$work/product.times" | median | tr '\n' ' '; awk '{ print $2 }' "$work/product.times" | median)
read -r minimal_window minimal_icon < <(awk '{ print $1 }' "$work/minimal.times" | median | tr '\n' ' '; awk '{ print $2 }' "$work/minimal.times" | median)
product_gap=$(awk '{ print $2 - $1 }' "$work/product.times" | median)
minimal_gap=$(awk '{ print $2 - $1 }' "$work/minimal.times" | median)
product_size=$(stat -c %s "$work/product/vantoreltray.exe")
minimal_size=$(stat -c %s "$work/minimal/minimal_tray.exe")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
verdict() {  # verdict RATIO LIMIT
  awk -v r="$1" -v l="$2" 'BEGIN { print (r != "-" && r <= l) ? "met (<= " l ")" : "MISSED (<= " l ")" }'
}
row() { printf '| %-38s | %12s | %12s | %6s | %-16s |\n' "$@"; }

echo
echo "$(file -b "$work/product/vantoreltray.exe" | cut -d, -f1), $kind prefix, $runs alternating start-ups (medians)"
row "What" "product" "minimal" "ratio" "target"
row "---" "---:" "---:" "---:" "---"
row "executable, bytes" "$product_size" "$minimal_size" "$(ratio "$product_size" "$minimal_size")" ""
row "start -> hidden window, ms" "$product_window" "$minimal_window" "$(ratio "$product_window" "$minimal_window")" ""
r=$(ratio "$product_icon" "$minimal_icon")
row "start -> icon added, ms" "$product_icon" "$minimal_icon" "$r" "$(verdict "$r" 1.2)"
row "  window -> icon, ms" "$product_gap" "$minimal_gap" "$(ratio "$product_gap" "$minimal_gap")" ""
row "working set after 10 s, KB" "$product_ws" "$minimal_ws" "$(ratio "$product_ws" "$minimal_ws")" ""
r=$(ratio "$product_private" "$minimal_private")
row "private dirty after 10 s, KB" "$product_private" "$minimal_private" "$r" "$(verdict "$r" 1.5)"
row "system calls in 60 s of idle" "$product_calls" "$minimal_calls" "$(ratio "$product_calls" "$minimal_calls")" ""
# Both have the one-minute timer, so the product may wake no more often than the floor.
r=$(ratio "$product_wakes" "$minimal_wakes")
row "wake-ups in 60 s of idle" "$product_wakes" "$minimal_wakes" "$r" "$(verdict "$r" 1)"
r=$(ratio "$product_rt" "$minimal_rt")
row "WM_NULL round trip, download hung, µs" "$product_rt" "$minimal_rt" "$r" "$(verdict "$r" 2)"
row "  largest of 200, µs" "$product_rt_max" "$minimal_rt_max" "" ""
echo
echo "requests left hanging by the service during the round trips: $hung"
echo "each start-up run (window ms, icon ms): $work/{product,minimal}.times; strace summaries beside them"
