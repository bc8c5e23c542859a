# The program against a real feed: vtfeed builds the tree from the shipped samples (their hours
# moved to today), nginx serves it, and what the tray shows is what the samples say.

feed_tool="$root/build/native/tools/vtfeed"
feed_src="$root/service/feed"
if ! command -v nginx >/dev/null && [ ! -x /usr/sbin/nginx ]; then
  echo "--- skipped: the program against nginx (nginx is not installed)"
elif [ ! -x "$feed_tool" ]; then
  echo "--- skipped: the program against nginx (no $feed_tool; build the native preset)"
else
  begin "a real feed: vtfeed's tree served by nginx"
  feed="$WORK/feed-server"
  python3 "$feed_src/shift-samples.py" "$feed_src/samples" "$feed/in" "$(date -u +%F)"
  check "vtfeed builds every town" \
    "$feed_tool" build --towns "$feed_src/towns.csv" --input "$feed/in" --output "$feed/tree"
  check "nginx serves it" vt_feed_start "$feed/tree" "$feed/nginx"
  dir=$(fresh_folder feed)
  {
    service_source_section
    for key in counterHost dataHost mainSite uaSite; do printf '%s=%s\r\n' "$key" "$VT_FEED_HOST"; done
  } >"$dir/vantoreltray.ini"
  start_program "$dir"
  check "the forecast arrives" wait_for_file_line "$dir/27612.txt" $'\r$'
  check "byte for byte what vtfeed wrote" cmp -s "$dir/27612.txt" "$feed/tree/data/BTR27612.TXT"
  check "through the click counter" \
    wait_until grep -q " sh 302 http://$VT_FEED_HOST/data/BTR27612.TXT\$" "$feed/nginx/clicks.log"
  driver tray WM_LBUTTONDOWN >/dev/null
  check "a click shows the balloon" wait_until driver balloon-visible
  balloon=$(driver balloon-text)
  screenshot feed-balloon
  check_moscow_samples_balloon "$balloon"
  record_links
  driver menu Frc >/dev/null
  wait_for_links 1
  check "the town page link goes through the counter" test "$(head -n 1 "$WORK/links.txt" 2>/dev/null)" = \
    "http://$VT_FEED_HOST/r.php?cl+TRAY+http://$VT_FEED_HOST/towns/27612.htm"
  check "and lands on the town's page" eval \
    'curl -sfL --max-time 5 "$(head -n 1 "$WORK/links.txt")" | grep -q "Прогноз на 3 дня: Москва"'
  check "the preferences load the feed's town list" open_preferences
  check "with every town of the towns file" \
    test "$(driver combo "$PREFS" ComboBox1 | head -n 1)" = "$(grep -c '^[0-9]' "$feed_src/towns.csv")"
  check "the list is the feed's" cmp -s "$dir/vlbartlistfull.txt" "$feed/tree/vlbartlistfull.txt"
  driver close-window "$PREFS" >/dev/null
  check "exit" exit_program
  check "nginx stops" bash "$feed_src/nginx.sh" stop "$feed/nginx"
  end
fi
