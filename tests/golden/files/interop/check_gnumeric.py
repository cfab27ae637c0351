#!/usr/bin/env python3
"""CSV and DIF files between Quorix and Gnumeric: what Quorix exports, ssconvert reads with the same
values, and what ssconvert writes, Quorix imports with the same values. Exits 77 (skipped) when
ssconvert is not installed."""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

TABLE = [
    ["Item", "Qty", "Price"],
    ["bolt", 12, 0.25],
    ["nut hex", -3, 150],
    ['Say "so"', 0.5, 1234.5],
    ["washer, flat", 0, -0.75],
]
RANGE = "[1,1]^[5,3]"
# A DIF import puts its first row below the pointer; empty rows are not compared.
SHOWN = "[1,1]^[6,3]"


def same(got, want):
    if isinstance(want, str):
        return got == want
    try:
        return abs(float(got) - want) < 1e-9
    except ValueError:
        return False


def compare(what, rows, failures):
    rows = [r for r in rows if any(field != "" for field in r)]
    if len(rows) != len(TABLE) or any(len(r) != 3 or not all(map(same, r, w)) for r, w in zip(rows, TABLE)):
        failures.append(f"{what}: {rows}")


def ssconvert(source, target, tmp):
    # Gnumeric writes numbers in the user's locale; Quorix's files never do, so the peer runs in C.
    env = dict(os.environ, HOME=tmp, LC_ALL="C.UTF-8")
    run = subprocess.run(["ssconvert", source, target], cwd=tmp, env=env, capture_output=True, text=True, timeout=120)
    return run.returncode == 0 and os.path.exists(os.path.join(tmp, target))


def quorix(cli, commands, tmp):
    path = os.path.join(tmp, "run.cmds")
    with open(path, "w") as f:
        f.write("\n".join(commands) + "\n")
    run = subprocess.run([cli, path], cwd=tmp, capture_output=True, text=True, timeout=120)
    return run.returncode, run.stdout, run.stderr


def entry(value):
    return "'" + value if isinstance(value, str) else "+" + repr(value)


def main():
    if shutil.which("ssconvert") is None:
        print("ssconvert is not installed")
        return 77
    cli = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        # Quorix writes, Gnumeric reads.
        commands = [f"enter [{r + 1},{c + 1}] {entry(v)}" for r, row in enumerate(TABLE) for c, v in enumerate(row)]
        commands += [f"select {RANGE}", "export quorix.csv", "export quorix.dif"]
        status, out, err = quorix(cli, commands, tmp)
        if status != 0 or out or err:
            failures.append(f"quorix-cli export: {status} {out}{err}")
        for source in ("quorix.csv", "quorix.dif"):
            target = "read_" + source.replace(".", "_") + ".csv"
            if not ssconvert(source, target, tmp):
                failures.append(f"ssconvert cannot read {source}")
                continue
            with open(os.path.join(tmp, target), newline="") as f:
                compare(f"Gnumeric reading {source}", list(csv.reader(f)), failures)

        # Gnumeric writes, Quorix reads.
        with open(os.path.join(tmp, "table.csv"), "w", newline="") as f:
            csv.writer(f).writerows(TABLE)
        for target in ("gnumeric.csv", "gnumeric.dif"):
            if not ssconvert("table.csv", target, tmp):
                failures.append(f"ssconvert cannot write {target}")
                continue
            status, out, err = quorix(cli, [f"import {target}", f"show {SHOWN}"], tmp)
            if status != 0 or err:
                failures.append(f"quorix-cli import {target}: {status} {err}")
            compare(f"Quorix importing {target}", [line.split("\t") for line in out.splitlines()], failures)
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
