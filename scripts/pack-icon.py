#!/usr/bin/env python3
"""Packs PNG images, in the order given, as the entries of one .ico file.

usage: pack-icon.py OUT.ico IMAGE.png...

Each image must be an 8-bit RGBA PNG (colour type 6) of at most 256 x 256 pixels. Its pixels
are stored as they are; where zopfli is installed, they are deflated again with it (about a
tenth smaller than zlib's best), trying each PNG filter, and the smallest stream is kept.
"""
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib


def chunks(png):
    offset = 8
    while offset < len(png):
        length, kind = struct.unpack_from('>I4s', png, offset)
        yield kind, png[offset + 8:offset + 8 + length]
        offset += 12 + length


def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def unfilter(raw, width, height):
    """The RGBA rows of a colour-type-6 image's inflated data."""
    stride, rows, prior = width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prior[i]
            c = prior[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prior = line
    return rows


def filtered(rows, kind):
    out, prior = bytearray(), bytes(len(rows[0]))
    for line in rows:
        out.append(kind)
        for i, x in enumerate(line):
            a = line[i - 4] if i >= 4 else 0
            b = prior[i]
            c = prior[i - 4] if i >= 4 else 0
            if kind == 0:
                predictor = 0
            elif kind == 1:
                predictor = a
            elif kind == 2:
                predictor = b
            elif kind == 3:
                predictor = (a + b) // 2
            else:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else b if pb <= pc else c
            out.append((x - predictor) & 255)
        prior = line
    return bytes(out)


def recompress(png):
    """The same image with the smallest zopfli stream over the five filters."""
    header = dict(chunks(png))[b'IHDR']
    width, height = struct.unpack_from('>II', header)
    raw = zlib.decompress(b''.join(data for kind, data in chunks(png) if kind == b'IDAT'))
    rows = unfilter(raw, width, height)
    best = b''.join(data for kind, data in chunks(png) if kind == b'IDAT')
    with tempfile.TemporaryDirectory() as work:
        for kind in range(5):
            path = work + '/rows'
            with open(path, 'wb') as f:
                f.write(filtered(rows, kind))
            subprocess.run(['zopfli', '--zlib', '--i50', path], check=True)
            stream = open(path + '.zlib', 'rb').read()
            if len(stream) < len(best):
                best = stream
    if unfilter(zlib.decompress(best), width, height) != rows:
        sys.exit('pack-icon: recompressing changed the pixels')
    return png[:8] + chunk(b'IHDR', header) + chunk(b'IDAT', best) + chunk(b'IEND', b'')


def main(out, paths):
    images = [open(path, 'rb').read() for path in paths]
    use_zopfli = shutil.which('zopfli') is not None
    entries, offset, packed = [], 6 + 16 * len(images), []
    for path, png in zip(paths, images):
        if png[:8] != b'\x89PNG\r\n\x1a\n' or png[12:16] != b'IHDR' or png[24:26] != b'\x08\x06':
            sys.exit('pack-icon: %s is not an 8-bit RGBA PNG' % path)
        width, height = struct.unpack_from('>II', png, 16)
        if not (0 < width <= 256 and 0 < height <= 256):
            sys.exit('pack-icon: %s is %dx%d, larger than an icon entry' % (path, width, height))
        if use_zopfli:
            png = recompress(png)
        # 256 is written as 0 in the directory; planes 1, 32 bits per pixel.
        entries.append(struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32,
                                   len(png), offset))
        offset += len(png)
        packed.append(png)
    with open(out, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        f.write(b''.join(entries))
        f.write(b''.join(packed))


if __name__ == '__main__':
    if len(sys.argv) < 3:
        sys.exit(__doc__.strip())
    main(sys.argv[1], sys.argv[2:])
