"""The texture images, painted procedurally. Every image that a mesh repeats
tiles seamlessly (its noise has the image's period)."""

import math

from . import monkey
from .image import Image, clamp, fractal2, fractal3, mix, noise2, smoothstep
from .lettering import distance_to_segments, word_segments
from .objmesh import add, scale


def floor_tiles():
    """Two by two sandstone tiles with grout, each tile its own shade."""
    img = Image(256, 256)
    base = [(0.78, 0.66, 0.48), (0.70, 0.55, 0.40), (0.82, 0.72, 0.56), (0.66, 0.50, 0.38)]

    def shade(u, v):
        tx, ty = int(u * 2), int(v * 2)
        fu, fv = u * 2 - tx, v * 2 - ty
        edge = min(fu, fv, 1 - fu, 1 - fv)
        stone = fractal2(u, v, 8, 5, seed=11)
        col = scale(base[(tx + 2 * ty) % 4], 0.8 + 0.35 * stone)
        speck = noise2(u * 128, v * 128, 128, seed=3)
        col = scale(col, 0.92 + 0.12 * speck)
        col = scale(col, 0.75 + 0.25 * smoothstep(0.02, 0.08, edge))  # bevel
        grout = (0.22, 0.2, 0.18)
        return mix(grout, col, smoothstep(0.012, 0.022, edge))

    img.fill(shade)
    return img


def hazard_band():
    """Worn yellow and black diagonal stripes."""
    img = Image(128, 64)

    def shade(u, v):
        stripe = ((u * 128 + v * 64) / 32.0) % 1.0
        yellow = (0.92, 0.72, 0.10)
        black = (0.10, 0.09, 0.08)
        col = yellow if stripe < 0.5 else black
        wear = fractal2(u, v, 8, 4, seed=21)
        col = mix(col, (0.45, 0.40, 0.35), smoothstep(0.62, 0.75, wear))
        edge = min(v, 1 - v)
        return scale(col, 0.6 + 0.4 * smoothstep(0.0, 0.08, edge))

    img.fill(shade)
    return img


def _rivets(u, v, spots, radius):
    """Height-like shading of round rivets: brighter on the upper left."""
    for cu, cv in spots:
        du, dv = u - cu, v - cv
        d = math.hypot(du, dv)
        if d < radius:
            return 1.0 + 0.6 * (-du + dv) / radius
    return None


def wall_panel():
    """A riveted steel panel with a bevelled rim and rust streaks."""
    img = Image(256, 256)
    rivet_spots = [(a, b) for a in (0.06, 0.5, 0.94) for b in (0.06, 0.5, 0.94) if (a, b) != (0.5, 0.5)]

    def shade(u, v):
        steel = (0.46, 0.50, 0.54)
        n = fractal2(u, v, 4, 5, seed=31)
        col = scale(steel, 0.8 + 0.35 * n)
        rust = fractal2(u * 1.0, v * 0.25, 8, 4, seed=37)  # streaks run downwards
        col = mix(col, (0.45, 0.25, 0.12), 0.7 * smoothstep(0.55, 0.75, rust) * (1.2 - v))
        edge = min(u, v, 1 - u, 1 - v)
        if edge < 0.03:
            light = 1.25 if (u < 0.03 or v > 0.97) else 0.6
            col = scale(col, light)
        elif edge < 0.045:
            col = scale(col, 0.45)
        r = _rivets(u, v, rivet_spots, 0.022)
        if r is not None:
            col = scale((0.55, 0.57, 0.6), r)
        return col

    img.fill(shade)
    return img


def roof_panel():
    """A darker panel of the dome with a cross of ribs and bolts."""
    img = Image(256, 256)

    def shade(u, v):
        n = fractal2(u, v, 4, 5, seed=41)
        col = scale((0.30, 0.33, 0.38), 0.8 + 0.4 * n)
        rib = min(abs(u - 0.5), abs(v - 0.5))
        edge = min(u, v, 1 - u, 1 - v)
        if rib < 0.025:
            col = scale((0.55, 0.42, 0.30), 0.9 + 0.2 * n)
        if edge < 0.02:
            col = scale(col, 0.5)
        r = _rivets(u, v, [(0.5, 0.5), (0.25, 0.5), (0.75, 0.5), (0.5, 0.25), (0.5, 0.75)], 0.03)
        if r is not None:
            col = scale((0.62, 0.5, 0.36), r)
        return col

    img.fill(shade)
    return img


def _fur(p):
    n = fractal3(p[0] * 6, p[1] * 14, p[2] * 6, 3, seed=51)
    fine = fractal3(p[0] * 40, p[1] * 60, p[2] * 40, 2, seed=57)
    return mix((0.22, 0.13, 0.07), (0.48, 0.30, 0.16), clamp(0.25 + 0.9 * n * 0.6 + 0.4 * fine * 0.6))


def _face_mask(p):
    """1 on the bare skin of the face: around both eyes and over the muzzle."""
    x, y, z = p
    if z < 0.15:
        return 0.0
    eyes = math.hypot(abs(x) - 0.25, y - 0.12) - 0.27
    muzzle = math.hypot(x / 0.47, (y + 0.31) / 0.37) - 1.0
    d = min(eyes / 0.27, muzzle)
    return (1.0 - smoothstep(-0.04, 0.04, d)) * smoothstep(0.15, 0.35, z)


def _skin(p):
    x, y, z = p
    n = fractal3(x * 10, y * 10, z * 10, 2, seed=61)
    col = scale((0.88, 0.70, 0.54), 0.92 + 0.12 * n)
    for side in (1, -1):
        # shading inside the eye sockets
        d = math.dist(p, (side * monkey.SOCKET_CENTRE[0], monkey.SOCKET_CENTRE[1],
                          monkey.SOCKET_CENTRE[2]))
        col = scale(col, 0.7 + 0.3 * smoothstep(monkey.SOCKET_RADIUS - 0.01,
                                                monkey.SOCKET_RADIUS + 0.06, d))
    if z > 0.5:
        mouth_y = -0.44 + 0.45 * x * x
        d = abs(y - mouth_y)
        reach = smoothstep(0.30, 0.24, abs(x))
        col = mix(col, (0.30, 0.12, 0.10), reach * (1.0 - smoothstep(0.008, 0.018, d)))
        for side in (1, -1):
            nd = math.hypot((x - side * 0.08) / 0.04, (y + 0.2) / 0.028)
            col = mix(col, (0.22, 0.10, 0.08), 1.0 - smoothstep(0.8, 1.1, nd))
    blush = max(0.0, 1.0 - math.hypot(abs(x) - 0.33, y + 0.12) / 0.13)
    return mix(col, (0.9, 0.55, 0.5), 0.35 * blush)


def _surface_point(direction):
    """Where a ray from the mapping centre leaves the head (sphere tracing from
    outside inwards, which finds the outermost surface)."""
    t = 1.7
    for _ in range(64):
        p = add(monkey.UV_CENTRE, scale(direction, t))
        d = monkey.field(p)
        if abs(d) < 1e-4:
            break
        t -= 0.8 * d
    return add(monkey.UV_CENTRE, scale(direction, t))


def monkey_head():
    """The head's fur and face, painted at the surface point that each texel's
    direction reaches; surface points come from a coarse grid of rays."""
    w, h = 512, 256
    gw, gh = 128, 64
    grid = [[_surface_point(monkey.head_direction(i / gw, j / gh)) for i in range(gw + 1)]
            for j in range(gh + 1)]
    img = Image(w, h)

    def shade(u, v):
        gx, gy = u * gw, v * gh
        i, j = min(int(gx), gw - 1), min(int(gy), gh - 1)
        fx, fy = gx - i, gy - j
        p0 = mix(grid[j][i], grid[j][i + 1], fx)
        p1 = mix(grid[j + 1][i], grid[j + 1][i + 1], fx)
        p = mix(p0, p1, fy)
        return mix(_fur(p), _skin(p), _face_mask(p))

    img.fill(shade)
    return img


def monkey_ear():
    """Pink and tan inside of the ear fading into fur at the rim."""
    img = Image(128, 128)

    def shade(u, v):
        x = (u - 0.5) * 2 * monkey.EAR_UV_HALF_SIZE
        y = (v - 0.5) * 2 * monkey.EAR_UV_HALF_SIZE
        r = math.hypot(x, y) / monkey.EAR_RADIUS
        n = fractal2(u, v, 4, 3, seed=71)
        inner = mix((0.86, 0.56, 0.50), (0.86, 0.68, 0.52), smoothstep(0.2, 0.6, r))
        inner = scale(inner, 0.92 + 0.12 * n)
        fur = _fur((x, y, 0.3))
        return mix(inner, fur, smoothstep(0.68, 0.8, r))

    img.fill(shade)
    return img


def monkey_eye():
    """Eyeball texture: v = 1 at the pupil, rings of iris and white below."""
    img = Image(64, 128)

    def shade(u, v):
        theta = (1.0 - v) * math.pi
        if theta < 0.22:
            return (0.03, 0.03, 0.04)
        if theta < 0.52:
            streak = noise2(u * 32, 0.5, 32, seed=81)
            iris = mix((0.45, 0.27, 0.08), (0.75, 0.5, 0.15), streak)
            ring = smoothstep(0.44, 0.52, theta)
            return mix(iris, (0.15, 0.09, 0.04), ring)
        return mix((0.96, 0.95, 0.92), (0.85, 0.78, 0.74), smoothstep(1.2, 2.5, theta))

    img.fill(shade)
    return img


def sign_board(word="VANTOR"):
    """A cream board with a red frame and the word in bold red letters, with a
    soft shadow under them."""
    w, h = 256, 128
    img = Image(w, h)
    letter_w, letter_h, gap = 27, 50, 9
    x0 = (w - (len(word) * letter_w + (len(word) - 1) * gap)) / 2
    y0 = (h - letter_h) / 2
    strokes = word_segments(word, x0, y0, letter_w, letter_h, gap)
    shadow = [((ax + 3, ay - 3), (bx + 3, by - 3)) for (ax, ay), (bx, by) in strokes]
    half = 5.0

    def shade(u, v):
        x, y = u * w, v * h
        n = fractal2(u, v, 4, 4, seed=91)
        col = scale((0.95, 0.88, 0.66), 0.9 + 0.15 * n)
        edge = min(x, y, w - x, h - y)
        if 7 < edge < 13:
            col = (0.62, 0.12, 0.08)
        if edge <= 7:
            col = scale((0.45, 0.28, 0.14), 0.9 + 0.2 * n)
        if x0 - 10 < x < w - x0 + 10 and y0 - 10 < y < h - y0 + 10:
            ds = distance_to_segments(x, y, shadow)
            col = scale(col, 1.0 - 0.35 * clamp(half + 2.0 - ds, 0.0, 1.0))
            d = distance_to_segments(x, y, strokes)
            col = mix(col, (0.66, 0.10, 0.06), clamp(half + 0.5 - d, 0.0, 1.0))
        return col

    img.fill(shade)
    return img


def wood():
    """Wood grain running along v."""
    img = Image(128, 128)

    def shade(u, v):
        warp = fractal2(u, v, 2, 3, seed=101)
        rings = math.sin((u * 6 + warp * 1.5) * 2 * math.pi) * 0.5 + 0.5
        fine = noise2(u * 64, v * 4, 64, seed=103)
        col = mix((0.42, 0.26, 0.13), (0.62, 0.42, 0.22), rings * 0.7 + fine * 0.3)
        return col

    img.fill(shade)
    return img
