#!/usr/bin/env python3
"""Reads the text and background colours of a region of a screenshot and checks that
their contrast ratio is at least the given minimum (4.5 by default).

    contrast.py <png> <x> <y> <width> <height> [minimum]

The background is the region's most frequent colour; the text colour is the most
frequent colour among the pixels that differ most from it (anti-aliased edges are
mixtures of the two and are left out). Prints the two colours and the ratio; exits
with 1 when the ratio is below the minimum or the region holds no text.
"""
import subprocess
import sys
from collections import Counter


def luminance(rgb):
    def channel(c):
        c /= 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def pixels(png, x, y, w, h):
    raw = subprocess.run(["convert", png, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    return [tuple(raw[i:i + 3]) for i in range(0, len(raw) - 2, 3)]


def main():
    png, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:6])
    minimum = float(sys.argv[6]) if len(sys.argv) > 6 else 4.5
    counts = Counter(pixels(png, x, y, w, h))
    background = counts.most_common(1)[0][0]
    others = [(ratio(c, background), n, c) for c, n in counts.items() if c != background]
    if not others:
        print(f"{png} {x},{y} {w}x{h}: one colour only, no text")
        return 1
    # The glyphs' cores: the colours within the top quarter of the contrast range seen.
    top = max(r for r, _, _ in others)
    core = [(n, c) for r, n, c in others if r >= 1 + 0.75 * (top - 1)]
    text = max(core)[1]
    measured = ratio(text, background)
    print(f"{png} {x},{y} {w}x{h}: text #{bytes(text).hex()} on #{bytes(background).hex()}, "
          f"contrast {measured:.2f}:1")
    return 0 if measured >= minimum else 1


sys.exit(main())
