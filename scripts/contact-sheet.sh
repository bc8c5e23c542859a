#!/usr/bin/env bash
# Draws one PNG that shows the built icons so a person can judge them pixel by pixel:
#   - both tray picture sets (dark and light style) at 16 px (x4) and 32 px (x3), each on a
#     light and on a dark taskbar-like tile, with a 1:1 copy in the tile corner, labelled by index;
#   - the program emblem at every size it holds (x3, and 1:1);
#   - the 13 menu motifs at 17 px (x4, and 1:1) on a light and a dark tile;
#   - if DRAWN_DIR is given and holds PNG files (temp<value>-<colour>-<size>.png, drawn by the Windows
#     test program), those too (x4, and 1:1), labelled by file name.
# The pictures are taken from the built .ico files (run scripts/build-icons.sh first), so the
# sheet shows what the program will load.
#
# Usage: scripts/contact-sheet.sh OUTPUT.png [DRAWN_DIR]
# Needs ImageMagick 6 (convert, montage, identify) and the Liberation Sans font.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 OUTPUT.png [DRAWN_DIR]" >&2
  exit 2
fi
out="$1"
drawn="${2:-}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
if [ -n "$drawn" ]; then
  case "$drawn" in /*) ;; *) drawn="$PWD/$drawn" ;; esac
  [ -d "$drawn" ] || { echo "contact-sheet: $drawn is not a directory" >&2; exit 2; }
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
icons="$root/resources/icons"
[ -f "$icons/emblem.ico" ] || { echo "contact-sheet: no icons in $icons; run scripts/build-icons.sh" >&2; exit 1; }

font="$(fc-match -f '%{file}' 'Liberation Sans' 2>/dev/null || true)"
bold="$(fc-match -f '%{file}' 'Liberation Sans:bold' 2>/dev/null || true)"
[ -f "$font" ] || font="Liberation-Sans"
[ -f "$bold" ] || bold="$font"

light_bg='#f0f0f0'   # light taskbar / menu
dark_bg='#1f1f1f'    # dark taskbar
sheet_bg='#ffffff'

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
n=0
rows=()

# frame FILE.ico SIZE : prints FILE.ico[k] for the entry of that size
frame() {
  local k
  k="$(identify -format '%p %w\n' "$1" | awk -v s="$2" '$2 == s { print $1; exit }')"
  [ -n "$k" ] || { echo "contact-sheet: $1 has no ${2}px entry" >&2; exit 1; }
  printf '%s[%s]' "$1" "$k"
}

# cell IMAGE BG MAG : writes a tile with IMAGE magnified MAG times (point sampled) and a
# 1:1 copy in the lower right corner; prints the tile's file name
cell() {
  local img="$1" bg="$2" mag="$3" w h tile
  read -r w h < <(identify -format '%w %h\n' "$img" | head -n 1)
  tile="$(mktemp "$work/cell-XXXXXX")"   # called in a subshell: a counter would not advance
  convert -size "$((w * mag + w + 18))x$((h * mag + 12))" "xc:$bg" \
    \( "$img" -filter point -resize "$((mag * 100))%" \) -gravity west -geometry +6+0 -composite \
    \( "$img" \) -gravity southeast -geometry +4+6 -composite \
    -strip -depth 8 "PNG32:$tile"
  printf '%s' "$tile"
}

# heading TEXT : a title line across the sheet
heading() {
  n=$((n + 1))
  convert -background "$sheet_bg" -fill '#202020' -font "$bold" -pointsize 16 \
    label:"$1" -bordercolor "$sheet_bg" -border 6x4 "$work/head-$n.png"
  rows+=("$work/head-$n.png")
}

# row CAPTION TILE LABEL TILE LABEL ... : a captioned row of labelled tiles
row() {
  local caption="$1"; shift
  local args=()
  while [ $# -gt 0 ]; do
    args+=(-label "${2//%/%%}" "$1")   # montage expands % escapes in labels
    shift 2
  done
  n=$((n + 1))
  montage -background "$sheet_bg" -fill '#202020' -font "$font" -pointsize 11 \
    "${args[@]}" -tile "x1" -geometry +3+3 "$work/strip-$n.png"
  convert -background "$sheet_bg" -fill '#404040' -font "$font" -pointsize 12 \
    -size 150x label:"$caption" "$work/cap-$n.png"
  convert -background "$sheet_bg" -gravity center "$work/cap-$n.png" "$work/strip-$n.png" \
    +append "$work/row-$n.png"
  rows+=("$work/row-$n.png")
}

# Tray pictures
for size in 16 32; do
  if [ "$size" = 16 ]; then mag=4; else mag=3; fi
  heading "Tray pictures, ${size} px (x${mag} and 1:1)"
  for style in dark light; do
    for bg in light dark; do
      if [ "$bg" = light ]; then colour="$light_bg"; else colour="$dark_bg"; fi
      items=()
      for i in $(seq -w 0 11); do
        ico="$icons/tray-$style-$i.ico"
        items+=("$(cell "$(frame "$ico" "$size")" "$colour" "$mag")" "$((10#$i))")
      done
      row "$style style on $bg" "${items[@]}"
    done
  done
done

# Emblem
heading "Program emblem (x3 and 1:1)"
for bg in light dark; do
  if [ "$bg" = light ]; then colour="$light_bg"; else colour="$dark_bg"; fi
  items=()
  for size in $(identify -format '%w\n' "$icons/emblem.ico"); do
    items+=("$(cell "$(frame "$icons/emblem.ico" "$size")" "$colour" 3)" "${size} px")
  done
  row "emblem on $bg" "${items[@]}"
done

# Menu motifs
heading "Menu pictures, 17 px (x4 and 1:1)"
for bg in light dark; do
  if [ "$bg" = light ]; then colour="$light_bg"; else colour="$dark_bg"; fi
  items=()
  for i in $(seq -w 0 12); do
    items+=("$(cell "$(frame "$icons/menu-$i.ico" 17)" "$colour" 4)" "$((10#$i))")
  done
  row "menu on $bg" "${items[@]}"
done

# Pictures drawn by the Windows test program
if [ -n "$drawn" ]; then
  shopt -s nullglob
  files=("$drawn"/*.png)
  shopt -u nullglob
  if [ ${#files[@]} -gt 0 ]; then
    heading "Drawn by the test program (x4 and 1:1)"
    per_row=10
    for ((start = 0; start < ${#files[@]}; start += per_row)); do
      for bg in light dark; do
        if [ "$bg" = light ]; then colour="$light_bg"; else colour="$dark_bg"; fi
        items=()
        for file in "${files[@]:start:per_row}"; do
          items+=("$(cell "$file" "$colour" 4)" "$(basename "$file" .png)")
        done
        row "drawn on $bg" "${items[@]}"
      done
    done
  fi
fi

convert -background "$sheet_bg" "${rows[@]}" -gravity northwest -append \
  -bordercolor "$sheet_bg" -border 8 -strip -depth 8 "PNG24:$out"
echo "contact sheet: $out"
