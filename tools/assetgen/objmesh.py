"""A polygon mesh with per-corner texture coordinates and normals, written as a
Wavefront OBJ file with its MTL library."""

import math


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def scale(a, s):
    return (a[0] * s, a[1] * s, a[2] * s)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def length(a):
    return math.sqrt(dot(a, a))


def normalize(a):
    n = length(a)
    return (a[0] / n, a[1] / n, a[2] / n) if n > 0 else (0.0, 0.0, 0.0)


def newell_normal(points):
    """Normal of a polygon by Newell's method: its direction follows the
    counter-clockwise order of the points, also for a non-planar quad."""
    n = [0.0, 0.0, 0.0]
    for i, p in enumerate(points):
        q = points[(i + 1) % len(points)]
        n[0] += (p[1] - q[1]) * (p[2] + q[2])
        n[1] += (p[2] - q[2]) * (p[0] + q[0])
        n[2] += (p[0] - q[0]) * (p[1] + q[1])
    return normalize(tuple(n))


class Material:
    def __init__(self, name, texture, diffuse=(1.0, 1.0, 1.0), ambient=(0.3, 0.3, 0.3),
                 specular=(0.2, 0.2, 0.2), shininess=16.0):
        self.name = name
        self.texture = texture
        self.diffuse = diffuse
        self.ambient = ambient
        self.specular = specular
        self.shininess = shininess


class Mesh:
    """Faces of 3 or 4 corners; each corner is (position, uv, normal)."""

    def __init__(self):
        self.faces = []  # (material name, [(pos, uv, normal), ...])

    def add_face(self, material, corners, facing=None):
        """Adds a face; with `facing` given, the corner order is reversed when
        needed so that the face is counter-clockwise seen from that side."""
        assert len(corners) in (3, 4)
        if facing is not None:
            n = newell_normal([c[0] for c in corners])
            if dot(n, facing) < 0:
                corners = corners[::-1]
        self.faces.append((material, list(corners)))

    def transformed(self, fn):
        """A copy with fn applied to every position and normal (a rotation)."""
        out = Mesh()
        for mat, corners in self.faces:
            out.faces.append((mat, [(fn(p), uv, fn(n)) for p, uv, n in corners]))
        return out

    def extend(self, other):
        self.faces.extend(other.faces)

    def counts(self):
        tris = sum(1 for _, c in self.faces if len(c) == 3)
        return tris, len(self.faces) - tris


def _num(x):
    s = "%.4f" % x
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def write_obj(path, mesh, mtllib, comment):
    """Writes positions, texture coordinates and normals once each, and the
    faces grouped by material so that each material is one run of faces."""
    index = {"v": {}, "vt": {}, "vn": {}}
    lines = {"v": [], "vt": [], "vn": []}

    def ref(kind, values):
        key = tuple(_num(x) for x in values)
        table = index[kind]
        if key not in table:
            table[key] = len(table) + 1
            lines[kind].append(kind + " " + " ".join(key))
        return table[key]

    by_material = {}
    for mat, corners in mesh.faces:
        refs = [(ref("v", p), ref("vt", uv), ref("vn", normalize(n))) for p, uv, n in corners]
        by_material.setdefault(mat, []).append(refs)

    out = ["# " + comment, "mtllib " + mtllib]
    out += lines["v"] + lines["vt"] + lines["vn"]
    for mat, faces in by_material.items():
        out.append("usemtl " + mat)
        for refs in faces:
            out.append("f " + " ".join("%d/%d/%d" % r for r in refs))
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(out) + "\n")


def write_mtl(path, materials, comment):
    """Every material states every value: the loader carries values over from
    one material to the next when a line is missing."""
    out = ["# " + comment]
    for m in materials:
        out += [
            "newmtl " + m.name,
            "Ka %s %s %s" % tuple(_num(c) for c in m.ambient),
            "Kd %s %s %s" % tuple(_num(c) for c in m.diffuse),
            "Ks %s %s %s" % tuple(_num(c) for c in m.specular),
            "d 1",
            "Ns " + _num(m.shininess),
            "illum 2",
            "map_Kd " + m.texture,
            "",
        ]
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(out))
