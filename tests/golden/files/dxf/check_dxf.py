#!/usr/bin/env python3
"""Runs quorix-cli on views.cmds in a fresh directory, compares the small drawings with the files in
expected/ as text, and reads every drawing back with ezdxf, checking its entities and coordinates.
Exits 77 (skipped) when ezdxf is not installed."""
import os
import subprocess
import sys
import tempfile

try:
    import ezdxf
except ImportError:
    print("ezdxf is not installed")
    sys.exit(77)

HERE = os.path.dirname(os.path.abspath(__file__))

# The only line quorix-cli prints: the point that empties a view is refused.
CLI_OUTPUT = "ERROR  F3105-3    \"@XY(1)\" - wrong number or type of parameters\n"
P0, P1, P2, P3 = (0, 0, 0), (10, 0, 0), (20, 5, 0), (20, -5, 0)
PLAN = [
    ("POINT", P0),
    ("POLYLINE", 8, [P0, P1, P2]),
    ("POLYLINE", 9, [P0, P1, P2, P3]),
    # A curve to the right runs clockwise from PC to PT: written counter-clockwise from PT to PC.
    ("ARC", (10, 0, 0), 10, 90, 180),
    ("ARC", (10, 0, 0), 10, 180, 270),
]
TEXT_ROTATION = 14.036243
# Each text: string, halign (0 left, 1 centre, 2 right, 5 fit), insertion, alignment point.
TEXTS = [
    ("TEXT", "Gate", 0, (0, 0, 0), None),
    ("TEXT", "R", 2, (0, 0, 0), (1.01865, 0.254662, 0)),
    ("TEXT", "C", 1, (9.490675, 2.372669, 0), (10, 2.5, 0)),
    ("TEXT", "Fit", 5, (0, 0, 0), (20, 5, 0)),
    ("TEXT", "Mid", 1, (8.035461, 2.008865, 0), (10, 2.5, 0)),
]
EXPECTED = {
    "empty.dxf": [],
    "point.dxf": [("POINT", P0)],
    "segment.dxf": [("POLYLINE", 8, [P0, P1, P2])],
    "plan.dxf": PLAN,
    "nested.dxf": PLAN,
    "texts.dxf": TEXTS,
    "profile.dxf": [
        ("POLYLINE", 0, [(0, 100, 0), (100, 102, 0), (200, 98, 0)]),
        # The vertical curve from station 200 (grade 1 %) to 300 (grade -1 %) is drawn as 16 chords.
        ("POLYLINE", 0, [(0, 101, 0), (200, 103, 0)] +
         [(200 + d, 103 + 0.01 * d - (0.01 * d) ** 2, 0) for d in (6.25 * k for k in range(1, 17))]),
    ],
    # Across by offset; the second section meets the vertical curve halfway.
    "section.dxf": [("POLYLINE", 0, [(0, 102, 0), (5, 102, 0)]), ("POLYLINE", 0, [(-5, 100, 0), (5, 103.25, 0)])],
    "roads.dxf": [
        ("POLYLINE", 0, [(0, 0, 0), (100, 0, 0), (200, 0, 0)]),
        ("POLYLINE", 0, [(100, 0, 0), (0, 100, 0)]),
    ],
}


def close(a, b):
    return all(abs(x - y) < 1e-6 for x, y in zip(a, b, strict=True))


def entity_problem(e, want):
    kind = e.dxftype()
    if kind != want[0]:
        return f"{kind} instead of {want[0]}"
    if e.dxf.layer != "0":
        return f"layer {e.dxf.layer}"
    if kind == "POINT" and not close(e.dxf.location, want[1]):
        return f"point at {e.dxf.location}"
    if kind == "POLYLINE":
        vertices = [tuple(v.dxf.location) for v in e.vertices]
        if e.dxf.flags != want[1] or len(vertices) != len(want[2]) or not all(map(close, vertices, want[2])):
            return f"flags {e.dxf.flags}, vertices {vertices}"
    if kind == "ARC":
        got = (*e.dxf.center, e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle)
        if not close(got, (*want[1], *want[2:])):
            return f"arc {got}"
    if kind == "TEXT":
        align = e.dxf.get("align_point")
        if (e.dxf.text, e.dxf.halign) != want[1:3] or not close(e.dxf.insert, want[3]) \
                or abs(e.dxf.rotation - TEXT_ROTATION) > 1e-6 or abs(e.dxf.height - 1.5) > 1e-9 \
                or (align is None) != (want[4] is None) or (align is not None and not close(align, want[4])):
            return f"text {e.dxf.text!r} {e.dxf.halign} at {e.dxf.insert} to {align}"
    return None


def main():
    cli = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        run = subprocess.run([cli, os.path.join(HERE, "views.cmds")], cwd=tmp, capture_output=True, text=True,
                             timeout=120)
        if run.returncode != 0 or run.stdout != CLI_OUTPUT or run.stderr:
            failures.append(f"quorix-cli: status {run.returncode}\n{run.stdout}{run.stderr}")
        for name, want in sorted(EXPECTED.items()):
            path = os.path.join(tmp, name)
            if not os.path.exists(path):
                failures.append(f"{name}: not written")
                continue
            golden = os.path.join(HERE, "expected", name)
            if os.path.exists(golden):
                with open(golden, "rb") as g, open(path, "rb") as f:
                    if g.read() != f.read():
                        failures.append(f"{name}: differs from expected/{name}")
            try:
                entities = list(ezdxf.readfile(path).modelspace())
            except Exception as e:  # noqa: BLE001 - any reader complaint is a failure
                failures.append(f"{name}: ezdxf cannot read it: {e}")
                continue
            if len(entities) != len(want):
                failures.append(f"{name}: {len(entities)} entities instead of {len(want)}")
                continue
            for i, (e, w) in enumerate(zip(entities, want)):
                problem = entity_problem(e, w)
                if problem:
                    failures.append(f"{name}: entity {i + 1}: {problem}")
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
