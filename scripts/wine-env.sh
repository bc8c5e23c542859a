# Sourced by the test and demo scripts after scripts/session.sh: one Wine prefix under the build
# folder and its own resident wineserver, recorded in the session.

# vt_wine_setup BUILD_DIR [win64|win32]: a prefix of that kind in BUILD_DIR/wineprefix. Each
# kind names its loader itself: the `wine` command picks the 32-bit one whenever wine32 is
# installed, which would start 64-bit programs in the wrong kind of prefix.
vt_wine_setup() {
  local build_dir=$1 arch=${2:-win64}
  export WINEPREFIX="$build_dir/wineprefix"
  case $arch in
    win64) export VT_WINE=/usr/lib/wine/wine64 ;;
    win32) export VT_WINE=/usr/lib/wine/wine ;;
    *) echo "vt_wine_setup: unknown prefix kind $arch" >&2; return 1 ;;
  esac
  [ -x "$VT_WINE" ] || { echo "vt_wine_setup: $VT_WINE is not installed" >&2; return 1; }
  export WINELOADER=$VT_WINE
  export WINEARCH=$arch
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL="${VT_LOCALE:-ru_RU.UTF-8}"
  # Tests reach only loopback; a proxy from the environment would send WinINet elsewhere.
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$VT_WINE" wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    # One shared virtual desktop with a taskbar and a notification area, so that a separate
    # driver process sees the program's windows; no crash dialog.
    "$VT_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$VT_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    "$VT_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
}

# A resident server keeps each wine start cheap (no 3 s linger per test). It goes into the
# session's record (scripts/session.sh), whose close ends it and with it every process of the
# prefix.
vt_wineserver_start() {
  wineserver -p
  "$VT_WINE" cmd /c exit >/dev/null 2>&1 || true
  local pid
  pid=$(vt_wineserver_pid) && vt_record "$pid" wineserver "$WINEPREFIX"
}

# The prefix's server works in a folder named after the prefix's device and inode (under a
# temporary folder whose name differs between Wine builds).
vt_wineserver_pid() {
  local device inode name proc
  read -r device inode < <(stat -c '%d %i' "$WINEPREFIX")
  name=$(printf 'server-%x-%x' "$device" "$inode")
  for proc in /proc/[0-9]*; do
    if [[ $(readlink "$proc/cwd" 2>/dev/null) == */"$name" ]] &&
      [[ $(tr '\0' ' ' <"$proc/cmdline" 2>/dev/null) == *wineserver* ]]; then
      echo "${proc#/proc/}"
      return 0
    fi
  done
  return 1
}

# Ends this prefix's Wine; the next wine command starts it again.
vt_wineserver_stop() {
  timeout 10 wineserver -k 2>/dev/null || true
  timeout 10 wineserver -w 2>/dev/null || true
}
