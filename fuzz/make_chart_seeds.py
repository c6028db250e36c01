#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the hand-made seeds of the chart fuzzer into corpus/chart/ (see chart_input.cpp for
the meaning of each byte). Run it again after changing the operation encoding."""
import os
import struct

VALUES = [0, 1, -1, 0.5, 25, -25, 100, 1e6, 1e308, -1e308, "inf", "-inf", 1e-10, 5e-324, 3e9,
          -3e9, 2147483.6, -2147483.6, 12.5, 0.05, -0.05, "nan"]


def v(value):
    """The byte that picks `value` from the table."""
    i = VALUES.index(value)
    return bytes([next(p for p in range(256) if p % 22 == i and p % 4 != 0)])


def raw(x):
    return b"\x00" + struct.pack(">d", x)


def i16(n):
    return struct.pack("<h", n)


def rng(axis, a, b): return bytes([0, axis]) + a + b
def append(series, x, y): return bytes([1, series]) + x + y
def run(series, count8, x0, step, y0, swing, shape): return bytes([2, series, count8]) + x0 + step + y0 + swing + bytes([shape])
def remove_last(series, back): return bytes([3, series, 1, back])
def clear(series): return bytes([4, series])
def resize(w8, h6): return bytes([5, w8, h6])
def press(button, x, y, shift=0): return bytes([6, button]) + i16(x) + i16(y) + bytes([shift])
def double(button, x, y, shift=0): return bytes([7, button]) + i16(x) + i16(y) + bytes([shift])
def move(x, y): return bytes([8]) + i16(x) + i16(y)
def release(button, x, y): return bytes([9, button]) + i16(x) + i16(y)
def wheel(x, y, d, big=1): return bytes([10]) + i16(x) + i16(y) + i16(d) + bytes([0 if big else 1])
RENDER = bytes([11])
PAINT = bytes([12])
def inv_log(axis, inverted, log): return bytes([13, axis, inverted, log])
def autorepaint(on): return bytes([14, 0 if on else 1])
RESET = bytes([15])
def scroll(axis, delta, limits): return bytes([16, axis]) + delta + bytes([0 if limits else 1])
LEAVE = bytes([17])
def positions(axis, start, end): return bytes([18, axis, start, end])

TRACE = run(1, 25, v(0), v(0.05), v(0), v(12.5), 2)  # 201 points of a square wave
SEEDS = {
    # A press after points went away, before the next paint.
    "press-after-removal": TRACE + PAINT + remove_last(1, 0) * 3 + clear(1) + press(0, 200, 5) + release(0, 200, 5),
    "press-on-trace-after-removal": TRACE + RENDER + remove_last(1, 40) + press(0, 150, 100) + press(1, 150, 100),
    # A value far outside a 0..1 axis laid out from pixel 100.
    "far-value-from-pixel-100": resize(125, 40) + positions(0, 10, 110) + rng(0, v(0), v(1))
    + append(1, v(2147483.6), v(1)) + append(1, v(-2147483.6), v(-1)) + PAINT + press(0, 120, 120),
    "huge-ranges": rng(1, v(-1e308), v(1e308)) + TRACE + PAINT + rng(0, v("inf"), v("-inf")) + RENDER
    + rng(0, v("nan"), v(1)) + PAINT + rng(1, raw(3.0), raw(3.0)) + RENDER + rng(0, raw(1e300), raw(-1e300)) + PAINT,
    "zoom-pan-wheel": TRACE + RENDER + press(0, 100, 40) + move(200, 150) + move(300, 200) + release(0, 300, 200)
    + RENDER + press(1, 150, 100) + move(100, 60) + release(1, 100, 60) + wheel(200, 100, 120)
    + wheel(200, 100, -32768, big=1) + RESET + RENDER,
    "immediate-drawing": autorepaint(False) + RENDER + TRACE + append(1, v(1e308), v(-1e308))
    + append(1, v("nan"), v("inf")) + RENDER + double(0, 200, 100, 1) + LEAVE,
    "logarithmic-and-inverted": inv_log(0, 1, 1) + inv_log(1, 1, 1) + TRACE + rng(0, v(1e-10), v(1e6))
    + PAINT + scroll(1, v(1e308), True) + scroll(0, v(-1e308), False) + RENDER + press(0, 50, 50),
    "tiny-and-empty-sizes": resize(0, 0) + TRACE + RENDER + resize(1, 1) + PAINT + press(0, 0, 0)
    + resize(250, 250) + RENDER,
}

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "chart")
os.makedirs(here, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)
