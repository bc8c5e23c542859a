# Sourced by the test and demo scripts: one Wine prefix under the build folder, its own
# resident wineserver, and an X display (Xvfb unless one is given). Only what these functions
# start is stopped again, by PID or by this prefix's wineserver.

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

vt_display_start() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${VT_HEADLESS:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
  VT_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

vt_wineserver_start() {
  # A resident server keeps each wine start cheap (no 3 s linger per test).
  wineserver -p
  "$VT_WINE" cmd /c exit >/dev/null 2>&1 || true
}

vt_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "${VT_XVFB_PID:-}" ]; then
    kill "$VT_XVFB_PID" 2>/dev/null || true
    wait "$VT_XVFB_PID" 2>/dev/null || true
    VT_XVFB_PID=
  fi
}
