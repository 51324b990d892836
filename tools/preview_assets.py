#!/usr/bin/env python3
"""Software-rendered previews of the assets in mtl/, placed as the
demonstration places them: textures, one point light at z = 10 with a shadow
map drawn from the back faces, back faces culled.

Usage: tools/preview_assets.py OUTPUT_DIR [asset directory, default mtl/]

Writes scene_camera0_*.png (the main view at two points of the animation), scene_orbit_*.png (the inset camera
at a few points of its orbit) and close-ups of the monkey and the sign. Slow
(pure Python): about a minute in all.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen.image import Image, read_png  # noqa: E402

LIGHT = (0.0, 0.0, 10.0)
QUARTER = 3.14 / 2  # the scene's quarter turn, as the demonstration computes it


def identity():
    return [[1.0 if r == c else 0.0 for c in range(4)] for r in range(4)]


def mul(a, b):
    return [[sum(a[r][k] * b[k][c] for k in range(4)) for c in range(4)] for r in range(4)]


def translate(x, y, z):
    m = identity()
    m[0][3], m[1][3], m[2][3] = x, y, z
    return m


def rot_x(a):
    c, s = math.cos(a), math.sin(a)
    return [[1, 0, 0, 0], [0, c, -s, 0], [0, s, c, 0], [0, 0, 0, 1]]


def rot_y(a):
    c, s = math.cos(a), math.sin(a)
    return [[c, 0, s, 0], [0, 1, 0, 0], [-s, 0, c, 0], [0, 0, 0, 1]]


def rot_z(a):
    c, s = math.cos(a), math.sin(a)
    return [[c, -s, 0, 0], [s, c, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]


def rigid_inverse(m):
    r = [[m[c][r] for c in range(3)] for r in range(3)]
    t = [m[0][3], m[1][3], m[2][3]]
    out = identity()
    for i in range(3):
        for j in range(3):
            out[i][j] = r[i][j]
        out[i][3] = -sum(r[i][k] * t[k] for k in range(3))
    return out


def apply(m, p, w=1.0):
    return tuple(m[r][0] * p[0] + m[r][1] * p[1] + m[r][2] * p[2] + m[r][3] * w for r in range(3))


def load_obj(path):
    """Triangles (texture, [(position, uv, normal)] * 3) of an OBJ file."""
    folder = os.path.dirname(path)
    v, vt, vn, tris = [], [], [], []
    textures, current = {}, None
    with open(path) as f:
        for line in f:
            parts = line.split()
            if not parts:
                continue
            if parts[0] == "v":
                v.append(tuple(map(float, parts[1:4])))
            elif parts[0] == "vt":
                vt.append(tuple(map(float, parts[1:3])))
            elif parts[0] == "vn":
                vn.append(tuple(map(float, parts[1:4])))
            elif parts[0] == "mtllib":
                name = None
                with open(os.path.join(folder, parts[1])) as lib:
                    for mline in lib:
                        mp = mline.split()
                        if mp and mp[0] == "newmtl":
                            name = mp[1]
                        elif mp and mp[0] == "map_Kd":
                            textures[name] = read_png(os.path.join(folder, mp[1]))
            elif parts[0] == "usemtl":
                current = textures[parts[1]]
            elif parts[0] == "f":
                corners = []
                for ref in parts[1:]:
                    a, b, c = (int(x) for x in ref.split("/"))
                    corners.append((v[a - 1], vt[b - 1], vn[c - 1]))
                for i in range(1, len(corners) - 1):
                    tris.append((current, [corners[0], corners[i], corners[i + 1]]))
    return tris


def perspective_project(p, fov, aspect, width, height):
    """View-space point -> (screen x, screen y, depth 0..1, 1/w)."""
    f = 1.0 / math.tan(math.radians(fov) / 2)
    w = -p[2]
    x = f / aspect * p[0] / w
    y = f * p[1] / w
    near, far = 1.0, 1000.0
    z = ((far + near) / (near - far) * p[2] + 2 * far * near / (near - far)) / w
    return ((x + 1) * 0.5 * width, (1 - y) * 0.5 * height, z * 0.5 + 0.5, 1.0 / w)


def clip_near(poly, near=1.0):
    """Clips a polygon of (view position, attributes...) to z <= -near."""
    out = []
    for i, a in enumerate(poly):
        b = poly[(i + 1) % len(poly)]
        ina, inb = a[0][2] <= -near, b[0][2] <= -near
        if ina:
            out.append(a)
        if ina != inb:
            t = (-near - a[0][2]) / (b[0][2] - a[0][2])
            out.append(tuple(tuple(x + (y - x) * t for x, y in zip(ea, eb))
                             for ea, eb in zip(a, b)))
    return out


class Target:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.depth = [2.0] * (width * height)
        self.color = [(0.0, 0.0, 0.0)] * (width * height)


def rasterize(target, screen, attrs, shade, cull_front=False):
    """Fills a screen triangle with depth test; attrs are interpolated
    perspective-correctly and handed to shade(attrs) -> colour or None."""
    (x0, y0, z0, w0), (x1, y1, z1, w1), (x2, y2, z2, w2) = screen
    area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0)
    # y grows downwards on screen, so counter-clockwise faces have area < 0
    front = area < 0
    if area == 0 or front == cull_front:
        return
    minx = max(int(min(x0, x1, x2)), 0)
    maxx = min(int(max(x0, x1, x2)) + 1, target.width - 1)
    miny = max(int(min(y0, y1, y2)), 0)
    maxy = min(int(max(y0, y1, y2)) + 1, target.height - 1)
    inv = 1.0 / area
    a0, a1, a2 = attrs
    n = len(a0)
    for py in range(miny, maxy + 1):
        cy = py + 0.5
        for px in range(minx, maxx + 1):
            cx = px + 0.5
            l0 = ((x1 - cx) * (y2 - cy) - (x2 - cx) * (y1 - cy)) * inv
            l1 = ((x2 - cx) * (y0 - cy) - (x0 - cx) * (y2 - cy)) * inv
            l2 = 1.0 - l0 - l1
            if l0 < 0 or l1 < 0 or l2 < 0:
                continue
            z = l0 * z0 + l1 * z1 + l2 * z2
            i = py * target.width + px
            if z >= target.depth[i]:
                continue
            q0, q1, q2 = l0 * w0, l1 * w1, l2 * w2
            s = 1.0 / (q0 + q1 + q2)
            values = [(q0 * a0[k] + q1 * a1[k] + q2 * a2[k]) * s for k in range(n)]
            colour = shade(values)
            if colour is None:
                continue
            target.depth[i] = z
            target.color[i] = colour


def sample(img, u, v):
    x = int((u % 1.0) * img.width) % img.width
    y = int((1.0 - v % 1.0) * img.height) % img.height
    i = (y * img.width + x) * 3
    p = img.pixels
    return (p[i] / 255.0, p[i + 1] / 255.0, p[i + 2] / 255.0)


def draw(scene, camera, width, height, fov, target, shade_for):
    view = rigid_inverse(camera)
    aspect = width / height
    for tris, model in scene:
        mv = mul(view, model)
        for texture, corners in tris:
            poly = []
            for p, uv, nrm in corners:
                world = apply(model, p)
                normal = apply(model, nrm, 0.0)
                poly.append((apply(mv, p), world + uv + normal))
            poly = clip_near(poly)
            if len(poly) < 3:
                continue
            screen = [perspective_project(vp, fov, aspect, width, height) for vp, _ in poly]
            shade = shade_for(texture)
            for i in range(1, len(poly) - 1):
                rasterize(target, [screen[0], screen[i], screen[i + 1]],
                          [poly[0][1], poly[i][1], poly[i + 1][1]], shade,
                          cull_front=shade_for is _depth_only)


def _depth_only(texture):
    return lambda values: (0.0, 0.0, 0.0)


def shadow_map(scene, size=256):
    light = translate(*LIGHT)
    target = Target(size, size)
    draw(scene, light, size, size, 45.0, target, _depth_only)
    return target


def render(scene, camera, width, height, shadows):
    view_light = rigid_inverse(translate(*LIGHT))
    target = Target(width, height)
    target.color = [(1.0, 1.0, 1.0)] * (width * height)

    def shade_for(texture):
        def shade(values):
            px, py, pz, u, v, nx, ny, nz = values
            tex = sample(texture, u, v)
            lx, ly, lz = LIGHT[0] - px, LIGHT[1] - py, LIGHT[2] - pz
            ll = math.sqrt(lx * lx + ly * ly + lz * lz)
            nl = math.sqrt(nx * nx + ny * ny + nz * nz) or 1.0
            diffuse = max(0.0, (lx * nx + ly * ny + lz * nz) / (ll * nl))
            if diffuse > 0 and shadows is not None:
                lp = apply(view_light, (px, py, pz))
                if lp[2] < -1.0:
                    sx, sy, sz, _ = perspective_project(lp, 45.0, 1.0, shadows.width,
                                                        shadows.height)
                    ix, iy = int(sx), int(sy)
                    if 0 <= ix < shadows.width and 0 <= iy < shadows.height:
                        if shadows.depth[iy * shadows.width + ix] < sz - 1e-5:
                            diffuse = 0.0
            k = 0.3 + 0.8 * diffuse
            return (tex[0] * k, tex[1] * k, tex[2] * k)
        return shade

    draw(scene, camera, width, height, 45.0, target, shade_for)
    img = Image(width, height)
    for i, c in enumerate(target.color):
        img.set(i % width, i // width, c)
    return img


def demo_scene(folder, orbit_steps=0, sign_steps=0):
    """The scene graph of the demonstration, flattened: (triangles, matrix)
    pairs, after the given numbers of animation steps. Returns the scene, the
    main camera's matrix and the inset camera's matrix."""
    dome = load_obj(os.path.join(folder, "thunderdome.obj"))
    monkey = load_obj(os.path.join(folder, "monkey.obj"))
    sign = load_obj(os.path.join(folder, "sign.obj"))
    orbit = mul(rot_y(0.05 * orbit_steps), translate(0, 0, 7))
    group = rot_z(0.1 * sign_steps)
    sign1 = mul(mul(translate(0, 2, 0), rot_x(QUARTER)), rot_x(0.05 * sign_steps))
    sign2 = mul(mul(mul(translate(-1.4, 0, 0), translate(0, -1.4, 0)), rot_x(-QUARTER)),
                rot_y(0.1 * sign_steps))
    sign3 = mul(mul(mul(translate(1.4, 0, 0), translate(0, -1.4, 0)), rot_x(QUARTER)),
                rot_z(0.05 * sign_steps))
    scene = [
        (dome, identity()),
        (monkey, rot_x(QUARTER)),
        (sign, mul(group, sign1)),
        (sign, mul(group, sign2)),
        (sign, mul(group, sign3)),
        (monkey, mul(orbit, mul(rot_y(3.14), rot_x(QUARTER)))),
    ]
    camera0 = mul(rot_x(0.1), mul(translate(0, -0.5, 0), translate(0, 0, 7)))
    return scene, camera0, orbit


def look_from(eye, target=(0.0, 0.0, 0.0), up=(0.0, 1.0, 0.0)):
    """Camera matrix at eye looking at target (the camera looks along -Z)."""
    def norm(a):
        n = math.sqrt(sum(x * x for x in a))
        return tuple(x / n for x in a)

    def crs(a, b):
        return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])

    back = norm(tuple(e - t for e, t in zip(eye, target)))
    right = norm(crs(up, back))
    true_up = crs(back, right)
    m = identity()
    for r in range(3):
        m[r][0], m[r][1], m[r][2], m[r][3] = right[r], true_up[r], back[r], eye[r]
    return m


def main():
    out = sys.argv[1]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "mtl")
    os.makedirs(out, exist_ok=True)
    for steps in (0, 20):
        scene, camera0, _ = demo_scene(folder, orbit_steps=steps, sign_steps=steps)
        shadows = shadow_map(scene)
        render(scene, camera0, 640, 480, shadows).write_png(
            os.path.join(out, "scene_camera0_%d.png" % steps))
    for steps in (20, 45, 63):
        scene, _, orbit = demo_scene(folder, orbit_steps=steps, sign_steps=steps)
        shadows = shadow_map(scene)
        render(scene, orbit, 200, 150, shadows).write_png(
            os.path.join(out, "scene_orbit_%d.png" % steps))
    monkey = [(load_obj(os.path.join(folder, "monkey.obj")), rot_x(QUARTER))]
    views = {"front": (0.0, 0.3, 4.0), "three_quarter": (2.6, 0.8, 3.0),
             "side": (4.0, 0.3, 0.0), "above": (0.0, 4.0, 1.5)}
    for name, eye in views.items():
        render(monkey, look_from(eye), 240, 240, None).write_png(
            os.path.join(out, "monkey_%s.png" % name))
    sign = [(load_obj(os.path.join(folder, "sign.obj")), rot_x(QUARTER))]
    for name, eye in {"front": (0.5, 0.4, 2.0), "back": (-0.5, 0.4, -2.0)}.items():
        render(sign, look_from(eye, (0.0, 0.0, 0.0)), 200, 150, None).write_png(
            os.path.join(out, "sign_%s.png" % name))


if __name__ == "__main__":
    main()
