#!/usr/bin/env python3
"""Checks the demonstration's assets in mtl/ against what the engine's loader
reads and what the scene expects of them. Exits 1 with one line per problem.

Usage: tools/check_assets.py [asset directory, default mtl/ of the repository]

Checked: the line forms (only those the loader reads, each line shorter than
256 characters, names without trailing blanks); index ranges; that every face
names a material of its library and every material sets every value and a
diffuse map that exists as a 24-bit PNG with rows of whole 4-byte words;
winding (each surface closed, every edge met once in each direction, each quad
convex about its normals so that either diagonal gives front faces, vertex
normals on the front side); that the arena faces inwards and encloses the
cameras and the light, while the monkey and the sign face outwards, stand
upright facing +Z after the scene's quarter turn about X and fit between the
signs and inside the inset camera's near plane.
"""

import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen.image import read_png  # noqa: E402

REAL = r"[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?"
LINE_FORMS = {
    "v": re.compile(r"v (%s) (%s) (%s)$" % (REAL, REAL, REAL)),
    "vt": re.compile(r"vt (%s) (%s)$" % (REAL, REAL)),
    "vn": re.compile(r"vn (%s) (%s) (%s)$" % (REAL, REAL, REAL)),
    "f": re.compile(r"f( \d+/\d+/\d+){3,4}$"),
    "usemtl": re.compile(r"usemtl (\S+)$"),
    "mtllib": re.compile(r"mtllib (\S+)$"),
}
MTL_KEYS = ["Ka", "Kd", "Ks", "d", "Ns", "illum", "map_Kd"]
QUARTER = 3.14 / 2

problems = []


def problem(text):
    problems.append(text)


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def normalize(a):
    n = math.sqrt(dot(a, a))
    return tuple(x / n for x in a) if n else a


def stand_up(p):
    """The scene's quarter turn about X."""
    c, s = math.cos(QUARTER), math.sin(QUARTER)
    return (p[0], c * p[1] - s * p[2], s * p[1] + c * p[2])


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    if b"\r" in data or b"\t" in data:
        problem("%s: carriage returns or tabs" % path)
    lines = data.decode("ascii").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for n, line in enumerate(lines, 1):
        if len(line) >= 255:
            problem("%s:%d: line of %d characters" % (path, n, len(line)))
        if line != line.rstrip():
            problem("%s:%d: trailing blanks" % (path, n))
    return lines


def read_mtl(path, folder, seen_names):
    materials = {}
    current = None
    for n, line in enumerate(read_lines(path), 1):
        if not line or line.startswith("#"):
            continue
        key, _, rest = line.partition(" ")
        if key == "newmtl":
            current = materials.setdefault(rest, {})
            if rest in seen_names:
                problem("%s:%d: material %s also in %s (one table for all files)"
                        % (path, n, rest, seen_names[rest]))
            seen_names[rest] = path
        elif key in MTL_KEYS and current is not None:
            current[key] = rest
        else:
            problem("%s:%d: unexpected line %r" % (path, n, line))
    for name, values in materials.items():
        for key in MTL_KEYS:
            if key not in values:
                problem("%s: material %s has no %s" % (path, name, key))
        if "map_Kd" in values:
            check_image(os.path.join(folder, values["map_Kd"]))
    return materials


def check_image(path):
    if not os.path.exists(path):
        problem("%s: missing texture" % path)
        return
    try:
        img = read_png(path)
    except AssertionError as e:
        problem(str(e))
        return
    if (img.width * 3) % 4:
        problem("%s: rows of %d bytes are not whole 4-byte words" % (path, img.width * 3))
    for size in (img.width, img.height):
        if size & (size - 1):
            problem("%s: %dx%d is not a power of two" % (path, img.width, img.height))


class Obj:
    def __init__(self, path, seen_names):
        self.path = path
        self.v, self.vt, self.vn = [], [], []
        self.faces = []  # (material, [(v, vt, vn) zero-based])
        folder = os.path.dirname(path)
        materials, current = {}, None
        for n, line in enumerate(read_lines(path), 1):
            if not line or line.startswith("#"):
                continue
            kind = line.split(" ", 1)[0]
            form = LINE_FORMS.get(kind)
            m = form.match(line) if form else None
            if not m:
                problem("%s:%d: line not in a plain form the loader reads: %r" % (path, n, line))
            elif kind in ("v", "vn"):
                getattr(self, kind).append(tuple(float(x) for x in m.groups()))
            elif kind == "vt":
                self.vt.append(tuple(float(x) for x in m.groups()))
            elif kind == "mtllib":
                materials.update(read_mtl(os.path.join(folder, m.group(1)), folder, seen_names))
            elif kind == "usemtl":
                current = m.group(1)
                if current not in materials:
                    problem("%s:%d: material %s not in the library" % (path, n, current))
            elif kind == "f":
                if current is None:
                    problem("%s:%d: face before any usemtl" % (path, n))
                refs = [tuple(int(i) - 1 for i in r.split("/")) for r in line.split()[1:]]
                for r in refs:
                    if not (0 <= r[0] < len(self.v) and 0 <= r[1] < len(self.vt)
                            and 0 <= r[2] < len(self.vn)):
                        problem("%s:%d: index out of range (indices refer to earlier lines)"
                                % (path, n))
                        break
                else:
                    self.faces.append((current, refs))
        for kind in ("v", "vt", "vn"):
            if not getattr(self, kind):
                problem("%s: no %s lines" % (path, kind))
        sizes = {len(refs) for _, refs in self.faces}
        if sizes != {3, 4}:
            problem("%s: faces of %s corners; both triangles and quads wanted"
                    % (path, sorted(sizes)))

    def positions(self, refs):
        return [self.v[r[0]] for r in refs]


def check_winding(obj):
    for material, refs in obj.faces:
        pts = obj.positions(refs)
        normals = [obj.vn[r[2]] for r in refs]
        for n in normals:
            if abs(math.sqrt(dot(n, n)) - 1.0) > 1e-3:
                problem("%s: normal %s is not of unit length" % (obj.path, n))
                return
        k = len(pts)
        # every three consecutive corners turn counter-clockwise about the
        # normals of all three: for a quad, either diagonal gives front faces
        for i in range(k):
            tri = ((i - 1) % k, i, (i + 1) % k)
            a, b, c = (pts[j] for j in tri)
            turn = normalize(cross(sub(b, a), sub(c, b)))
            if min(dot(turn, normals[j]) for j in tri) <= 0.0:
                problem("%s: face %s (%s) turns against its normals at corner %d"
                        % (obj.path, [r[0] + 1 for r in refs], material, i))
                break
    edges = {}
    for _, refs in obj.faces:
        for i in range(len(refs)):
            e = (refs[i][0], refs[(i + 1) % len(refs)][0])
            edges[e] = edges.get(e, 0) + 1
    for (a, b), count in edges.items():
        if count != 1 or edges.get((b, a)) != 1:
            problem("%s: edge %d-%d is not met once in each direction: the surface is "
                    "open or wound inconsistently" % (obj.path, a + 1, b + 1))
            break


def signed_volume(obj, transform=lambda p: p):
    total = 0.0
    for _, refs in obj.faces:
        pts = [transform(p) for p in obj.positions(refs)]
        for i in range(1, len(pts) - 1):
            total += dot(pts[0], cross(pts[i], pts[i + 1])) / 6.0
    return total


def check_thunderdome(obj):
    if signed_volume(obj) >= 0:
        problem("%s: does not face inwards" % obj.path)
    camera0 = (0.0, -0.5 * math.cos(0.1) - 7 * math.sin(0.1), -0.5 * math.sin(0.1) + 7 * math.cos(0.1))
    inside = [(0.0, 0.0, 10.0), camera0]
    # the inset camera orbits the origin at 7, its near plane 1 further out
    inside += [tuple(8.0 * x for x in d) for d in
               [(1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, -1, 0), (0, 0, 1), (0, 0, -1)]]
    for _, refs in obj.faces:
        pts = obj.positions(refs)
        n = normalize(cross(sub(pts[1], pts[0]), sub(pts[2], pts[0])))
        for p in inside:
            if dot(n, sub(p, pts[0])) <= 0.3:
                problem("%s: %s is not well inside the arena" % (obj.path, p))
                return
    floor = min(p[2] for p in obj.v)
    if floor > -8.5:
        problem("%s: floor at z = %g, above the orbit of the inset camera" % (obj.path, floor))


def centre_of(obj, material):
    pts = [obj.v[r[0]] for m, refs in obj.faces if m == material for r in refs]
    return tuple(sum(c) / len(pts) for c in zip(*pts))


def check_monkey(obj):
    if signed_volume(obj) <= 0:
        problem("%s: does not face outwards" % obj.path)
    up = [stand_up(p) for p in obj.v]
    reach = max(math.sqrt(dot(p, p)) for p in up)
    if reach > 1.25:
        problem("%s: reaches %.2f from its centre, into the signs' paths" % (obj.path, reach))
    if max(p[2] for p in up) >= 0.95:
        problem("%s: the face reaches the inset camera's near plane" % obj.path)
    eyes = stand_up(centre_of(obj, "monkey_eye"))
    ears = [stand_up(obj.v[r[0]]) for m, refs in obj.faces if m == "monkey_ear" for r in refs]
    if not (eyes[2] > 0.3 and eyes[1] > 0.0):
        problem("%s: standing up, the eyes are at %s, not in front and above the middle"
                % (obj.path, eyes))
    if not ears or min(abs(p[0]) for p in ears) < 0.6:
        problem("%s: the ears are not at the sides" % obj.path)


def check_sign(obj):
    if signed_volume(obj) <= 0:
        problem("%s: does not face outwards" % obj.path)
    up = [stand_up(p) for p in obj.v]
    if max(math.sqrt(dot(p, p)) for p in up) > 0.8:
        problem("%s: too large for its place" % obj.path)
    sides = set()
    for material, refs in obj.faces:
        if material != "sign_board":
            continue
        pts = [stand_up(p) for p in obj.positions(refs)]
        uvs = [obj.vt[r[1]] for r in refs]
        n = normalize(cross(sub(pts[1], pts[0]), sub(pts[2], pts[0])))
        # the painting must read left to right and upright from the side it faces
        right = cross((0.0, 1.0, 0.0), n)
        du = [(dot(sub(pts[i], pts[0]), right), uvs[i][0] - uvs[0][0]) for i in range(1, 4)]
        dv = [(pts[i][1] - pts[0][1], uvs[i][1] - uvs[0][1]) for i in range(1, 4)]
        if any(d * t < 0 for d, t in du) or any(d * t < 0 for d, t in dv):
            problem("%s: the painting on the face towards %s reads mirrored or upside down"
                    % (obj.path, n))
        sides.add(round(n[2]))
    if sides != {1, -1}:
        problem("%s: the board should face +Z and -Z standing up, faces %s" % (obj.path, sides))


def run(folder):
    """Checks the assets in folder; returns the list of problems found."""
    del problems[:]
    seen = {}
    checks = {"thunderdome": check_thunderdome, "monkey": check_monkey, "sign": check_sign}
    for name, check in checks.items():
        obj = Obj(os.path.join(folder, name + ".obj"), seen)
        check_winding(obj)
        check(obj)
        tris = sum(1 for _, r in obj.faces if len(r) == 3)
        print("checked %s.obj: %d triangles, %d quads, %d positions" %
              (name, tris, len(obj.faces) - tris, len(obj.v)))
    return list(problems)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    found = run(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "mtl"))
    for p in found:
        print("PROBLEM: " + p)
    print("%d problems" % len(found))
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
