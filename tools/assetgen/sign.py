"""A sign: a painted board on a round wooden post. Built upright facing +Z with
+Y up, then laid down with to_model so that the scene's quarter turn about X
stands it up again."""

import math

from .objmesh import Material, Mesh

HALF_WIDTH = 0.52
BOTTOM, TOP = -0.04, 0.48  # the board, twice as wide as high like its painting
HALF_DEPTH = 0.04
POST_RADIUS = 0.045
POST_BOTTOM, POST_TOP = -0.46, 0.05  # the top end is hidden inside the board
POST_SIDES = 8

MATERIALS = [
    Material("sign_board", "sign_board.png", diffuse=(0.9, 0.9, 0.9),
             ambient=(0.35, 0.35, 0.35), specular=(0.2, 0.2, 0.2), shininess=20.0),
    Material("sign_wood", "sign_wood.png", diffuse=(0.9, 0.9, 0.9),
             ambient=(0.35, 0.35, 0.35), specular=(0.05, 0.05, 0.05), shininess=8.0),
]


def to_model(p):
    """Inverse of the quarter turn about X: upright (x, y, z) -> lying (x, z, -y)."""
    return (p[0], p[2], -p[1])


def _board(mesh):
    w, d = HALF_WIDTH, HALF_DEPTH
    height = TOP - BOTTOM

    def face(material, points, uvs, normal):
        mesh.add_face(material, [(p, uv, normal) for p, uv in zip(points, uvs)], facing=normal)

    # Both sides carry the painting; the back one mirrored in u so that the
    # word reads the right way round from behind.
    front = [(-w, BOTTOM, d), (w, BOTTOM, d), (w, TOP, d), (-w, TOP, d)]
    face("sign_board", front, [(0, 0), (1, 0), (1, 1), (0, 1)], (0, 0, 1))
    back = [(w, BOTTOM, -d), (-w, BOTTOM, -d), (-w, TOP, -d), (w, TOP, -d)]
    face("sign_board", back, [(0, 0), (1, 0), (1, 1), (0, 1)], (0, 0, -1))
    # the four edges in plain wood, the grain running along each edge
    edges = [
        ([(-w, TOP, d), (w, TOP, d), (w, TOP, -d), (-w, TOP, -d)], (0, 1, 0), 2 * w),
        ([(-w, BOTTOM, -d), (w, BOTTOM, -d), (w, BOTTOM, d), (-w, BOTTOM, d)], (0, -1, 0), 2 * w),
        ([(w, BOTTOM, d), (w, BOTTOM, -d), (w, TOP, -d), (w, TOP, d)], (1, 0, 0), height),
        ([(-w, BOTTOM, -d), (-w, BOTTOM, d), (-w, TOP, d), (-w, TOP, -d)], (-1, 0, 0), height),
    ]
    for points, normal, run in edges:
        t = 2 * d
        face("sign_wood", points, [(0, 0), (t, 0), (t, run), (0, run)], normal)


def _post(mesh):
    def ring_point(i, y):
        a = 2 * math.pi * i / POST_SIDES
        return (POST_RADIUS * math.sin(a), y, POST_RADIUS * math.cos(a))

    for i in range(POST_SIDES):
        corners = []
        for j, y in ((i, POST_BOTTOM), (i + 1, POST_BOTTOM), (i + 1, POST_TOP), (i, POST_TOP)):
            p = ring_point(j, y)
            n = (p[0] / POST_RADIUS, 0.0, p[2] / POST_RADIUS)
            corners.append((p, (j / POST_SIDES, (y - POST_BOTTOM) * 2.0), n))
        a = 2 * math.pi * (i + 0.5) / POST_SIDES
        mesh.add_face("sign_wood", corners, facing=(math.sin(a), 0.0, math.cos(a)))
    for y, normal in ((POST_BOTTOM, (0.0, -1.0, 0.0)), (POST_TOP, (0.0, 1.0, 0.0))):
        centre = ((0.0, y, 0.0), (0.5, 0.5), normal)
        for i in range(POST_SIDES):
            corners = [centre]
            for j in (i, i + 1):
                p = ring_point(j, y)
                corners.append((p, (0.5 + p[0] * 5, 0.5 + p[2] * 5), normal))
            mesh.add_face("sign_wood", corners, facing=normal)


def build():
    mesh = Mesh()
    _board(mesh)
    _post(mesh)
    return mesh.transformed(to_model)
