# The dialogs on a larger desktop at 96 and 144 DPI, and moved into a small one. Runs last (see
# run.sh): it restarts this prefix's Wine with other display settings and restores them after.

desktop_settings() {  # SIZE DPI: the virtual desktop and the DPI of the next Wine start
  vt_wineserver_stop
  "$VT_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1
  "$VT_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
  wineserver -w 2>/dev/null
  vt_wineserver_start
  E2E_DESKTOP=$1
}

scaled_case() {  # SIZE DPI PLACE: "own" (447, 213) or "corner" (larger than the desktop)
  begin "the dialogs on a $1 desktop at $2 DPI"
  desktop_settings "$1" "$2"
  local dir; dir=$(fresh_folder "scaled-$1-$2")
  put_forecast "$dir" 27612
  curl -s --max-time 5 -o "$dir/vlbartlistfull.txt" http://127.0.0.2:8717/vlbartlistfull.txt
  start_program "$dir"
  check "the preferences open with the list" open_preferences
  check "every control inside its parent, every caption fits" driver check-layout "$PREFS"
  if [ "$3" = own ]; then
    check "on the screen" on_screen "$PREFS"
    check "at its own place" window_left_top_is "$PREFS" 447 213
  else
    check "too large for the desktop: at its top-left corner" window_left_top_is "$PREFS" 0 0
  fi
  screenshot "prefs-general-$1-$2dpi"
  driver page "$PREFS" ConnectionPage >/dev/null
  sleep 0.5  # the page paints
  screenshot "prefs-connection-$1-$2dpi"
  driver click "$PREFS" Button3 >/dev/null
  check "About opens" wait_until driver window-visible "$ABOUT"
  check "About's layout" driver check-layout "$ABOUT"
  check "About on the screen" on_screen "$ABOUT"
  sleep 0.5  # About paints
  screenshot "about-$1-$2dpi"
  driver click "$ABOUT" Button1 >/dev/null
  driver click "$PREFS" Button2 >/dev/null
  check "exit" exit_program
  end
}

scaled_case 1280x1024 96 own
scaled_case 1280x1024 144 own
scaled_case 800x600 144 corner
desktop_settings 800x600 96
