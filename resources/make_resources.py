#!/usr/bin/env python3
"""Draws the program's icon and background picture and writes the settings dialog's
94 character rows, using nothing beyond the standard library.

    python3 resources/make_resources.py     (from anywhere; writes beside this script)

Outputs: mainicon.ico (64, 48, 32, 24 and 16 px, 32 bits with alpha), background.bmp
(480 x 320, 24 bits, mid-grey) and charboxes.rc (label and check box of every
printable character, in the order the dialog creates them). All three are committed;
run this again only to change them.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------- icon

def icon_pixel(x, y, s):
    """Colour (r, g, b, a) in 0..1 of one sample point of an s-pixel icon."""
    cx = cy = s / 2.0
    radius = s * 0.46
    dx, dy = x - cx, y - cy
    d = math.hypot(dx, dy)
    if d > radius:
        return (0.0, 0.0, 0.0, 0.0)
    # Orange body, lit from the upper left, darker towards the rim.
    t = d / radius
    light = 1.0 - 0.35 * t * t + 0.12 * (-(dx + dy) / (2 * radius))
    r, g, b = 1.0 * light, 0.55 * light, 0.05 * light
    # A thin darker rim gives the disc its edge.
    if t > 0.92:
        k = (t - 0.92) / 0.08
        r, g, b = r * (1 - 0.35 * k), g * (1 - 0.45 * k), b * (1 - 0.5 * k)
    # Gloss: a soft white ellipse over the upper half.
    gx, gy = dx / (radius * 0.78), (dy + radius * 0.42) / (radius * 0.48)
    gd = gx * gx + gy * gy
    if gd < 1.0:
        gloss = 0.55 * (1.0 - gd) * (1.0 if dy < 0 else max(0.0, 1.0 - dy / (radius * 0.2)))
        r, g, b = r + (1 - r) * gloss, g + (1 - g) * gloss, b + (1 - b) * gloss
    # The white plus, with a faint shadow below and to the right.
    arm, half = s * 0.085, s * 0.27
    def in_plus(px, py):
        return (abs(px) <= arm and abs(py) <= half) or (abs(py) <= arm and abs(px) <= half)
    if in_plus(dx, dy):
        return (1.0, 1.0, 1.0, 1.0)
    if in_plus(dx - s * 0.03, dy - s * 0.03):
        r, g, b = r * 0.72, g * 0.72, b * 0.72
    return (min(r, 1.0), min(g, 1.0), min(b, 1.0), 1.0)


def icon_image(s, samples=4):
    """BGRA rows, top row first, each pixel averaged over samples x samples points."""
    rows = []
    for py in range(s):
        row = bytearray()
        for px in range(s):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = icon_pixel(px + (sx + 0.5) / samples, py + (sy + 0.5) / samples, s)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = samples * samples
            a = acc[3] / n
            if a > 0:
                r, g, b = acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3]
            else:
                r = g = b = 0.0
            row += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
        rows.append(bytes(row))
    return rows


def icon_entry_data(s):
    rows = icon_image(s)
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(reversed(rows))  # bottom-up
    mask_stride = ((s + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for px in range(s):
            if row[px * 4 + 3] == 0:
                bits[px // 8] |= 0x80 >> (px % 8)
        mask += bits
    return header + xor + bytes(mask)


def write_icon(path, sizes=(64, 48, 32, 24, 16)):
    images = [icon_entry_data(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- background

def write_background(path, width=480, height=320, grey=128):
    stride = (width * 3 + 3) & ~3
    pixels = (bytes((grey, grey, grey)) * width + bytes(stride - width * 3)) * height
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


# ---------------------------------------------------------------- settings dialog rows

def char_boxes():
    """(box id, code, label x, y) in the dialog's order: A-Z, a-z, 0-9, then the rest."""
    lines = [
        (50, range(65, 81)), (75, range(81, 91)),
        (100, range(97, 113)), (125, range(113, 123)),
        (25, range(48, 58)),
        (150, list(range(33, 48)) + [58]),
        (175, list(range(59, 65)) + list(range(91, 97)) + list(range(123, 127))),
    ]
    out = []
    box_id = 2001
    for y, codes in lines:
        for k, code in enumerate(codes):
            out.append((box_id, code, 10 + 25 * k, y))
            box_id += 1
    assert box_id == 2095 and len({c for _, c, _, _ in out}) == 94
    return out


def rc_string(code):
    ch = chr(code)
    if ch == '"':
        return '""""'
    if ch == "\\":
        return '"\\\\"'
    if ch == "&":
        return '"&&"'
    return '"' + ch + '"'


def write_char_boxes(path):
    lines = ["// Written by make_resources.py: one label and one check box per printable",
             "// character, label first. Included by talvoric.rc inside the settings dialog."]
    for box_id, code, x, y in char_boxes():
        height = 10 if code == 42 else 8
        lines.append('    CONTROL %-6s, -1, "STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, %d, %d, 170, %d'
                     % (rc_string(code), x, y, height))
        lines.append('    CONTROL "check box", %d, "BUTTON", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, %d, %d, 10, 10'
                     % (box_id, x + 10, y))
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "mainicon.ico"))
    write_background(os.path.join(HERE, "background.bmp"))
    write_char_boxes(os.path.join(HERE, "charboxes.rc"))
