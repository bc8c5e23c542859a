# Sourced by every script that starts processes (the tests, the demo, the benchmarks and the
# hostile suite): a free loopback port, an X display of its own, and a record of each process
# started, so that any exit (a failure half-way, Ctrl-C) ends exactly those processes.
#
#   vt_session_open [RECORD]  sets the traps, then starts an empty record (by default a temporary
#                             file, removed on close); exported as VT_RECORD, so that child
#                             scripts add to it
#   vt_record PID NAME...     adds a process: "PID START-TIME NAME" (the start time tells a
#                             reused PID apart)
#   vt_on_close COMMAND       runs COMMAND (with eval) when the session closes, after the
#                             processes have ended
#   vt_session_close          ends what was recorded and still runs, newest first; the record
#                             stays, and the session can go on
#   vt_recorded_alive FILE    prints the processes of that record that still run
#   vt_free_port              prints a loopback TCP port that nothing listens on
#   vt_display_start          your display (unless VT_HEADLESS is set), or an Xvfb of its own

VT_CLOSE_HOOKS=()

vt_session_open() {
  trap vt_session_close EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
  if [ -n "${1:-}" ]; then
    VT_RECORD=$1
    mkdir -p "$(dirname "$VT_RECORD")"
    : >"$VT_RECORD"
  else
    VT_RECORD=$(mktemp -t vt-session.XXXXXX)
    vt_on_close "rm -f '$VT_RECORD'"
  fi
  export VT_RECORD
}

vt_start_time() {  # PID: field 22 of /proc/PID/stat; the command name may hold spaces
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  # shellcheck disable=SC2086
  set -- ${stat##*) }
  echo "${20}"
}

vt_record() {  # PID NAME...
  local pid=$1
  shift
  echo "$pid $(vt_start_time "$pid" || echo 0) $*" >>"$VT_RECORD"
}

vt_on_close() { VT_CLOSE_HOOKS+=("$1"); }

vt_alive() {  # PID START: running (not a zombie) and not a later process with the same PID
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  # shellcheck disable=SC2086
  set -- "$2" ${stat##*) }
  [ "$2" != Z ] && { [ "$1" = 0 ] || [ "${21}" = "$1" ]; }
}

vt_recorded_alive() {  # FILE
  local pid start name
  while read -r pid start name; do
    vt_alive "$pid" "$start" && echo "$pid $name"
  done <"$1"
  return 0
}

vt_session_close() {
  [ -z "${VT_RECORD:-}" ] || [ ! -f "$VT_RECORD" ] || vt_end_recorded "$VT_RECORD"
  local hook
  for hook in "${VT_CLOSE_HOOKS[@]}"; do eval "$hook" || true; done
  VT_CLOSE_HOOKS=()
  return 0
}

vt_end_recorded() {  # FILE
  local pid start name i lines=()
  mapfile -t lines <"$1"
  # A prefix's wineserver ends every Wine process of that prefix with it.
  for ((i = ${#lines[@]} - 1; i >= 0; i--)); do
    read -r pid start name <<<"${lines[i]}"
    if [[ $name == "wineserver "* ]] && vt_alive "$pid" "$start"; then
      WINEPREFIX=${name#wineserver } timeout 10 wineserver -k >/dev/null 2>&1 || true
    fi
  done
  for ((i = ${#lines[@]} - 1; i >= 0; i--)); do
    read -r pid start name <<<"${lines[i]}"
    vt_alive "$pid" "$start" && { kill "$pid" 2>/dev/null || true; }
  done
  for _ in $(seq 1 30); do
    [ -z "$(vt_recorded_alive "$1")" ] && break
    sleep 0.1
  done
  while read -r pid name; do
    echo "session: $name (PID $pid) did not end on SIGTERM; killed" >&2
    kill -9 "$pid" 2>/dev/null || true
  done < <(vt_recorded_alive "$1")
  # Reaps the ones this shell started.
  for ((i = 0; i < ${#lines[@]}; i++)); do
    read -r pid _ <<<"${lines[i]}"
    wait "$pid" 2>/dev/null || true
  done
}

vt_free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

vt_display_start() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${VT_HEADLESS:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  # Xvfb takes the first free display itself and writes its number once it accepts clients.
  local number_file
  number_file=$(mktemp -t vt-display.XXXXXX)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$number_file" \
    >/dev/null 2>&1 &
  vt_record $! Xvfb
  local i number=
  for i in $(seq 1 100); do
    number=$(head -n 1 "$number_file")
    [ -n "$number" ] && [ "$(wc -l <"$number_file")" -ge 1 ] && break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}
