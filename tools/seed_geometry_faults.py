#!/usr/bin/env python3
"""Seeds small faults into src/data/geometry/ one at a time and reports which test caught each.

Run from the repository root with a configured build directory:
    python3 tools/seed_geometry_faults.py [build-dir [text of the faults to seed]]
Each fault replaces one exact text of a source file; the file is restored afterwards, whatever
happens. Exits with status 1 if some fault made no test fail.
"""

import pathlib
import re
import subprocess
import sys

TARGETS = ["valuetypes_test", "matrix4_test", "mesh_test", "meshfactory_test"]
TESTS = r"^(ValueTypes|Matrix4|Mesh|MeshFactory)Test\."
GEO = "src/data/geometry/"

# (file, text, replacement, behaviour changed)
FAULTS = [
    ("vector3.h", "dy * dy + dz * dz", "dy * dy + dz * dy", "lengthSquared multiplies z by y"),
    ("vector3.h", "std::sqrt(static_cast<double>(lengthSquared()))",
     "static_cast<double>(lengthSquared())", "length is the squared length"),
    ("vector3.h", "    y /= len;", "    y /= length();",
     "normalize takes the length again after x is divided"),
    ("vector3.h", "static_cast<T>(az * bx - ax * bz)", "static_cast<T>(ax * bz - az * bx)",
     "cross negates its y component"),
    ("vector3.h", "ax * by - ay * bx", "ax * by - ay * bz", "cross reads other.z for z"),
    ("vector3.h", "    z /= len;\n    return *this;",
     "    z /= len;\n    static TVector3 copy;\n    copy = *this;\n    return copy;",
     "normalize returns a copy, not the vector"),
    ("vector3.h", "TVector3() : x(0), y(0), z(0)", "TVector3() : x(0), y(0), z(1)",
     "a default vector is (0, 0, 1)"),
    ("color.h", "Color() : r(1), g(1), b(1), a(1)", "Color() : r(1), g(1), b(1), a(0)",
     "the default colour is transparent"),
    ("color.h", "g = newG;\n    b = newB;", "g = newB;\n    b = newG;",
     "Color::set swaps green and blue"),
    ("texcoord.h", "u = newU;\n    v = newV;", "u = newV;\n    v = newU;",
     "TexCoord::set swaps u and v"),
    ("triangleindices.h", "b = newB;\n    c = newC;", "b = newC;\n    c = newB;",
     "TriangleIndices::set swaps b and c"),
    ("quadindices.h", "QuadIndices() : a(0), b(0), c(0), d(0)",
     "QuadIndices() : a(0), b(0), c(0), d(1)", "a default quad ends in vertex 1"),
    ("light.h", "Color specular;", "Color specular{0, 0, 0, 1};", "a default light has no specular"),
    ("material.h", "Color emission{0, 0, 0, 1};", "Color emission;",
     "a default material emits white"),
    ("material.h", "float shininess = 0;", "float shininess = 1;", "default shininess 1"),
    ("shader.h", "bool loaded = false;", "bool loaded = true;", "a new shader counts as loaded"),
    ("texture.h", "bool uploaded = false;", "bool uploaded = true;",
     "a new texture counts as uploaded"),
    ("matrix4.h", "elements_[4 * (k % 4) + k / 4] = rows[k]", "elements_[k] = rows[k]",
     "set stores rows, not columns"),
    ("matrix4.h", "const T* operator[](const int& i) const { return elements_ + 4 * i; }",
     "const T* operator[](const int& i) const { return elements_ + i; }",
     "const operator[] steps by one float, not by a column"),
    ("matrix4.h", "0, 0, 1, 0, 0, 0, 0, 1);\n    return shared;",
     "0, 0, 1, 0, 0, 0, 1, 1);\n    return shared;", "identity has a 1 at (3, 2)"),
    ("matrix4.h", "static_cast<double>(left[k][j]) * static_cast<double>(right[i][k])",
     "static_cast<double>(right[k][j]) * static_cast<double>(left[i][k])",
     "operator*= forms other x this"),
    ("matrix4.h", "const TMatrix4 right(other);", "const TMatrix4& right(other);",
     "operator*= reads its operand while writing itself"),
    ("matrix4.h", "    return *this;\n  }\n\n  TMatrix4& operator/=",
     "    static TMatrix4 copy;\n    copy = *this;\n    return copy;\n  }\n\n  TMatrix4& operator/=",
     "operator*= returns a copy, not the matrix"),
    ("matrix4.h", "return m /= s;", "return m /= s + 1;", "operator/ divides by one more"),
    ("matrix4.h", "result[c][r] = (*this)[r][c]", "result[c][r] = (*this)[c][r]",
     "transpose returns the matrix unchanged"),
    ("matrix4.h", "0, 1, 0, y, 0, 0, 1, z", "0, 1, 0, z, 0, 0, 1, y",
     "setTranslation swaps y and z"),
    ("matrix4.h", "0, c, -s, 0, 0, s, c, 0", "0, c, s, 0, 0, -s, c, 0",
     "setRotationX turns clockwise"),
    ("matrix4.h", "set(c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0", "set(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0",
     "setRotationY turns clockwise"),
    ("matrix4.h", "set(c, -s, 0, 0, s, c, 0, 0", "set(c, -s, 0, 0, s, -c, 0, 0",
     "setRotationZ negates element (1, 1)"),
    ("matrix4.h", "static T cosOf(T a) { return static_cast<T>(std::cos(",
     "static T cosOf(T a) { return static_cast<T>(std::sin(", "rotations take sine for cosine"),
    ("matrix4.h", "m[0][0] * m[1][1] - m[1][0] * m[0][1]", "m[0][0] * m[1][1] + m[1][0] * m[0][1]",
     "determinant of order 2 adds its second product"),
    ("matrix4.h", "if (n < 1) return 0;", "if (n < 1) return 1;", "determinant of order 0 is 1"),
    ("matrix4.h", "if (n == 1) return m[0][0];", "if (n == 1) return m[1][1];",
     "determinant of order 1 is element (1, 1)"),
    ("matrix4.h", "(j % 2 == 0) ? 1.0 : -1.0", "(j % 2 == 0) ? -1.0 : 1.0",
     "determinant expansion starts with a minus"),
    ("matrix4.h", "block[c - 1][k] = m[c][row]", "block[c - 1][k] = m[c][j]",
     "determinant minors repeat the left-out row"),
    ("matrix4.h", "((i + j) % 2 == 0) ? 1.0 : -1.0", "(i % 2 == 0) ? 1.0 : -1.0",
     "adjoint signs by the row alone"),
    ("matrix4.h", "result[j][i] = static_cast<T>", "result[i][j] = static_cast<T>",
     "adjoint returns the transposed cofactor matrix"),
    ("matrix4.h", "return adjoint().transpose() / d;", "return adjoint() / d;",
     "inverse forgets to transpose the adjoint"),
    ("mesh.cpp", "  reserveAndResize(normals, 0);\n", "",
     "a second resize keeps the old normals"),
    ("mesh.cpp", "  reserveAndResize(texCoords, 0);\n", "",
     "a second resize keeps the old texture coordinates"),
    ("mesh.cpp", "  reserveAndResize(colors, 0);\n", "", "a second resize keeps the old colours"),
    ("mesh.cpp", "vertexCount / 3", "(vertexCount + 2) / 3",
     "a partial triangle of vertices gets a material slot"),
    ("mesh.cpp", "indexedFaces != 0 ?", "triangleCount != 0 ?",
     "a quads-only mesh gets a slot per three vertices"),
    ("mesh.cpp", "reserveAndResize(vertices, vertexCount);", "reserveAndResize(vertices, vertexCount - 1);",
     "resize leaves one vertex out"),
    ("mesh.cpp", "reserveAndResize(colors, vertices.size())", "reserveAndResize(colors, materials.size())",
     "enableColors gives one colour per face"),
    ("mesh.cpp", "void Mesh::enableTexCoords() { reserveAndResize(texCoords, vertices.size()); }",
     "void Mesh::enableTexCoords() { reserveAndResize(normals, vertices.size()); }",
     "enableTexCoords enables normals"),
    ("mesh.cpp", "!mesh.normals.empty() || !mesh.texCoords.empty()",
     "!mesh.normals.empty() && !mesh.texCoords.empty()",
     "the summary shows (n) or (t) only when both are there"),
    ("mesh.cpp", 'if (!mesh.normals.empty()) out << "n";', 'if (!mesh.colors.empty()) out << "n";',
     "the summary's n follows the colours"),
    ("mesh.cpp", '" mat" << mesh.materials.size()', '" mat" << mesh.triangles.size()',
     "the summary counts triangles as materials"),
    ("mesh.h", "  sequence.reserve(n);\n", "", "growing a sequence takes storage in steps"),
    ("meshfactory.cpp", "{0.5f, -0.5f, 0.5f, 0, 0, 0, 1}", "{0.5f, -0.5f, 0.5f, 0, 0, 1, 1}",
     "corner 3 is blue, not black"),
    ("meshfactory.cpp", "{-0.5f, -0.5f, -0.5f, 1, 0, 0, 1}", "{-0.5f, -0.5f, 0.5f, 1, 0, 0, 1}",
     "corner 6 sits at z = +0.5"),
    ("meshfactory.cpp", "for (std::size_t i = 0; i < 8; ++i)", "for (std::size_t i = 0; i < 7; ++i)",
     "the last corner is not written"),
    ("meshfactory.cpp", "mesh->colors[1].set(0, 1, 1, 1);", "mesh->colors[1].set(0, 1, 1, 0);",
     "the triangle's cyan vertex is transparent"),
    ("meshfactory.cpp", "mesh->vertices[2].set(0, 0.5f, 0);", "mesh->vertices[2].set(0, -0.5f, 0);",
     "the triangle's top vertex is mirrored"),
    ("meshfactory.cpp", "for (auto& slot : mesh.materials) slot = material;",
     "for (auto& slot : mesh.materials) slot.reset(new Material);",
     "each face of a coloured mesh gets its own material"),
    ("meshfactory.cpp", "const boost::shared_ptr<Material> material(new Material);\n  for",
     "static const boost::shared_ptr<Material> material(new Material);\n  for",
     "every coloured mesh shares one material across calls"),
    ("meshfactory.cpp", "mesh->materials[2 * k + 1] = material;",
     "mesh->materials[2 * k + 1] = mesh->materials[0];",
     "the second face of each side gets the first side's material"),
    ("meshfactory.cpp", '{"dark green", {0, 0.5f, 0, 1}', '{"dark green", {0, 1, 0, 1}',
     "dark green is full green"),
    ("meshfactory.cpp", '{"light blue", {0, 0, 1, 1}, {-1, 0, 0}',
     '{"light blue", {0, 0, 1, 1}, {1, 0, 0}', "the x = -0.5 side's normal points inward"),
    ("meshfactory.cpp", "mesh->vertices[6 * k + i].set", "mesh->vertices[6 * k + 5 - i].set",
     "the named cube's sides wind clockwise"),
    ("meshfactory.cpp", "    material->name = side.name;\n", "", "the named cube's materials have no name"),
    ("meshfactory.cpp", "{3, 5, 1}, {7, 5, 3}", "{5, 1, 3}, {7, 5, 3}",
     "triangle 8 starts at another corner"),
    ("meshfactory.cpp", "{3, 7, 5, 1}, {4, 6, 2, 0}", "{7, 5, 1, 3}, {4, 6, 2, 0}",
     "quad 4 starts at another corner"),
    ("meshfactory.cpp", "  mesh->enableColors();\n  mesh->enableNormals();\n",
     "  mesh->enableColors();\n", "the quad cube has no normals"),
    ("meshfactory.cpp", "for (std::size_t f = 0; f < 6; ++f)", "for (std::size_t f = 0; f < 5; ++f)",
     "the last quad is not written"),
]


def run(cmd):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    only = sys.argv[2] if len(sys.argv) > 2 else ""
    missed = 0
    for name, old, new, behaviour in FAULTS:
        if only not in name + ": " + behaviour:
            continue
        path = pathlib.Path(GEO + name)
        original = path.read_text()
        if original.count(old) != 1:
            print(f"SKIP {name}: text found {original.count(old)} times: {behaviour}")
            missed += 1
            continue
        try:
            path.write_text(original.replace(old, new))
            built = run(["cmake", "--build", build, "-j4", "--target"] + TARGETS)
            if built.returncode != 0:
                caught = "the build"
            else:
                tested = run(["ctest", "--test-dir", build, "-R", TESTS])
                caught = ", ".join(re.findall(r"\d+ - (\S+) \([^)]*\)", tested.stdout))
        finally:
            path.write_text(original)
        if not caught:
            missed += 1
        print(f"{name}: {behaviour} -> {caught or 'NOTHING FAILED'}", flush=True)
    run(["cmake", "--build", build, "-j4", "--target"] + TARGETS)
    sys.exit(1 if missed else 0)


if __name__ == "__main__":
    main()
