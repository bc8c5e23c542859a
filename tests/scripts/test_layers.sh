#!/usr/bin/env bash
# The portable folders form layers: a file includes only headers of its own folder or of the
# folders listed after it. The Win32 layer sits on top of them all.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=checks.sh
source "$root/tests/scripts/checks.sh"

layers=(win32 forms app download openmeteo prefs forecast ports common text)
rank() {  # rank FOLDER: its place in layers, or nothing for a header outside them
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
  return 0
}

# Finds every include of a folder above the including file's; prints "file -> header".
upward_includes() {  # upward_includes SRC_DIR
  local file folder own target header
  while IFS= read -r file; do
    folder=${file#"$1"/}
    folder=${folder%%/*}
    own=$(rank "$folder")
    [ -n "$own" ] || continue
    while IFS= read -r header; do
      target=$(rank "${header%%/*}")
      if [ -n "$target" ] && ((target < own)); then echo "${file#"$1"/} -> $header"; fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done < <(find "$1" -name '*.h' -o -name '*.cpp' | sort)
}

# The check itself must see an upward include.
stand_in=$(mktemp -d)
trap 'rm -rf "$stand_in"' EXIT
mkdir -p "$stand_in/common" "$stand_in/forms"
printf '#include "forms/main_form.h"\n' >"$stand_in/common/bad.h"
printf '#include "common/bad.h"\n' >"$stand_in/forms/good.h"
check "an upward include of a stand-in tree is found" "common/bad.h -> forms/main_form.h" \
  "$(upward_includes "$stand_in")"

check "no include of src/ runs up the layers (${layers[*]})" "" "$(upward_includes "$root/src")"
closing_line
