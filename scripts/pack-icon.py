#!/usr/bin/env python3
"""Packs PNG images, in the order given, as the entries of one .ico file.

usage: pack-icon.py OUT.ico IMAGE.png...

Each image must be an 8-bit RGBA PNG (colour type 6) of at most 256 x 256 pixels; it is stored
as it is, so the icon's pixels are exactly the PNG's.
"""
import struct
import sys


def main(out, paths):
    images = [open(path, 'rb').read() for path in paths]
    entries, offset = [], 6 + 16 * len(images)
    for path, png in zip(paths, images):
        if png[:8] != b'\x89PNG\r\n\x1a\n' or png[12:16] != b'IHDR' or png[24:26] != b'\x08\x06':
            sys.exit('pack-icon: %s is not an 8-bit RGBA PNG' % path)
        width, height = struct.unpack_from('>II', png, 16)
        if not (0 < width <= 256 and 0 < height <= 256):
            sys.exit('pack-icon: %s is %dx%d, larger than an icon entry' % (path, width, height))
        # 256 is written as 0 in the directory; planes 1, 32 bits per pixel.
        entries.append(struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32,
                                   len(png), offset))
        offset += len(png)
    with open(out, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        f.write(b''.join(entries))
        f.write(b''.join(images))


if __name__ == '__main__':
    if len(sys.argv) < 3:
        sys.exit(__doc__.strip())
    main(sys.argv[1], sys.argv[2:])
