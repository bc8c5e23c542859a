# Start-up and the settings file, seen from outside.

# The section the test wrote, then the program's keys.
expected_first_ini() {
  service_source_section
  printf '%s\r\n' '[frc]' 'frctime=0,6,12,18' 'frcNewtime=@' 'frcTownIndex=27612' \
    'frcTownName=Москва' 'frcCountryName=Россия' '[settings]' 'breakBaloonCheked=10' \
    'viewFrcCheked=День+ночь' 'picOnIconStyle=1' 'viewIconCheked=Облачность и осадки' \
    'autoloadChecked=true' 'stateConnectChecked=2' 'Proxyserver=' 'ProxyPort=' 'userProxy=' \
    'passwdproxy=' 'viewIconColor=clBlack' | to_cp1251
}

# The file with its jittered times replaced by "@", so that it can be compared byte for byte.
ini_without_times() { sed -E 's/^frcNewtime=[0-9:,]+\r$/frcNewtime=@\r/' "$1"; }
first_ini_is_example() { cmp -s <(ini_without_times "$1/vantoreltray.ini") <(expected_first_ini); }

first_start_case() {  # LOCALE FOLDER_NAME
  local locale=$1 name=$2
  begin "first start in an empty folder named '$name' ($locale)"
  local dir; dir=$(fresh_folder "$name")
  LC_ALL=$locale start_program "$dir"
  check "the hidden main window exists" true
  check "the settings file is written" wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor='
  check "its bytes equal the example apart from the times" wait_until first_ini_is_example "$dir"
  check "frcNewtime holds four times in ascending order" \
    grep -qa -E '^frcNewtime=0:[0-5][0-9],(5:[4-5][0-9]|6:[0-1][0-9]),(11:[4-5][0-9]|12:[0-1][0-9]),(17:[4-5][0-9]|18:[0-1][0-9])'$'\r''$' "$dir/vantoreltray.ini"
  [ "$locale" = ru_RU.UTF-8 ] && screenshot first-start
  check "the menu's exit ends the program" exit_program
  end
}

first_start_case ru_RU.UTF-8 "Погода от Vantorel"
first_start_case C.UTF-8 "Погода 1252"

begin "a hand-made settings file"
dir=$(fresh_folder hand-made)
printf '%s\r\n' '[frc]' 'frcTownIndex=3914' 'frcTownName=Энск' '[settings]' 'viewFrcCheked=' \
  'viewIconColor=$000000FF' | to_cp1251 >>"$dir/vantoreltray.ini"
start_program "$dir"
check "start-up finishes" wait_for_file_line "$dir/vantoreltray.ini" '^passwdproxy='
check "the empty span is rewritten with the default" wait_until \
  grep -qa "^viewFrcCheked=$(printf 'День+ночь' | to_cp1251)"$'\r' "$dir/vantoreltray.ini"
check "the four-digit index stays as it is in the file" grep -qa $'^frcTownIndex=3914\r' "$dir/vantoreltray.ini"
check "the red colour is kept" grep -qa $'^viewIconColor=$000000FF\r' "$dir/vantoreltray.ini"
check "the town name is kept" grep -qa "^frcTownName=$(printf 'Энск' | to_cp1251)"$'\r' "$dir/vantoreltray.ini"
check "exit" exit_program
end

begin "a settings file that cannot be written"
dir=$(fresh_folder unwritable)
rm "$dir/vantoreltray.ini"
mkdir "$dir/vantoreltray.ini"
start_program "$dir"
text=$(driver dialog-text Vantorel.Tray 15000)
echo "    message box: $text"
check "one message box names the settings file" \
  grep -q -E '^Unable to write to .*unwritable\\vantoreltray\.ini\.$' <<<"$text"
check "exactly one such box" test "$(driver count-dialogs Vantorel.Tray)" = 1
screenshot write-failure
driver dialog-ok Vantorel.Tray >/dev/null
sleep 1  # time for a second box to show
check "no second box follows" test "$(driver count-dialogs Vantorel.Tray)" = 0
check "the program keeps running" driver wait-main 1000
check "exit" exit_program
end

begin "the jitter differs between two starts"
dir=$(fresh_folder jitter)
start_program "$dir"
wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor=' >/dev/null
first=$(grep -a '^frcNewtime=' "$dir/vantoreltray.ini")
exit_program >/dev/null
start_program "$dir"
check "two starts, two lists of times" wait_until not grep -qaxF "$first" "$dir/vantoreltray.ini"
echo "    $first / $(grep -a '^frcNewtime=' "$dir/vantoreltray.ini")"
check "exit" exit_program
end

begin "a settings file saved as UTF-8 by an editor"
dir=$(fresh_folder utf8-settings)
{ printf '\xEF\xBB\xBF'; service_source_section; printf '%s\r\n' '[frc]' 'frcTownIndex=26063' 'frcTownName=Тула' \
  '[mine]' 'note=東京'; } >"$dir/vantoreltray.ini"
cp "$dir/vantoreltray.ini" "$WORK/utf8-original.ini"
start_program "$dir"
check "start-up writes its keys" wait_for_file_line "$dir/vantoreltray.ini" '^viewIconColor='
check "no box about a failed write" test "$(driver count-dialogs Vantorel.Tray)" = 0
check "the town name is now code page 1251" settings_is "$dir" frcTownName Тула
check "the other sections are kept" settings_is "$dir" note '??'
check "the original is kept beside it" cmp -s "$dir/vantoreltray.ini.utf8" "$WORK/utf8-original.ini"
check "exit" exit_program
end

dir="$WORK/read-only"
mkdir -p "$dir"
if ! mount -t tmpfs -o size=4m tmpfs "$dir" 2>/dev/null; then
  echo "--- skipped: a program folder that cannot be written (mounting is not allowed here)"
else
  begin "a program folder that cannot be written: the user's own folder"
  cp "$BUILD/src/win32/vantoreltray.exe" "$dir/"
  { service_source_section
    printf '%s\r\n' '[frc]' 'frcTownIndex=26063' 'frcTownName=Тула' '[mine]' 'note=kept'; } |
    to_cp1251 >"$dir/vantoreltray.ini"
  mount -o remount,ro "$dir"
  local_app_data=$("$VT_WINE" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
  mine=$(user_data_folder)
  rm -rf "$mine"
  start_program "$dir"
  check "the settings go to the user's folder" wait_for_file_line "$mine/vantoreltray.ini" '^viewIconColor='
  check "taking the user's settings along" grep -qa '^note=kept' "$mine/vantoreltray.ini"
  check "the forecast is stored there" wait_for_file_line "$mine/26063.txt" $'\r$'
  check "the balloon says where" \
    wait_until eval 'driver balloon-text | grep -qF "хранятся в папке $local_app_data\\Vantorel.Tray\\"'
  screenshot read-only-folder
  check "no box about a failed write" test "$(driver count-dialogs Vantorel.Tray)" = 0
  check "exit" exit_program
  start_program "$dir"
  sleep 1  # time for a balloon to show
  check "the next start says nothing" not driver balloon-visible
  check "exit" exit_program
  end
  umount "$dir" 2>/dev/null || umount -l "$dir"
  rm -rf "$mine"
fi
