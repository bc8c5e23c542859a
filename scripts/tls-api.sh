#!/usr/bin/env bash
# A TLS front for the reference service on loopback: nginx with a certificate for "localhost"
# signed by a certificate authority made for the run, passing every request to the service and
# logging each with its Authorization and Proxy-Authorization headers. The authority's key and
# certificates stay in the run folder; nothing of the machine's trust store changes.
# usage: scripts/tls-api.sh start RUN SERVICE_PORT    prints the port it listens on
#        scripts/tls-api.sh stop RUN
#   RUN  the run folder: ca.der (the authority, for trust_root.exe), access.log, nginx's files
set -euo pipefail
nginx=${VT_NGINX:-/usr/sbin/nginx}

die() {
  echo "tls-api.sh: $*" >&2
  exit 1
}

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

certificates() {  # certificates RUN
  local run=$1
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vantorel test authority" \
    -keyout "$run/ca.key" -out "$run/ca.pem" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
  openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$run/server.key" \
    -out "$run/server.csr" 2>/dev/null
  printf '%s\n' "subjectAltName=DNS:localhost" "extendedKeyUsage=serverAuth" \
    "basicConstraints=CA:FALSE" >"$run/server.ext"
  openssl x509 -req -in "$run/server.csr" -CA "$run/ca.pem" -CAkey "$run/ca.key" \
    -CAcreateserial -days 2 -extfile "$run/server.ext" -out "$run/server.pem" 2>/dev/null
  openssl x509 -in "$run/ca.pem" -outform der -out "$run/ca.der"
}

start() {
  [ $# -eq 2 ] || die "usage: start RUN SERVICE_PORT"
  local run=$1 service_port=$2
  mkdir -p "$run/tmp"
  run=$(cd "$run" && pwd)
  case $run in *[\"\\\$\;{}]* | *[[:cntrl:]]*) die "unusable characters in path: $run" ;; esac
  certificates "$run" || die "openssl could not make the certificates"
  local port user_line=""
  port=$(free_port)
  [ "$(id -u)" -ne 0 ] || user_line="user $(id -un) $(id -gn);"
  cat >"$run/nginx.conf" <<CONF
$user_line
worker_processes 1;
pid "$run/nginx.pid";
error_log "$run/error.log" warn;
events { worker_connections 64; }
http {
    client_body_temp_path "$run/tmp/client_body";
    proxy_temp_path "$run/tmp/proxy";
    fastcgi_temp_path "$run/tmp/fastcgi";
    uwsgi_temp_path "$run/tmp/uwsgi";
    scgi_temp_path "$run/tmp/scgi";
    log_format credentials '\$request auth="\$http_authorization" proxy_auth="\$http_proxy_authorization"';
    access_log "$run/access.log" credentials;
    server {
        listen 127.0.0.1:$port ssl;
        server_name localhost;
        ssl_certificate "$run/server.pem";
        ssl_certificate_key "$run/server.key";
        location / { proxy_pass http://127.0.0.1:$service_port; }
    }
}
CONF
  "$nginx" -p "$run/" -c "$run/nginx.conf" -e "$run/error.log" || die "nginx did not start; see $run/error.log"
  local _
  for _ in $(seq 1 50); do
    [ -s "$run/nginx.pid" ] && { echo "$port"; return 0; }
    sleep 0.1
  done
  die "no pid file $run/nginx.pid after 5 s"
}

stop() {
  [ $# -eq 1 ] || die "usage: stop RUN"
  bash "$(dirname "$0")/../service/feed/nginx.sh" stop "$1" >/dev/null
}

[ $# -ge 1 ] || die "usage: start RUN SERVICE_PORT | stop RUN"
verb=$1
shift
case $verb in
  start) start "$@" ;;
  stop) stop "$@" ;;
  *) die "unknown verb $verb" ;;
esac
