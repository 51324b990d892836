"""Capital letters drawn as strokes in a unit box (x right, y up), enough for
the words painted on the assets."""

import math


def _arc(cx, cy, rx, ry, a0, a1, steps=12):
    return [(cx + rx * math.cos(a0 + (a1 - a0) * i / steps),
             cy + ry * math.sin(a0 + (a1 - a0) * i / steps)) for i in range(steps + 1)]


GLYPHS = {
    "A": [[(0, 0), (0.5, 1), (1, 0)], [(0.22, 0.36), (0.78, 0.36)]],
    "D": [[(0, 0), (0, 1), (0.45, 1)] + _arc(0.45, 0.5, 0.55, 0.5, math.pi / 2, -math.pi / 2)
          + [(0, 0)]],
    "E": [[(1, 1), (0, 1), (0, 0), (1, 0)], [(0, 0.5), (0.75, 0.5)]],
    "H": [[(0, 0), (0, 1)], [(1, 0), (1, 1)], [(0, 0.5), (1, 0.5)]],
    "M": [[(0, 0), (0, 1), (0.5, 0.35), (1, 1), (1, 0)]],
    "N": [[(0, 0), (0, 1), (1, 0), (1, 1)]],
    "O": [_arc(0.5, 0.5, 0.5, 0.5, 0, 2 * math.pi, 28)],
    "R": [[(0, 0), (0, 1), (0.55, 1)] + _arc(0.55, 0.75, 0.42, 0.25, math.pi / 2, -math.pi / 2, 10)
          + [(0, 0.5)], [(0.45, 0.5), (1, 0)]],
    "T": [[(0, 1), (1, 1)], [(0.5, 1), (0.5, 0)]],
    "U": [[(0, 1), (0, 0.4)] + _arc(0.5, 0.4, 0.5, 0.4, math.pi, 2 * math.pi, 12) + [(1, 1)]],
    "V": [[(0, 1), (0.5, 0), (1, 1)]],
}


def word_segments(word, x0, y0, letter_w, letter_h, gap):
    """Line segments ((x, y), (x, y)) of a word whose first letter's box has its
    lower-left corner at (x0, y0)."""
    segments = []
    for n, ch in enumerate(word):
        ox = x0 + n * (letter_w + gap)
        for stroke in GLYPHS[ch]:
            pts = [(ox + x * letter_w, y0 + y * letter_h) for x, y in stroke]
            segments += list(zip(pts, pts[1:]))
    return segments


def distance_to_segments(x, y, segments):
    best = float("inf")
    for (ax, ay), (bx, by) in segments:
        dx, dy = bx - ax, by - ay
        ll = dx * dx + dy * dy
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        ex, ey = ax + t * dx - x, ay + t * dy - y
        d = ex * ex + ey * ey
        if d < best:
            best = d
    return math.sqrt(best)
