#!/usr/bin/env python3
"""Writes the stress levels of the laser benchmark (bench/LaserBench.cpp) into this folder.

    python3 bench/data/make_stress_levels.py

stress-mirrors.txt   a zig-zag chain of 40 mirrors between two rows
stress-lattice.txt   a 6 x 6 lattice of half mirrors, about 1 850 segments
stress-filters.txt   a 5 x 4 lattice of half mirrors cut by the planes of 8 white filters

Every room is closed by a floor, a ceiling and four walls and contains the eye the benchmark
views from, (0, 80, 380). Level text reads every at, hash and plus character as the start of a
directive, so the comments written here never contain one of those three.
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# A wall is a 200 x 200 x 20 slab centred on its origin.
WALL_SIDE = 200.0
WALL_HALF_THICKNESS = 10.0
# Mirrors are 20 thick: their reflecting faces lie 10 in front of and behind the centre.
MIRROR_HALF_THICKNESS = 10.0


def num(v):
    """A number as the level reader takes it: short, no exponent."""
    text = f"{v:.4f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def pos(x, y, z):
    return f"# Pos {num(x)};{num(y)};{num(z)};"


def sca(x, y, z):
    return f"# Sca {num(x)};{num(y)};{num(z)};"


def room(x0, x1, y0, y1, z0, z1):
    """Floor, ceiling and four walls enclosing the box [x0, x1] x [y0, y1] x [z0, z1]."""
    w, h, d = x1 - x0, y1 - y0, z1 - z0
    cx, cy, cz = (x0 + x1) / 2, (y0 + y1) / 2, (z0 + z1) / 2
    t = WALL_HALF_THICKNESS
    # Side walls reach past the corners so that no beam escapes between two slabs.
    sw, sh, sd = (w + 4 * t) / WALL_SIDE, (h + 4 * t) / WALL_SIDE, (d + 4 * t) / WALL_SIDE
    lines = ["", "The room: floor, ceiling and four walls."]
    lines += ["@ WALL floor", pos(cx, y0 - t, cz), "# XRo 90;", sca(sw, sd, 1)]
    lines += ["@ WALL ceiling", pos(cx, y1 + t, cz), "# XRo 90;", sca(sw, sd, 1)]
    lines += ["@ WALL back", pos(cx, cy, z0 - t), sca(sw, sh, 1)]
    lines += ["@ WALL front", pos(cx, cy, z1 + t), sca(sw, sh, 1)]
    lines += ["@ WALL left", pos(x0 - t, cy, cz), "# YRo 90;", sca(sd, sh, 1)]
    lines += ["@ WALL right", pos(x1 + t, cy, cz), "# YRo 90;", sca(sd, sh, 1)]
    return lines


def finish(title, intro, body, room_lines):
    lines = [title, ""] + intro + [""] + body + room_lines
    lines += ["", "@ LIGHT", pos(0, 240, 0), "", "@ CAMERA", pos(0, 80, 380), ""]
    return "\n".join(lines)


def emitter(x, z, yaw=None):
    lines = ["@ EMITTER (the first element: only it starts light)", pos(x, 0, z)]
    if yaw is not None:
        lines.append(f"# YRo {num(yaw)};")
    return lines


def mirror_chain():
    # Two rows of 20 mirrors facing each other across x = 0, their faces at x = -F and x = F.
    # Mirror k sits in the right row when k is even, STEP further down -Z than mirror k - 1, so
    # a beam crossing from face to face always lands on the centre of the next mirror. The beam
    # loses 2 of its 32 at each reflection: it runs out on mirror 16, the rest only take part
    # as candidates.
    count, row, step = 40, 200.0, 90.0
    face = row - MIRROR_HALF_THICKNESS
    top = 200.0
    # The emitter stands where mirror -1 would be, aimed at mirror 0. A turn about Y by a
    # negative angle swings the -Z axis towards +X.
    yaw = -math.degrees(math.atan2(2 * face, step))
    body = emitter(-face, top + step, yaw)
    for k in range(count):
        x = row if k % 2 == 0 else -row
        body += ["", f"@ MIRROR {k + 1}", pos(x, 0, top - step * k), "# YRo 90;"]
    bottom = top - step * (count - 1)
    intro = [
        "A zig-zag chain of 40 mirrors in two facing rows. The white beam crosses",
        "from row to row down the chain until it has lost its intensity after 15",
        "reflections.",
    ]
    return finish("Beamworks stress level: mirror chain", intro, body,
                  room(-400, 400, -150, 270, bottom - 250, 500))


def half_mirror_lattice(columns, rows, spacing, x0, z0):
    """Half mirrors turned 45 degrees: a beam going -Z is reflected to +X and one going +X to
    -Z, so the light spreads over the lattice towards +X and -Z. The mirrors are squashed to a
    tenth of their thickness: the shift of a beam between front and back faces adds up from
    turn to turn and would walk it off the panes of a large lattice."""
    body = emitter(x0, z0 + spacing)
    for j in range(rows):
        for i in range(columns):
            body += ["", f"@ HMI half mirror, column {i + 1}, row {j + 1}",
                     pos(x0 + spacing * i, 0, z0 - spacing * j), "# YRo 45;", sca(1, 1, 0.1)]
    return body


def lattice():
    columns = rows = 6
    spacing, x0, z0 = 200.0, -500.0, 100.0
    body = half_mirror_lattice(columns, rows, spacing, x0, z0)
    intro = [
        "A 6 by 6 lattice of half mirrors. Every hit splits the beam in two, so",
        "one segment turns into about 1 850 before the light dies or leaves the",
        "lattice for the walls.",
    ]
    return finish("Beamworks stress level: half mirror lattice", intro, body,
                  room(-800, x0 + spacing * columns + 300, -150, 270,
                       z0 - spacing * rows - 300, 600))


def filters(yaw_swing=15.0):
    columns, rows = 5, 4
    spacing, x0, z0 = 200.0, -600.0, 100.0
    body = half_mirror_lattice(columns, rows, spacing, x0, z0)
    # Every step through the lattice, to +X or to -Z, lowers z - x by one spacing. Filter k
    # stands where the line z - x = z0 - x0 - (k + 1/2) spacing crosses the lattice's middle
    # diagonal, so its plane cuts the segments between the k-th and the next hit, and further
    # out the beams leaving the lattice. A turn of -45 degrees would lay the plane along that
    # line; the turns alternate yaw_swing degrees either side of it so that the planes also
    # cross one another. The panes hang overhead, out of the way of the beams at height 0.
    xc, zc = x0 + spacing * (columns - 1) / 2, z0 - spacing * (rows - 1) / 2
    for k in range(8):
        c = z0 - x0 - (k + 0.5) * spacing
        shift = (c - (zc - xc)) / 2
        yaw = -45.0 + (yaw_swing if k % 2 == 0 else -yaw_swing)
        body += ["", f"@ FILTER {k + 1}", pos(xc - shift, 190, zc + shift), f"# YRo {num(yaw)};",
                 "# Col 7"]
    intro = [
        "A 5 by 4 lattice of half mirrors, 5 columns and 4 rows. The planes of eight",
        "white filters hanging overhead cut its beams into pieces; white passes them all.",
    ]
    return finish("Beamworks stress level: filter planes", intro, body,
                  room(-1000, 1000, -150, 300, z0 - spacing * rows - 400, 800))


def main():
    for name, text in (("stress-mirrors.txt", mirror_chain()),
                       ("stress-lattice.txt", lattice()),
                       ("stress-filters.txt", filters())):
        for line in text.splitlines():
            if any(c in line[1:] for c in "@#+"):
                raise SystemExit(f"{name}: directive character inside a comment: {line}")
        with open(os.path.join(HERE, name), "w") as out:
            out.write(text)


if __name__ == "__main__":
    main()
