# Sourced by the script tests: counted checks and the closing line.
passed=0
failed=0
ok() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then ok "$1"; else fail "$1: expected [$2], got [$3]"; fi
}
check_has() {  # check_has WHAT NEEDLE HAYSTACK
  if [[ "$3" == *"$2"* ]]; then ok "$1"; else fail "$1: [$2] not in [$3]"; fi
}
closing_line() {  # prints the counts; the status says whether all passed
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
