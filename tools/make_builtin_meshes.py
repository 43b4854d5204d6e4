#!/usr/bin/env python3
"""Writes the player's built-in .x meshes (resource type "XMESH") and the demo project's leaf as
.x text files.

Usage: tools/make_builtin_meshes.py [output folder] [demo folder]
       (defaults: assets/meshes and assets/demo)

The built-in meshes stand in for the shared library's meshes of the same ids when a project
names the library and the library is absent:
  68  the butterfly's body: a spindle whose long axis runs along z;
  69  one butterfly wing: a plate in the xz plane hinged on the z axis, reaching out along +x;
  70  the clock's plate: a square in the xz plane, the dial and (stretched by their nodes) the
      hands.
The demo's leaf (leaf.x) is a leaf-shaped plate in the xy plane, bent a little along its length.

Faces are wound so that the cross product of their first two edges points out of the mesh, as
the meshes of the 3D library are wound. Only the standard library is used; the output is the
same on every run.
"""

import math
import os
import sys


def number(value):
    text = "%.6f" % value
    return "0.000000" if text == "-0.000000" else text


def mesh_text(name, comment, vertices, faces, uvs):
    """vertices: (x, y, z) tuples; faces: index triples; uvs: (u, v) per vertex."""
    lines = ["xof 0303txt 0032"]
    lines += ["// " + line for line in comment]
    lines.append("Mesh %s {" % name)
    lines.append(" %d;" % len(vertices))
    for i, (x, y, z) in enumerate(vertices):
        end = ";" if i + 1 == len(vertices) else ","
        lines.append(" %s;%s;%s;%s" % (number(x), number(y), number(z), end))
    lines.append(" %d;" % len(faces))
    for i, (a, b, c) in enumerate(faces):
        end = ";" if i + 1 == len(faces) else ","
        lines.append(" 3;%d,%d,%d;%s" % (a, b, c, end))
    lines.append(" MeshTextureCoords {")
    lines.append("  %d;" % len(uvs))
    for i, (u, v) in enumerate(uvs):
        end = ";" if i + 1 == len(uvs) else ","
        lines.append("  %s;%s;%s" % (number(u), number(v), end))
    lines.append(" }")
    lines.append("}")
    return "\n".join(lines) + "\n"


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def outward(vertices, faces, centre_of):
    """Turns every face whose normal points towards centre_of(face) around."""
    result = []
    for a, b, c in faces:
        pa, pb, pc = vertices[a], vertices[b], vertices[c]
        middle = tuple((pa[i] + pb[i] + pc[i]) / 3.0 for i in range(3))
        normal = cross(sub(pb, pa), sub(pc, pa))
        result.append((a, b, c) if dot(normal, sub(middle, centre_of(middle))) >= 0 else (a, c, b))
    return result


def grid_faces(columns, rows):
    """Two triangles per cell of a (columns + 1) x (rows + 1) vertex grid, row by row."""
    faces = []
    for j in range(rows):
        for i in range(columns):
            k = j * (columns + 1) + i
            faces += [(k, k + 1, k + columns + 1), (k + columns + 1, k + 1, k + columns + 2)]
    return faces


def body():
    """A spindle 60 long along z with a round head at +z; u runs around it, v along it."""
    rings, segments, length = 12, 10, 60.0
    vertices, uvs = [], []
    for j in range(rings + 1):
        t = j / rings  # 0 at the tail (z = -30), 1 at the head
        z = -length / 2 + t * length
        radius = 3.2 * math.sin(math.pi * t) ** 0.6 + (1.2 * math.exp(-((t - 0.9) / 0.06) ** 2))
        for i in range(segments + 1):
            a = 2.0 * math.pi * i / segments
            vertices.append((radius * math.cos(a), radius * math.sin(a), z))
            uvs.append((i / segments, 1.0 - t))
    faces = outward(vertices, grid_faces(segments, rings), lambda p: (0.0, 0.0, p[2]))
    return mesh_text("ButterflyBody",
                     ["The butterfly's body: a spindle 60 long along z, its head at +z."],
                     vertices, faces, uvs)


def plate(name, comment, x0, x1, z0, z1, uv):
    """A two-triangle plate in the xz plane; its faces look towards -y."""
    vertices = [(x0, 0.0, z0), (x0, 0.0, z1), (x1, 0.0, z1), (x1, 0.0, z0)]
    faces = outward(vertices, [(0, 1, 2), (0, 2, 3)], lambda p: (p[0], 1.0, p[2]))
    return mesh_text(name, comment, vertices, faces, [uv(x, z) for x, _, z in vertices])


def wing():
    # The picture's wing root is its top-left corner: u grows away from the body, v towards the
    # tail.
    return plate("ButterflyWing",
                 ["One butterfly wing: a 50 x 50 plate in the xz plane, hinged on the z axis",
                  "and reaching out along +x."],
                 0.0, 50.0, -25.0, 25.0, lambda x, z: (x / 50.0, (25.0 - z) / 50.0))


def clock_plate():
    # Turned upright by the clock's root (a quarter turn about x), +z is up on the screen: the
    # picture's top row lies at +z.
    return plate("ClockPlate",
                 ["The clock's plate: a 100 x 100 square in the xz plane about the origin; the",
                  "dial, and stretched along z by their nodes, the hands."],
                 -50.0, 50.0, -50.0, 50.0, lambda x, z: ((x + 50.0) / 100.0, (50.0 - z) / 100.0))


def leaf():
    """A 1 x 2 plate in the xy plane, bent along its length, the picture's top at -y."""
    columns, rows = 4, 8
    vertices, uvs = [], []
    for j in range(rows + 1):
        v = j / rows
        y = -1.0 + 2.0 * v
        for i in range(columns + 1):
            u = i / columns
            x = -0.5 + u
            z = 0.25 * (y * y) + 0.15 * (x * x * 4.0)
            vertices.append((x, y, z))
            uvs.append((u, v))
    faces = outward(vertices, grid_faces(columns, rows), lambda p: (p[0], p[1], p[2] + 10.0))
    return mesh_text("Leaf", ["A leaf: a 1 x 2 plate in the xy plane, bent a little along y."],
                     vertices, faces, uvs)


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "assets", "meshes")
    demo = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "assets", "demo")
    os.makedirs(out, exist_ok=True)
    for mid, text in ((68, body()), (69, wing()), (70, clock_plate())):
        with open(os.path.join(out, "%d.x" % mid), "w", newline="\n") as f:
            f.write(text)
        print("XMESH %d 1033 meshes/%d.x" % (mid, mid))
    os.makedirs(demo, exist_ok=True)
    with open(os.path.join(demo, "leaf.x"), "w", newline="\n") as f:
        f.write(leaf())


if __name__ == "__main__":
    main()
