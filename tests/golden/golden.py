#!/usr/bin/env python3
"""Golden outputs: runs starvane-cli on a fixed list of cases and compares what it prints and
the files it writes with the records under expected/. A record holds small outputs in full and
large ones (cubes with their systems, textures) as SHA-256 digests.

    golden.py CLI TEXGEN_SO DATA_STARVANE            compare, exit 1 on any difference
    golden.py CLI TEXGEN_SO DATA_STARVANE --update   rewrite the records
"""
import concurrent.futures
import difflib
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
EXPECTED = HERE / "expected"
INLINE_LIMIT = 64 * 1024  # bytes kept in full; larger outputs are kept as digests

# name, arguments, whether the texture plug-in sits in the root
CASES = [
    ("system-seed-1", ["system", "--seed", "1", "--json"], False),
    ("system-seed-42-dwarf", ["system", "--seed", "42", "--initial-mass", "0.5", "--json"], False),
    ("system-seed-1234-giant", ["system", "--seed", "1234", "--initial-mass", "1", "--mass", "0.8",
                                "--luminosity", "50", "--radius", "10", "--json"], False),
    ("system-seed-9-hot", ["system", "--seed", "9", "--initial-mass", "1.6", "--json"], False),
    ("system-table-seed-5", ["system", "--seed", "5"], False),
    ("evolve-7-json", ["evolve", "--mass", "7", "--age", "5000", "--json"], False),
    ("evolve-50-seed-3", ["evolve", "--mass", "50", "--age", "10", "--seed", "3"], False),
    ("class-g2v", ["class", "G2V"], False),
    ("cube-0-0-0-systems", ["cube", "0", "0", "0", "--systems", "--json"], False),
    ("cube-1-0-0", ["cube", "1", "0", "0", "--json"], False),
    ("cube-5-5-0", ["cube", "5", "5", "0", "--json"], False),
    ("cube-m3-2-0-systems", ["cube", "-3", "2", "0", "--systems", "--json"], False),
    ("cube-m851-1-2-systems", ["cube", "-851", "1", "2", "--systems", "--json"], False),
    ("star-sirius", ["star", "Sirius", "--json"], False),
    ("star-vega", ["star", "Vega", "--json"], False),
    ("star-rigil-kentaurus", ["star", "Rigil Kentaurus", "--json"], False),
    ("route-sirius-polaris", ["route", "Sirius", "Polaris", "--json"], False),
    ("route-sol-polaris", ["route", "Sol", "Polaris"], False),
    ("save-procyon", ["save", "Procyon"], False),
    ("export-sirius-folder-textures", ["export", "Sirius", "--folder", "--rand-seed", "3"], True),
    ("export-spica-folder-belt", ["export", "Spica", "--folder", "--no-textures", "--rand-seed", "7"], False),
    ("export-vega-cache", ["export", "Vega", "--cache", "--no-textures", "--rand-seed", "1"], False),
    ("export-procyon-cache-textures", ["export", "Procyon", "--cache", "--rand-seed", "11"], True),
]


def shown(label: str, data: bytes) -> str:
    if len(data) <= INLINE_LIMIT and b"\0" not in data:
        return f"== {label} ({len(data)} bytes)\n{data.decode('utf-8', 'replace')}\n"
    return f"== {label} ({len(data)} bytes) sha256 {hashlib.sha256(data).hexdigest()}\n"


# Route searches report how long they took; that is the only output allowed to vary.
def without_timings(data: bytes) -> bytes:
    data = re.sub(rb'"seconds": [-+0-9.e]+', b'"seconds": T', data)
    return re.sub(rb'found in [0-9.]+ s', b'found in T s', data)


def snapshot(root: Path) -> dict:
    return {p.relative_to(root).as_posix(): p.read_bytes()
            for p in sorted(root.rglob("*")) if p.is_file()}


def run_case(cli: str, texgen: str, data: Path, args: list, with_plugin: bool) -> str:
    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp)
        shutil.copytree(data, root / "Starvane")
        (root / "Config").mkdir()  # a simulator root has its configuration folder
        if with_plugin:
            shutil.copy(texgen, root / "texgen.so")
        before = snapshot(root)
        needs_root = args[0] not in ("system", "class")
        command = [cli] + args + (["--root", str(root)] if needs_root else [])
        done = subprocess.run(command, cwd=root, capture_output=True, timeout=600)
        record = f"exit {done.returncode}\n" + shown("stdout", without_timings(done.stdout).replace(bytes(root), b"ROOT"))
        after = snapshot(root)
        for name, content in after.items():
            if before.get(name) != content:
                record += shown(f"file {name}", content)
        return record + "".join(f"== removed {name}\n" for name in before if name not in after)


def main() -> int:
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    cli, texgen = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    data = Path(sys.argv[3]).resolve()
    update = "--update" in sys.argv[4:]
    os.environ["SOURCE_DATE_EPOCH"] = "1700000000"  # exported scenarios are dated by it, not the clock
    EXPECTED.mkdir(exist_ok=True)
    # Each case runs in its own temporary root, so two run side by side; results keep the list's order.
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        records = list(pool.map(lambda case: run_case(cli, texgen, data, case[1], case[2]), CASES))
    failed = []
    folder = None  # where this run's differing records go, made on the first difference
    for (name, _, _), record in zip(CASES, records):
        target = EXPECTED / f"{name}.txt"
        if update:
            target.write_text(record, encoding="utf-8")
            continue
        expected = target.read_text(encoding="utf-8") if target.exists() else ""
        if expected != record:
            failed.append(name)
            folder = folder or Path(tempfile.mkdtemp(prefix="golden-"))
            (folder / f"{name}.txt").write_text(record, encoding="utf-8")
            diff = difflib.unified_diff(expected.splitlines(), record.splitlines(), f"expected/{name}.txt",
                                        "this run", lineterm="", n=1)
            print(f"golden output differs: {name} (this run's record is in {folder}/{name}.txt)",
                  *list(diff)[:40], sep="\n")
    print(f"{len(CASES) - len(failed)} of {len(CASES)} golden cases match" if not update
          else f"{len(CASES)} golden records written")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
