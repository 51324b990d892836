"""A stylised monkey head: skull, brow, muzzle, cup-shaped ears and eye
sockets blended into one smooth surface, plus two eyeballs.

The head is modelled upright, facing +Z with +Y up and the origin in the middle
of the skull, as a signed distance field turned into quads by surface nets.
`to_model` lays it down so that the scene's quarter turn about X stands it up
again, facing +Z."""

import math

from .objmesh import Material, Mesh, add, cross, dot, newell_normal, normalize, scale, sub

CELL = 0.065  # surface-net cell size: about 3300 faces for the head
BOX_MIN = (-1.35, -0.85, -0.9)
BOX_MAX = (1.35, 0.95, 1.0)

EYE_CENTRE = (0.25, 0.12, 0.50)  # right eye; the left one is mirrored in x
EYE_RADIUS = 0.15
SOCKET_CENTRE = (0.25, 0.12, 0.56)
SOCKET_RADIUS = 0.17

EAR_CENTRE = (0.92, 0.12, -0.12)  # right ear
EAR_FACING = normalize((0.57, 0.0, 0.82))  # forward and outward
EAR_RADIUS = 0.33
EAR_HALF_THICKNESS = 0.1
EAR_CUP_OFFSET = 0.16  # in front of the ear's middle plane
EAR_CUP_RADII = (0.1, 0.22, 0.22)
EAR_UV_HALF_SIZE = 0.4  # the ear texture spans this far from the ear's centre

UV_CENTRE = (0.0, 0.05, 0.0)  # centre of the spherical mapping of the head

MATERIALS = [
    Material("monkey_fur", "monkey_head.png", diffuse=(0.9, 0.9, 0.9),
             ambient=(0.35, 0.35, 0.35), specular=(0.1, 0.1, 0.1), shininess=10.0),
    Material("monkey_ear", "monkey_ear.png", diffuse=(0.9, 0.9, 0.9),
             ambient=(0.35, 0.35, 0.35), specular=(0.1, 0.1, 0.1), shininess=10.0),
    Material("monkey_eye", "monkey_eye.png", diffuse=(0.9, 0.9, 0.9),
             ambient=(0.35, 0.35, 0.35), specular=(0.8, 0.8, 0.8), shininess=64.0),
]


def to_model(p):
    """Inverse of the quarter turn about X: upright (x, y, z) -> lying (x, z, -y)."""
    return (p[0], p[2], -p[1])


def _ellipsoid(p, c, r):
    """Approximate signed distance to an axis-aligned ellipsoid."""
    q = (p[0] - c[0], p[1] - c[1], p[2] - c[2])
    k0 = math.sqrt((q[0] / r[0]) ** 2 + (q[1] / r[1]) ** 2 + (q[2] / r[2]) ** 2)
    k1 = math.sqrt((q[0] / r[0] ** 2) ** 2 + (q[1] / r[1] ** 2) ** 2 + (q[2] / r[2] ** 2) ** 2)
    if k1 == 0.0:
        return -min(r)
    return k0 * (k0 - 1.0) / k1


def _smin(a, b, k):
    h = max(k - abs(a - b), 0.0) / k
    return min(a, b) - h * h * k * 0.25


def _smax(a, b, k):
    return -_smin(-a, -b, k)


def ear_frame(side):
    """Centre, facing direction, up and outward axes of the ear on side +1 or -1."""
    c = (side * EAR_CENTRE[0], EAR_CENTRE[1], EAR_CENTRE[2])
    f = (side * EAR_FACING[0], EAR_FACING[1], EAR_FACING[2])
    up = (0.0, 1.0, 0.0)
    out = normalize(cross(up, f)) if side > 0 else normalize(cross(f, up))
    return c, f, up, out


def _ear(p, side):
    """A round disc with a fully rounded rim (its rounding no sharper than the
    surface-net cells can follow) and a shallow cup in its front."""
    c, f, up, out = ear_frame(side)
    q = sub(p, c)
    lx, ly, lz = dot(q, f), dot(q, up), dot(q, out)
    radial = math.hypot(ly, lz) - (EAR_RADIUS - EAR_HALF_THICKNESS)
    axial = abs(lx)
    disc = (math.hypot(max(radial, 0.0), max(axial, 0.0)) + min(max(radial, axial), 0.0)
            - EAR_HALF_THICKNESS)
    cup = _ellipsoid((lx, ly, lz), (EAR_CUP_OFFSET, 0.0, 0.0), EAR_CUP_RADII)
    return _smax(disc, -cup, 0.05)


def field(p):
    """Signed distance (approximate): negative inside the head."""
    d = _ellipsoid(p, (0.0, 0.1, -0.05), (0.72, 0.70, 0.68))  # skull
    d = _smin(d, _ellipsoid(p, (0.0, -0.22, 0.1), (0.6, 0.45, 0.55)), 0.2)  # jaw
    d = _smin(d, _ellipsoid(p, (0.0, 0.27, 0.40), (0.58, 0.17, 0.26)), 0.12)  # brow
    d = _smin(d, _ellipsoid(p, (0.0, -0.30, 0.46), (0.44, 0.28, 0.34)), 0.15)  # muzzle
    d = _smin(d, _ellipsoid(p, (0.0, -0.47, 0.38), (0.30, 0.15, 0.30)), 0.1)  # chin
    for side in (1, -1):
        d = _smin(d, _ear(p, side), 0.12)
        socket = (side * SOCKET_CENTRE[0], SOCKET_CENTRE[1], SOCKET_CENTRE[2])
        d = _smax(d, -_ellipsoid(p, socket, (SOCKET_RADIUS,) * 3), 0.08)
    return d


def gradient(p, eps=1e-3):
    g = []
    for axis in range(3):
        a, b = list(p), list(p)
        a[axis] += eps
        b[axis] -= eps
        g.append((field(a) - field(b)) / (2 * eps))
    return tuple(g)


def _project(p, steps=4):
    """Moves a point onto the surface along the field's gradient."""
    for _ in range(steps):
        f = field(p)
        g = gradient(p)
        gg = dot(g, g)
        if gg == 0.0 or abs(f) < 1e-5:
            break
        step = f / gg
        p = sub(p, scale(g, max(-CELL, min(CELL, step))))
    return p


def surface_nets():
    """Quads of the zero surface of `field`: one vertex per grid cell that the
    surface crosses, one quad per grid edge that it crosses."""
    n = [int(math.ceil((BOX_MAX[a] - BOX_MIN[a]) / CELL)) for a in range(3)]

    def node(i, j, k):
        return (BOX_MIN[0] + i * CELL, BOX_MIN[1] + j * CELL, BOX_MIN[2] + k * CELL)

    values = {}
    for i in range(n[0] + 1):
        for j in range(n[1] + 1):
            for k in range(n[2] + 1):
                values[(i, j, k)] = field(node(i, j, k))
    cube = [(a, b, c) for a in (0, 1) for b in (0, 1) for c in (0, 1)]
    edges = [(u, w) for u in range(8) for w in range(u + 1, 8)
             if sum(x != y for x, y in zip(cube[u], cube[w])) == 1]
    cells = {}
    for i in range(n[0]):
        for j in range(n[1]):
            for k in range(n[2]):
                corners = [(i + a, j + b, k + c) for a, b, c in cube]
                vals = [values[c] for c in corners]
                if min(vals) >= 0.0 or max(vals) < 0.0:
                    continue
                pts = []
                for u, w in edges:
                    fu, fw = vals[u], vals[w]
                    if (fu < 0.0) != (fw < 0.0):
                        t = fu / (fu - fw)
                        pu, pw = node(*corners[u]), node(*corners[w])
                        pts.append(add(pu, scale(sub(pw, pu), t)))
                centre = scale(tuple(map(sum, zip(*pts))), 1.0 / len(pts))
                cells[(i, j, k)] = _project(centre)
    quads = []
    for (i, j, k), f0 in values.items():
        for axis in range(3):
            other = [i, j, k]
            other[axis] += 1
            f1 = values.get(tuple(other))
            if f1 is None or (f0 < 0.0) == (f1 < 0.0):
                continue
            a1, a2 = (axis + 1) % 3, (axis + 2) % 3
            ring = []
            for d1, d2 in ((-1, -1), (0, -1), (0, 0), (-1, 0)):
                c = [i, j, k]
                c[a1] += d1
                c[a2] += d2
                ring.append(cells.get(tuple(c)))
            if None in ring:
                continue
            outward = [0.0, 0.0, 0.0]
            outward[axis] = 1.0 if f0 < 0.0 else -1.0
            quads.append((ring, tuple(outward)))
    return _relax(quads)


def _relax(quads, rounds=2):
    """Evens out the spacing of the surface-net vertices: each moves to the
    mean of its neighbours and back onto the surface. Without it thin parts
    such as the ears get ragged outlines."""
    neighbours = {}
    for ring, _ in quads:
        for i, p in enumerate(ring):
            neighbours.setdefault(p, set()).update((ring[i - 1], ring[(i + 1) % 4]))
    moved = {p: p for p in neighbours}
    for _ in range(rounds):
        moved = {p: _project(scale(tuple(map(sum, zip(*(moved[q] for q in near)))),
                                   1.0 / len(near)))
                 for p, near in neighbours.items()}
    return [([moved[p] for p in ring], outward) for ring, outward in quads]


def _head_uv(p):
    """Spherical mapping around the X axis: the poles sit under the ears and
    the seam runs down the back of the head, both out of sight."""
    d = normalize(sub(p, UV_CENTRE))
    v = math.acos(max(-1.0, min(1.0, d[0]))) / math.pi
    u = 0.5 + math.atan2(d[1], d[2]) / (2 * math.pi)
    return (u, v)


def head_direction(u, v):
    """The direction from UV_CENTRE that _head_uv maps to (u, v)."""
    theta = (u - 0.5) * 2 * math.pi
    s = math.sin(math.pi * v)
    return (math.cos(math.pi * v), s * math.sin(theta), s * math.cos(theta))


def _ear_uv(p, side):
    c, _, up, out = ear_frame(side)
    q = sub(p, c)
    return (0.5 + dot(q, out) / (2 * EAR_UV_HALF_SIZE), 0.5 + dot(q, up) / (2 * EAR_UV_HALF_SIZE))


def _inner_ear_side(centroid, normal):
    """The side of the ear whose front (cup side) holds this face, or 0."""
    side = 1 if centroid[0] > 0 else -1
    if abs(centroid[0]) < 0.8:
        return 0
    _, f, _, _ = ear_frame(side)
    return side if dot(normal, f) > 0.3 else 0


def _split_if_bent(corners):
    """A quad stays a quad only when each of the four triangles of three of its
    corners turns counter-clockwise about the normals of its corners, so that
    either diagonal the driver splits it along gives front faces; otherwise it
    becomes two triangles along the better diagonal."""
    pts = [c[0] for c in corners]
    normals = [c[2] for c in corners]

    def worst(tri):
        a, b, c = (pts[i] for i in tri)
        n = normalize(cross(sub(b, a), sub(c, b)))
        return min(dot(n, normals[i]) for i in tri)

    if min(worst(((i - 1) % 4, i, (i + 1) % 4)) for i in range(4)) > 0.1:
        return [corners]
    splits = [((0, 1, 2), (0, 2, 3)), ((1, 2, 3), (1, 3, 0))]
    best = max(splits, key=lambda s: min(worst(t) for t in s))
    return [[corners[i] for i in t] for t in best]


def _head(mesh):
    normals = {}
    for ring, outward in surface_nets():
        n = newell_normal(ring)
        if dot(n, outward) < 0:
            ring = ring[::-1]
        for p in ring:
            if p not in normals:
                normals[p] = normalize(gradient(p))
        centroid = scale(tuple(map(sum, zip(*ring))), 0.25)
        side = _inner_ear_side(centroid, newell_normal(ring))
        if side:
            material = "monkey_ear"
            uvs = [_ear_uv(p, side) for p in ring]
        else:
            material = "monkey_fur"
            uvs = [_head_uv(p) for p in ring]
            if max(u for u, _ in uvs) - min(u for u, _ in uvs) > 0.5:
                # across the seam: lift the small u past 1, the texture repeats
                uvs = [(u + 1.0 if u < 0.5 else u, v) for u, v in uvs]
        corners = [(p, uv, normals[p]) for p, uv in zip(ring, uvs)]
        for face in _split_if_bent(corners):
            mesh.add_face(material, face, facing=outward)


def _eyeball(mesh, side, rings=10, segments=16):
    c = (side * EYE_CENTRE[0], EYE_CENTRE[1], EYE_CENTRE[2])
    gaze = normalize((side * 0.12, 0.0, 1.0))
    a = normalize(cross((0.0, 1.0, 0.0), gaze))
    b = cross(gaze, a)

    def corner(i, j):
        theta = math.pi * i / rings
        phi = 2 * math.pi * j / segments
        d = add(scale(gaze, math.cos(theta)),
                scale(add(scale(a, math.cos(phi)), scale(b, math.sin(phi))), math.sin(theta)))
        # v = 1 at the pupil, 0 at the back of the eyeball
        return (add(c, scale(d, EYE_RADIUS)), (j / segments, 1.0 - i / rings), d)

    for j in range(segments):
        front = corner(0, j)
        front = (front[0], ((j + 0.5) / segments, 1.0), front[2])
        tri = [front, corner(1, j), corner(1, j + 1)]
        mesh.add_face("monkey_eye", tri, facing=gaze)
        back = corner(rings, j)
        back = (back[0], ((j + 0.5) / segments, 0.0), back[2])
        tri = [back, corner(rings - 1, j + 1), corner(rings - 1, j)]
        mesh.add_face("monkey_eye", tri, facing=scale(gaze, -1.0))
    for i in range(1, rings - 1):
        for j in range(segments):
            quad = [corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1)]
            mesh.add_face("monkey_eye", quad, facing=normalize(sub(
                corner(i + 0.5, j + 0.5)[0], c)))


def build():
    mesh = Mesh()
    _head(mesh)
    for side in (1, -1):
        _eyeball(mesh, side)
    return mesh.transformed(to_model)
