#!/usr/bin/env bash
# Rebuilds the .ico files in resources/icons/ from the SVG sources in resources/icons/src/.
#
#   tray-dark-NN.ico, tray-light-NN.ico (NN = 00..11)  16, 20, 24, 32 px, outlined
#                                                      (scripts/outline-picture.py)
#   emblem.ico (program icon)                          16, 20, 24, 32, 48 px
#   menu-NN.ico (NN = 00..12)                          17, 34 px
#   about-picture.bmp (the About box's picture)        54 x 77 px, 24 bits, on its key colour
#
# Every entry is a PNG-compressed 8-bit RGBA image (read by Windows since Vista; the program
# needs 7), a fraction of the size of a raw bitmap entry. The output is deterministic: the PNGs
# are stripped of all metadata before scripts/pack-icon.py packs them, so a rebuild with the
# same tool versions gives the same bytes.
#
# Needs rsvg-convert (librsvg2-bin), ImageMagick 6 (convert, identify) and python3; with zopfli
# installed the entries come out about 15 % smaller (same pixels), which the committed files are.
# Usage: scripts/build-icons.sh [-q]     (from any directory; safe to run again)
set -euo pipefail

quiet=0
[ "${1:-}" = "-q" ] && quiet=1

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
icons="$root/resources/icons"
src="$icons/src"

for tool in rsvg-convert convert identify python3; do
  command -v "$tool" >/dev/null || { echo "build-icons: $tool is missing" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# build NAME SIZE... : renders src/NAME.svg at each size and packs the result into NAME.ico
build() {
  local name="$1"; shift
  local svg="$src/$name.svg" pngs=() size png
  [ -f "$svg" ] || { echo "build-icons: missing $svg" >&2; exit 1; }
  for size in "$@"; do
    png="$work/$name-$size.png"
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio --format png \
      --output "$work/raw.png" "$svg"
    if [[ $name == tray-* ]]; then
      # An outline of its own, so the picture reads on a dark and on a light taskbar; a
      # picture that fills its square is drawn a pixel smaller on each side to make room.
      convert "$work/raw.png" -depth 8 "rgba:$work/raw.rgba"
      local rc=0
      python3 "$root/scripts/outline-picture.py" "$size" "$work/raw.rgba" "$work/outlined.rgba" || rc=$?
      if ((rc == 3)); then
        rsvg-convert --width "$((size - 2))" --height "$((size - 2))" --keep-aspect-ratio \
          --format png --output "$work/small.png" "$svg"
        convert "$work/small.png" -background none -gravity center -extent "${size}x${size}" \
          -depth 8 "rgba:$work/raw.rgba"
        rc=0
        python3 "$root/scripts/outline-picture.py" "$size" "$work/raw.rgba" "$work/outlined.rgba" || rc=$?
      fi
      ((rc == 0)) || { echo "build-icons: no outline for $name at $size px" >&2; exit 1; }
      convert -size "${size}x${size}" -depth 8 "rgba:$work/outlined.rgba" "$work/raw.png"
    fi
    # Force RGBA (colour type 6) and drop every ancillary chunk, so no timestamp or
    # colour profile makes the bytes depend on the time or the machine.
    convert "$work/raw.png" -strip -background none -alpha set \
      -define png:exclude-chunks=all -define png:color-type=6 -define png:bit-depth=8 \
      -define png:compression-level=9 -define png:compression-filter=5 -define png:compression-strategy=1 \
      "PNG32:$png"
    pngs+=("$png")
  done
  python3 "$root/scripts/pack-icon.py" "$work/$name.ico" "${pngs[@]}"
  check "$work/$name.ico" "$@"
  if cmp -s "$work/$name.ico" "$icons/$name.ico"; then
    [ "$quiet" = 1 ] || echo "unchanged $name.ico"
  else
    cp "$work/$name.ico" "$icons/$name.ico"
    [ "$quiet" = 1 ] || echo "wrote     $name.ico"
  fi
}

# check FILE SIZE... : the icon must hold exactly those sizes, each an RGBA PNG entry
check() {
  local file="$1"; shift
  local want='' got s
  for s in "$@"; do want+="${s}x${s} "; done
  got="$(identify -format '%wx%h ' "$file")"
  [ "$got" = "$want" ] || { echo "build-icons: $file holds '$got', expected '$want'" >&2; exit 1; }
  python3 - "$file" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
reserved, kind, count = struct.unpack_from('<HHH', data, 0)
assert reserved == 0 and kind == 1, 'not an icon file'
for i in range(count):
    w, h, colours, _, planes, bits, size, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
    png = data[offset:offset + size]
    if png[:4] != b'\x89PNG' or png[24:26] != b'\x08\x06' or bits != 32:
        sys.exit('%s: entry %d is not an 8-bit RGBA PNG' % (sys.argv[1], i))
EOF
}

tray_sizes=(16 20 24 32)
for style in dark light; do
  for i in $(seq -w 0 11); do
    build "tray-$style-$i" "${tray_sizes[@]}"
  done
done
build emblem 16 20 24 32 48
for i in $(seq -w 0 12); do
  build "menu-$i" 17 34
done

# The About box paints every pixel but those of the bottom-left pixel's colour.
rsvg-convert --width 54 --height 54 --keep-aspect-ratio --format png \
  --output "$work/about.png" "$src/emblem.svg"
convert -size 54x77 xc:'#E0E0E0' "$work/about.png" -gravity center -composite -strip \
  -type TrueColor "BMP3:$work/about-picture.bmp"
if cmp -s "$work/about-picture.bmp" "$icons/about-picture.bmp"; then
  [ "$quiet" = 1 ] || echo "unchanged about-picture.bmp"
else
  cp "$work/about-picture.bmp" "$icons/about-picture.bmp"
  [ "$quiet" = 1 ] || echo "wrote     about-picture.bmp"
fi

[ "$quiet" = 1 ] || du -cb "$icons"/*.ico | tail -n 1 | awk '{ printf "total %d bytes in %s/*.ico\n", $1, "resources/icons" }'
