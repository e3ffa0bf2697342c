#!/usr/bin/env python3
"""Writes the default configuration Starvane/Starvane.cfg (33 lines: a label, then a value).

Usage: python3 tools/config/make_starvane_cfg.py [--out DIR]   (default DIR: data/Starvane)
"""
import argparse
import os
import sys

# (label, value) pairs in file order; lines 22 to 26 are five lines the program skips.
LINES = [
    ("Window width and height (pixels)", None),
    (None, "1280"),
    (None, "800"),
    ("Galaxy folder name (Starvane/Galaxy/<name>/)", "MilkyWay"),
    ("Bookmark file name (in the galaxy's HotSpots folder, without .spt)", "Default"),
    ("Texture level for large bodies, for small bodies (1 to 8)", "6,3"),
    ("Body radius (km) at or above which the large level applies, at or below which the small level applies", "6000,500"),
    ("Lowest texture level of terrestrial and water worlds", "5"),
    ("Highest texture level of gas giants", "6"),
    ("Texture level of asteroids", "2"),
    ("Asteroids per belt: maximum, minimum", "20,5"),
    ("Systems kept in the cache, minus 2", "8"),
    ("(reserved)", "-"),
    ("(reserved)", "-"),
    ("Texture plug-in option 1 (surface detail: 0 plain, 1 detailed)", "1"),
    ("Texture plug-in option 3 (texture compression: 1 on, 0 off)", "1"),
    ("Texture style switch (1: airless bodies get the thin-cloud class)", "0"),
    ("Routes enabled (1 yes, 0 no)", "1"),
]


def config_text():
    lines = []
    for label, value in LINES:
        if label is not None:
            lines.append(label)
        if value is not None:
            lines.append(value)
    if len(lines) != 33:
        sys.exit("make_starvane_cfg: %d lines instead of 33" % len(lines))
    return "\n".join(lines) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "data", "Starvane"))
    args = parser.parse_args()
    if not os.path.isdir(args.out):
        sys.exit("make_starvane_cfg: no such folder: %s" % args.out)
    path = os.path.join(args.out, "Starvane.cfg")
    with open(path, "w", newline="\n") as out:
        out.write(config_text())
    print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
