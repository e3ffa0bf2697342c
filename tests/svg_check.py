#!/usr/bin/env python3
"""The pictures of systems (`--svg`) are well-formed XML with one mark per planet and per moon,
even for names that need escaping, and a picture that cannot be written fails the command.

    svg_check.py CLI DATA_ROOT
"""
import json
import subprocess
import sys
import tempfile
import xml.dom.minidom
from pathlib import Path

cli, data = sys.argv[1], sys.argv[2]
failures = []


def marks(path, kind):
    circles = xml.dom.minidom.parse(str(path)).getElementsByTagName("circle")
    return sum(1 for c in circles if c.getAttribute("class") == kind)


with tempfile.TemporaryDirectory() as folder:
    for name, args in [("seed-5", ["system", "--seed", "5", "--name", b"Caf\xe9 A&B <\"x\">"]),  # Windows-1252 bytes too
                       ("seed-1234", ["system", "--seed", "1234", "--initial-mass", "0.4"]),
                       ("sol", ["star", "Sol", "--root", data])]:
        picture = Path(folder) / f"{name}.svg"
        run = subprocess.run([cli, *args, "--json", "--svg", str(picture)], capture_output=True, text=True)
        system = json.loads(run.stdout)
        system = system.get("system", system)
        planets = system["planetcount"]
        moons = sum(slot["mooncount"] for slot in system["planets"])
        try:
            found = (marks(picture, "planet"), marks(picture, "moon"))
        except Exception as error:  # a picture that does not parse
            failures.append(f"{name}: {error}")
            continue
        if found != (planets, moons):
            failures.append(f"{name}: {found} planet and moon marks for {planets} planets and {moons} moons")
    refused = subprocess.run([cli, "system", "--seed", "5", "--svg", folder + "/missing/folder/x.svg"],
                             capture_output=True, text=True)
    if refused.returncode == 0 or "cannot write the picture" not in refused.stderr:
        failures.append("an unwritable picture was not reported: " + refused.stderr)

print("\n".join(failures) or "pictures parse and hold every body")
sys.exit(1 if failures else 0)
