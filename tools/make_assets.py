#!/usr/bin/env python3
"""Writes the demonstration's meshes, material libraries and textures into
mtl/: thunderdome.obj (the arena), monkey.obj (a monkey head) and sign.obj (a
sign on a post), each with its .mtl library and PNG images.

Usage: tools/make_assets.py [output directory, default mtl/ of the repository]

Only the Python standard library is needed. The output is committed, so the
build never runs this; run it again after changing anything under
tools/assetgen/. It ends by running tools/check_assets.py on what it wrote and
fails when that finds a problem.
"""

import os
import sys

import check_assets
from assetgen import monkey, objmesh, sign, textures, thunderdome

ASSETS = [
    ("thunderdome", thunderdome, "arena: floor, wall and dome, seen from inside"),
    ("monkey", monkey, "monkey head lying on its back; a quarter turn about X stands it up"),
    ("sign", sign, "sign on a post lying on its back; a quarter turn about X stands it up"),
]

IMAGES = {
    "thunderdome_floor.png": textures.floor_tiles,
    "thunderdome_band.png": textures.hazard_band,
    "thunderdome_wall.png": textures.wall_panel,
    "thunderdome_roof.png": textures.roof_panel,
    "monkey_head.png": textures.monkey_head,
    "monkey_ear.png": textures.monkey_ear,
    "monkey_eye.png": textures.monkey_eye,
    "sign_board.png": textures.sign_board,
    "sign_wood.png": textures.wood,
}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "mtl")
    os.makedirs(out, exist_ok=True)
    note = "made by tools/make_assets.py"
    for name, module, what in ASSETS:
        mesh = module.build()
        objmesh.write_mtl(os.path.join(out, name + ".mtl"), module.MATERIALS, note)
        # names in the .obj and .mtl are relative to the .obj file's folder
        objmesh.write_obj(os.path.join(out, name + ".obj"), mesh, name + ".mtl",
                          "%s, %s" % (what, note))
        tris, quads = mesh.counts()
        print("%s.obj: %d triangles, %d quads" % (name, tris, quads))
    for file_name, paint in IMAGES.items():
        img = paint()
        img.write_png(os.path.join(out, file_name))
        print("%s: %dx%d" % (file_name, img.width, img.height))
    found = check_assets.run(out)
    for p in found:
        print("PROBLEM: " + p)
    if found:
        sys.exit(1)


if __name__ == "__main__":
    main()
