#!/usr/bin/env bash
# Starts and stops Debian's nginx serving a vtfeed tree and the click counter /r.php. Every file
# nginx writes (the rendered nginx.conf, pid file, logs, temporary files) stays in the run folder.
# usage: service/feed/nginx.sh start [--hosts FILE] [--workers N] [--connections N] TREE RUN [LISTEN]
#        service/feed/nginx.sh stop RUN
#   TREE     the folder to serve (what vtfeed writes)
#   RUN      the run folder, e.g. build/feed/nginx; made if missing
#   LISTEN   ADDRESS:PORT, 127.0.0.1:8790 by default
#   --hosts  the allowed redirect hosts, service/feed/allowed-hosts.conf by default
#   --workers N (default 1, or auto), --connections N per worker (default 1024): for a load test
# VT_NGINX names another nginx binary (default /usr/sbin/nginx).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
nginx=${VT_NGINX:-/usr/sbin/nginx}

usage() {
  sed -n 's/^# \{0,1\}//; 4,11p' "$0" >&2
  exit 2
}
die() {
  echo "nginx.sh: $*" >&2
  exit 1
}

# A path goes into the rendered file in double quotes, where nginx would read "$" as a variable.
check_path() {
  case $1 in
    *[\"\\\$\;{}]* | *[[:cntrl:]]*) die "unusable characters in path: $1" ;;
  esac
}

# The hosts file is included in a map: a line of any other shape (a "~" regex, a missing
# value, a map keyword such as "default 1;" which would allow every host) would change what
# is allowed, so each line is checked here.
check_hosts() {
  local file=$1 bad
  [ -f "$file" ] || die "no hosts file $file"
  bad=$(sed 's/#.*//' "$file" |
    grep -Evn '^[[:space:]]*$|^[[:space:]]*[A-Za-z0-9.-]+(:[0-9]{1,5})?[[:space:]]+1;[[:space:]]*$' || true)
  bad+=$(sed 's/#.*//' "$file" | grep -Ein '^[[:space:]]*(default|hostnames|include|volatile)[[:space:]]' || true)
  [ -z "$bad" ] || die "$file: expected \"host[:port] 1;\" lines, not: $bad"
}

master_alive() {  # master_alive PID: true when PID is a running nginx master (not a reused PID)
  local cmd
  cmd=$(tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null) || return 1
  [[ $cmd == "nginx: master process"* ]]
}

start() {
  local hosts="$here/allowed-hosts.conf" workers=1 connections=1024
  while [ $# -gt 0 ]; do
    case $1 in
      --hosts) hosts=$2; shift 2 ;;
      --workers) workers=$2; shift 2 ;;
      --connections) connections=$2; shift 2 ;;
      -*) usage ;;
      *) break ;;
    esac
  done
  if [ $# -lt 2 ] || [ $# -gt 3 ]; then usage; fi
  local tree=$1 run=$2 listen=${3:-127.0.0.1:8790}
  [ -d "$tree" ] || die "no tree to serve at $tree"
  [[ $workers =~ ^([1-9][0-9]?|auto)$ ]] || die "bad --workers $workers"
  [[ $connections =~ ^[1-9][0-9]{0,5}$ ]] || die "bad --connections $connections"
  [[ $listen =~ ^([A-Za-z0-9.-]+|\[[0-9A-Fa-f:]+\]):[0-9]{1,5}$ ]] || die "bad listen address $listen"
  mkdir -p "$run/tmp"
  tree=$(cd "$tree" && pwd)
  run=$(cd "$run" && pwd)
  hosts=$(cd "$(dirname "$hosts")" && pwd)/$(basename "$hosts")
  check_path "$tree"
  check_path "$run"
  check_path "$hosts"
  check_hosts "$hosts"
  if [ -f "$run/nginx.pid" ] && master_alive "$(cat "$run/nginx.pid")"; then
    die "already running in $run (pid $(cat "$run/nginx.pid"))"
  fi
  rm -f "$run/nginx.pid"

  # As root the workers would run as nobody, who may not read the tree: they run as the caller.
  # Without root nginx ignores "user" with a warning, so the line is left out.
  local user_line=""
  [ "$(id -u)" -ne 0 ] || user_line="user $(id -un) $(id -gn);"
  # Two descriptors a connection (the client and an open file), within the hard limit.
  local nofile=$((2 * connections + 64)) hard
  hard=$(ulimit -Hn)
  [ "$hard" = unlimited ] || [ "$nofile" -le "$hard" ] || nofile=$hard

  local conf
  conf=$(<"$here/nginx.conf")
  conf=${conf//@USER_LINE@/"$user_line"}
  conf=${conf//@WORKERS@/"$workers"}
  conf=${conf//@NOFILE@/"$nofile"}
  conf=${conf//@CONNECTIONS@/"$connections"}
  conf=${conf//@RUN@/"$run"}
  conf=${conf//@ROOT@/"$tree"}
  conf=${conf//@LISTEN@/"$listen"}
  conf=${conf//@HOSTS@/"$hosts"}
  printf '%s\n' "$conf" >"$run/nginx.conf"

  # -e: nginx opens its compiled-in /var/log/nginx/error.log before it reads the file.
  # TZ=UTC: the click log's times are UTC.
  TZ=UTC "$nginx" -p "$run/" -c "$run/nginx.conf" -e "$run/error.log" ||
    die "nginx did not start; see $run/error.log"
  # The parent returns once the sockets listen; the daemon writes its pid file just after.
  local _
  for _ in $(seq 1 50); do
    if [ -s "$run/nginx.pid" ]; then
      echo "nginx $(cat "$run/nginx.pid") on $listen serving $tree (run folder $run)"
      return 0
    fi
    sleep 0.1
  done
  die "no pid file $run/nginx.pid after 5 s"
}

stop() {
  [ $# -eq 1 ] || usage
  local run=$1 pid _
  if [ ! -f "$run/nginx.pid" ]; then
    echo "nginx is not running in $run"
    return 0
  fi
  pid=$(cat "$run/nginx.pid")
  if ! master_alive "$pid"; then
    rm -f "$run/nginx.pid"
    echo "nginx is not running in $run (stale pid file)"
    return 0
  fi
  # TERM: a fast shutdown; the master ends its workers before it exits.
  kill -TERM "$pid"
  for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "nginx $pid stopped"
      return 0
    fi
    sleep 0.1
  done
  die "nginx $pid still running after 10 s"
}

[ $# -ge 1 ] || usage
verb=$1
shift
case $verb in
  start) start "$@" ;;
  stop) stop "$@" ;;
  *) usage ;;
esac
