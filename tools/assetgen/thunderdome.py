"""The arena around the scene: a tiled floor, a ring wall and a dome over it,
all seen from inside. The scene's light hangs at z = 10 and its shadow map
looks down -Z, so Z is the arena's up axis: the floor lies below the objects
at the origin and catches their shadows."""

import math

from .objmesh import Material, Mesh

RADIUS = 12.0
FLOOR_Z = -9.0  # deep enough for the orbiting camera (7 from the origin)
BAND_TOP_Z = -8.25
WALL_ROWS = 5
SEGMENTS = 48
DOME_RINGS = 12
FLOOR_RINGS = [0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0, 11.0, 12.0]
FLOOR_TILE_REPEAT = 3.0  # world units covered by one copy of the floor texture

MATERIALS = [
    Material("dome_floor", "thunderdome_floor.png", diffuse=(0.85, 0.85, 0.85),
             ambient=(0.3, 0.3, 0.3), specular=(0.15, 0.15, 0.15), shininess=16.0),
    Material("dome_band", "thunderdome_band.png", diffuse=(0.85, 0.85, 0.85),
             ambient=(0.3, 0.3, 0.3), specular=(0.1, 0.1, 0.1), shininess=12.0),
    Material("dome_wall", "thunderdome_wall.png", diffuse=(0.85, 0.85, 0.85),
             ambient=(0.3, 0.3, 0.3), specular=(0.3, 0.3, 0.3), shininess=32.0),
    Material("dome_roof", "thunderdome_roof.png", diffuse=(0.85, 0.85, 0.85),
             ambient=(0.3, 0.3, 0.3), specular=(0.2, 0.2, 0.2), shininess=20.0),
]


def _angle(seg):
    return 2.0 * math.pi * seg / SEGMENTS


def _floor(mesh):
    up = (0.0, 0.0, 1.0)

    def corner(r, seg):
        x, y = r * math.cos(_angle(seg)), r * math.sin(_angle(seg))
        return ((x, y, FLOOR_Z), (x / FLOOR_TILE_REPEAT, y / FLOOR_TILE_REPEAT), up)

    centre = ((0.0, 0.0, FLOOR_Z), (0.0, 0.0), up)
    for s in range(SEGMENTS):
        mesh.add_face("dome_floor", [centre, corner(FLOOR_RINGS[0], s),
                                     corner(FLOOR_RINGS[0], s + 1)], facing=up)
    for r0, r1 in zip(FLOOR_RINGS, FLOOR_RINGS[1:]):
        for s in range(SEGMENTS):
            mesh.add_face("dome_floor", [corner(r0, s), corner(r1, s), corner(r1, s + 1),
                                         corner(r0, s + 1)], facing=up)


def _wall(mesh):
    """A band of warning stripes at the foot of the wall, then rows of panels;
    one texture copy per segment and row, so one panel per quad."""
    rows = [("dome_band", FLOOR_Z, BAND_TOP_Z, 0.0)]
    for i in range(WALL_ROWS):
        z0 = BAND_TOP_Z - BAND_TOP_Z * i / WALL_ROWS
        z1 = BAND_TOP_Z - BAND_TOP_Z * (i + 1) / WALL_ROWS
        rows.append(("dome_wall", z0, z1, float(i)))

    def corner(seg, z, v):
        a = _angle(seg)
        return ((RADIUS * math.cos(a), RADIUS * math.sin(a), z), (float(seg), v),
                (-math.cos(a), -math.sin(a), 0.0))

    for material, z0, z1, v in rows:
        for s in range(SEGMENTS):
            quad = [corner(s, z0, v), corner(s + 1, z0, v), corner(s + 1, z1, v + 1),
                    corner(s, z1, v + 1)]
            a = _angle(s + 0.5)
            mesh.add_face(material, quad, facing=(-math.cos(a), -math.sin(a), 0.0))


def _dome(mesh):
    def corner(seg, ring, u=None):
        phi = 0.5 * math.pi * ring / DOME_RINGS
        a = _angle(seg)
        d = (math.cos(phi) * math.cos(a), math.cos(phi) * math.sin(a), math.sin(phi))
        pos = (RADIUS * d[0], RADIUS * d[1], RADIUS * d[2])
        return (pos, (seg if u is None else u, ring), (-d[0], -d[1], -d[2]))

    for ring in range(DOME_RINGS - 1):
        for s in range(SEGMENTS):
            quad = [corner(s, ring), corner(s + 1, ring), corner(s + 1, ring + 1),
                    corner(s, ring + 1)]
            mid = corner(s + 0.5, ring + 0.5)[2]
            mesh.add_face("dome_roof", quad, facing=mid)
    top = DOME_RINGS - 1
    for s in range(SEGMENTS):
        tri = [corner(s, top), corner(s + 1, top), corner(s, DOME_RINGS, u=s + 0.5)]
        mesh.add_face("dome_roof", tri, facing=(0.0, 0.0, -1.0))


def build():
    mesh = Mesh()
    _floor(mesh)
    _wall(mesh)
    _dome(mesh)
    return mesh
