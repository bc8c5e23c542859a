#!/usr/bin/env python3
"""Gives a tray picture an outline of its own, so it reads on a dark and on a light taskbar.

usage: outline-picture.py SIZE IN.rgba OUT.rgba   (raw 8-bit RGBA, SIZE x SIZE, row by row)

Exits with 3, writing nothing, when the figure touches the picture's edge: there is no room for
the outline, and the caller draws the picture a pixel smaller on each side.

The figure is the pixels at least half opaque; they become fully opaque. Every other pixel
beside the figure (left, right, above or below) becomes the outline: black or white, whichever
contrasts more with the figure's pixels beside it (WCAG 2 luminance, the same rule as the halo
of the drawn temperature). The rest becomes transparent.
"""
import sys


def luminance(r, g, b):
    def linear(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def contrast(a, b):
    return (max(a, b) + 0.05) / (min(a, b) + 0.05)


def main():
    size = int(sys.argv[1])
    data = bytearray(open(sys.argv[2], 'rb').read())
    assert len(data) == size * size * 4, 'not %dx%d RGBA' % (size, size)

    def solid(x, y):
        return 0 <= x < size and 0 <= y < size and data[(y * size + x) * 4 + 3] >= 128

    edge = [(i, 0) for i in range(size)] + [(i, size - 1) for i in range(size)]
    edge += [(0, i) for i in range(size)] + [(size - 1, i) for i in range(size)]
    if any(solid(x, y) for x, y in edge):
        sys.exit(3)

    out = bytearray(len(data))
    for y in range(size):
        for x in range(size):
            i = (y * size + x) * 4
            if solid(x, y):
                out[i:i + 3] = data[i:i + 3]
                out[i + 3] = 255
                continue
            beside = [(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                      if solid(x + dx, y + dy)]
            if not beside:
                continue
            mean = sum(luminance(*data[(v * size + u) * 4:(v * size + u) * 4 + 3])
                       for u, v in beside) / len(beside)
            white = contrast(mean, 1.0) > contrast(mean, 0.0)
            out[i:i + 4] = bytes((255, 255, 255, 255) if white else (0, 0, 0, 255))
    open(sys.argv[3], 'wb').write(out)


if __name__ == '__main__':
    main()
