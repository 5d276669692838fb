#!/usr/bin/env python3
"""Writes the seeds whose input forms are the harnesses' own.

  make_seeds.py cluster OUTDIR CLUSTER.wdc...
      each cluster file in both input shapes of fuzz_cluster: NAME.dir (the
      directory form) and NAME.list (the resource-list form), and a second
      pair NAME_twice.* holding its objects again under the next ids, so the
      loader sees a cluster of several objects. The clusters come from our
      own small objects:
        wirestead-cli convert tests/data/cube.wdo /tmp/cube.wdc
  make_seeds.py scene_walk OUTDIR
      scene programs of a few KB for fuzz_scene_walk: nested groups,
      transforms, materials with bindings, and face sets whose indices name
      the points of their coordinates.
  make_seeds.py resource_file OUTDIR
      a resource file whose only entry claims 4 GB of a file of a few bytes.
"""
import os
import random
import struct
import sys

HEADER = 408020
ENTRY = 272
MAGIC1, MAGIC2, CAPACITY = 0x88991742, 0x54232570, 1500


def res_type(code):
    return struct.unpack(">I", code.encode("latin-1"))[0]


# The order of the cluster harness's resource-list type table.
LIST_TYPES = [res_type(c) for c in ("PINF", "PNTS", "TVCT", "FACE", "ANIM", "clut")]


def read_resource_file(path):
    """(id, type, name, bytes) of every entry, in directory order."""
    b = open(path, "rb").read()
    count = struct.unpack(">I", b[16:20])[0]
    out = []
    for i in range(count):
        e = b[20 + ENTRY * i : 20 + ENTRY * (i + 1)]
        rid, rtype = struct.unpack("<II", e[:8])
        start, end = struct.unpack(">II", e[8:16])
        name = e[16:].split(b"\0")[0]
        out.append((rid, rtype, name, b[HEADER + start : HEADER + end + 1]))
    return out


def resource_file(resources):
    """A whole resource file holding `resources` as (id, type, name, bytes, claimed length)."""
    head = bytearray(HEADER)
    struct.pack_into("<III", head, 0, MAGIC1, MAGIC2, 0)
    struct.pack_into("<I", head, 12, CAPACITY)
    struct.pack_into(">I", head, 16, len(resources))
    data = b""
    start = 0
    for i, (rid, rtype, name, body, length) in enumerate(resources):
        struct.pack_into("<II", head, 20 + ENTRY * i, rid, rtype)
        struct.pack_into(">II", head, 28 + ENTRY * i, start, start + length - 1)
        head[36 + ENTRY * i : 36 + ENTRY * i + len(name)] = name
        data += body
        start += length
    return bytes(head) + data


def directory_form(resources):
    out = bytearray([0]) + struct.pack(">H", len(resources)) + bytes([len(resources)])
    start = 0
    for rid, rtype, name, body in resources:
        out += struct.pack("<II", rid, rtype) + struct.pack(">II", start, start + len(body) - 1)
        out += bytes([len(name)]) + name
        start += len(body)
    return bytes(out + b"".join(r[3] for r in resources))


def list_form(resources):
    out = bytearray([1])
    for rid, rtype, _, body in resources:
        if rtype not in LIST_TYPES or rid not in (0, 1, 2, 1000) or len(body) > 0xFFFF:
            continue
        out += bytes([LIST_TYPES.index(rtype), 3 if rid == 1000 else rid])
        out += struct.pack("<H", len(body)) + body
    return bytes(out)


def cluster_seeds(outdir, paths):
    for path in paths:
        stem = os.path.splitext(os.path.basename(path))[0]
        once = read_resource_file(path)
        objects = [r for r in once if r[1] != res_type("clut")]
        ids = sorted({r[0] for r in objects})
        again = [(rid + len(ids), t, name + b" 2", body) for rid, t, name, body in objects]
        for suffix, res in (("", once), ("_twice", once + again)):
            write(outdir, stem + suffix + ".dir", directory_form(res))
            write(outdir, stem + suffix + ".list", list_form(res))


class SceneWriter:
    """Byte programs in the encoding fuzz_scene_walk reads."""

    def __init__(self, rng):
        self.rng = rng
        self.out = bytearray()

    def op(self, code, *fields):
        self.out.append(code)
        for f in fields:
            self.out += f

    def real(self, value):  # exact in the harness's (b - 100) / 8 steps
        return bytes([max(0, min(0xFB, int(round(value * 8)) + 100))])

    def vec(self, lo=-10, hi=10):
        return b"".join(self.real(self.rng.uniform(lo, hi)) for _ in range(3))

    def coordinates(self, n):
        self.op(9, bytes([n]), *(self.vec() for _ in range(n)))

    def faces(self, points, count):
        idx = bytearray()
        for _ in range(count):
            corners = self.rng.randint(3, 5)
            idx += bytes(self.rng.randrange(points) for _ in range(corners)) + b"\xff"
        idx = idx[:63]
        materials = bytes(self.rng.randrange(4) for _ in range(self.rng.randrange(8)))
        self.op(11, bytes([len(idx)]), idx, bytes([len(materials)]), materials, b"\x00")

    def material(self):
        n = self.rng.randint(1, 3)
        self.op(6, bytes([n]), *(self.vec(0, 1) for _ in range(n)), b"\x01", self.vec(0, 1), b"\x00")

    def transform(self):
        kind = self.rng.randrange(5)
        if kind == 0:
            self.op(12, self.vec())
        elif kind == 1:
            self.op(13, self.vec(-1, 1), self.real(self.rng.uniform(-3, 3)))
        elif kind == 2:
            self.op(14, self.vec(0.5, 2))
        elif kind == 3:
            m = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0] + [self.rng.uniform(-5, 5) for _ in range(3)] + [1]
            self.op(15, *(self.real(v) for v in m))
        else:
            self.op(16, self.vec(), self.vec(-1, 1), self.real(1.5), self.vec(0.5, 2), self.vec())

    def shape(self):
        # Spheres are rare: their many faces would take most of each run.
        kind = self.rng.choice([0, 0, 0, 2, 2, 2, 3, 3, 3, 1])
        r = lambda: self.real(self.rng.uniform(0.5, 4))
        if kind == 0:
            self.op(17, r(), r(), r())
        elif kind == 1:
            self.op(18, r())
        elif kind == 2:
            self.op(19, r(), b"\x01", r(), r(), bytes([self.rng.randrange(8)]))
        else:
            self.op(20, r(), r(), bytes([self.rng.randrange(8)]))

    def group(self, depth):
        opener = self.rng.choice([0, 1, 2, 3, 4])
        if opener == 3:
            self.op(3, bytes([self.rng.randrange(6)]))
        elif opener == 4:
            self.op(4, b"\x02", self.real(5), self.real(20), self.vec())
        else:
            self.op(opener)
        for _ in range(self.rng.randint(2, 5)):
            pick = self.rng.randrange(10)
            if pick < 2 and depth < 4:
                self.group(depth + 1)
            elif pick < 4:
                self.transform()
            elif pick < 5:
                self.material()
                self.op(7, bytes([self.rng.randrange(8)]))
            elif pick < 8:
                n = self.rng.randint(4, 23)
                self.coordinates(n)
                self.faces(n, self.rng.randint(2, 12))
            else:
                self.shape()
        self.op(5)


def scene_walk_seeds(outdir):
    for k in range(6):
        w = SceneWriter(random.Random(k))
        while len(w.out) < 1500 + 700 * k:
            w.group(0)
        write(outdir, "scene_%d" % k, bytes(w.out))


def write(outdir, name, data):
    os.makedirs(outdir, exist_ok=True)
    with open(os.path.join(outdir, name), "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) >= 3 and argv[1] == "cluster":
        cluster_seeds(argv[2], argv[3:])
    elif len(argv) == 3 and argv[1] == "scene_walk":
        scene_walk_seeds(argv[2])
    elif len(argv) == 3 and argv[1] == "resource_file":
        # One 'PINF' whose end offset makes it 0xFFFFFFFF bytes long, the most
        # the directory can claim, behind a data area of four bytes.
        whole = resource_file([(0, res_type("PINF"), b"huge", b"ABCD", 0xFFFFFFFF)])
        write(argv[2], "claims_4gb.res", whole)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
