#!/usr/bin/env python3
"""Draws the editor's line-mark pictures for the gutter (14 x 14 PNG, transparent corners), each
also twice as large as NAME@2x.png for screens with two device pixels per logical pixel.

    tools/draw_gutter_images.py [FOLDER]      default: data/System/Buttons

Each picture is a shape test per pixel, sampled 4 x 4 times for smooth edges, so the files
can be drawn again exactly from this script.
"""
import math
import os
import struct
import sys
import zlib

SIZE = 14
SAMPLES = 4


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def arrow(x, y):
    # A right-pointing arrow: a shaft from the left edge and a head to the right.
    shaft = 1.5 <= x <= 7.5 and 4.5 <= y <= 9.5
    head = 7.0 <= x <= 12.5 and abs(y - 7.0) <= (12.5 - x) * 1.05
    return shaft or head


def grown(shape, by):
    # The shape widened by `by` pixels, for an outline drawn under it.
    offsets = [(by * math.cos(a), by * math.sin(a)) for a in [i * math.pi / 4 for i in range(8)]]
    return lambda x, y: shape(x, y) or any(shape(x + dx, y + dy) for dx, dy in offsets)


def cross(cx, cy, half, width):
    def inside(x, y):
        u, v = x - cx, y - cy
        if abs(u) > half or abs(v) > half:
            return False
        return abs(u - v) <= width or abs(u + v) <= width
    return inside


def triangle(x, y):
    # An upward triangle standing on the bottom edge.
    return 1.5 <= y <= 12.8 and abs(x - C) <= (y - 1.5) * 0.56


def exclamation(x, y):
    return abs(x - C) <= 0.9 and (4.8 <= y <= 9.0 or 10.2 <= y <= 11.8)


def render(layers, scale):
    """layers: (shape, (r, g, b)) from bottom to top, in logical pixels; returns rows of RGBA
    bytes of SIZE * scale device pixels."""
    rows = []
    for py in range(SIZE * scale):
        row = bytearray()
        for px in range(SIZE * scale):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / scale
                    y = (py + (sy + 0.5) / SAMPLES) / scale
                    colour = None
                    for shape, rgb in layers:
                        if shape(x, y):
                            colour = rgb
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3]:
                row += bytes(round(acc[i] / acc[3]) for i in range(3))
            else:
                row += b"\0\0\0"
            row.append(round(alpha * 255))
        rows.append(bytes(row))
    return rows


def write_png(path, rows):
    raw = b"".join(b"\0" + row for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", len(rows), len(rows), 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


C = SIZE / 2
PICTURES = {
    # A red dot with a dark rim.
    "TextBreakpoint.png": [(circle(C, C, 6.0), (128, 0, 0)), (circle(C, C, 4.9), (230, 30, 30))],
    # The same dot hollow: the breakpoint is there but does not stop.
    "TextDisabledBreakpoint.png": [(ring(C, C, 6.0, 3.4), (200, 40, 40))],
    # A yellow arrow with a dark outline, pointing at the line that runs next.
    "TextExecution.png": [(grown(arrow, 1.0), (90, 60, 0)), (arrow, (255, 215, 0))],
    # A white cross on a maroon disc.
    "TextError.png": [(circle(C, C, 6.2), (128, 0, 0)), (cross(C, C, 3.2, 1.1), (255, 255, 255))],
    # An amber warning triangle with a dark exclamation mark: a problem found in the text.
    "TextProblem.png": [(grown(triangle, 0.8), (120, 60, 0)), (triangle, (245, 170, 20)),
                        (exclamation, (60, 30, 0))],
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join("data", "System", "Buttons")
    os.makedirs(folder, exist_ok=True)
    for name, layers in PICTURES.items():
        for scale, suffix in ((1, ""), (2, "@2x")):
            path = os.path.join(folder, name.replace(".png", suffix + ".png"))
            write_png(path, render(layers, scale))
            print(path)


if __name__ == "__main__":
    main()
