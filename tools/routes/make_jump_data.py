#!/usr/bin/env python3
"""Writes Starvane/Data/DefaultJumpData.csv, the default jump table.

Usage: python3 tools/routes/make_jump_data.py [--out DIR]   (default DIR: data/Starvane/Data)

The table has mass categories (inclusive bounds in solar masses) and, for every pair of
categories, the nominal length in parsecs of a jump between a star of the first and a star of
the second. A jump is possible when the distance lies within the tolerance (percent) of the
nominal length. See data/Starvane/Data/DefaultJumpData.README.md for the design.
"""
import argparse
import os
import sys

# Category bounds (low, high, solar masses) and the reach of each category in parsecs: how
# far a star of that category jumps to another of the same category. Neighbouring categories
# share their boundary mass, so a star exactly on it belongs to both.
CATEGORIES = [
    (0.08, 0.25, 2.2),
    (0.25, 0.5, 2.6),
    (0.5, 0.8, 3.0),
    (0.8, 1.2, 3.4),
    (1.2, 2.0, 40.0),
    (2.0, 4.0, 80.0),
    (4.0, 10.0, 150.0),
    (10.0, 25.0, 600.0),
    (25.0, 60.0, 800.0),
    (60.0, 150.0, 1000.0),
]
TOLERANCE = 15  # percent
SCALE = 1       # lengths are written in parsecs
# A jump between categories of different reach is mostly as long as the shorter reach, and
# grows with the longer one by this power of their ratio.
LONGER_REACH_POWER = 0.25


def nominal_length(i, j):
    shorter = min(CATEGORIES[i][2], CATEGORIES[j][2])
    longer = max(CATEGORIES[i][2], CATEGORIES[j][2])
    return shorter * (longer / shorter) ** LONGER_REACH_POWER


def table_text():
    n = len(CATEGORIES)
    lines = ["%d,%d,%d" % (n, TOLERANCE, SCALE)]
    bounds = []
    for low, high, _ in CATEGORIES:
        bounds += [low, high]
    # The reader takes the last bound as a whole number.
    lines.append(",".join(fmt(b) for b in bounds[:-1]) + ",%d" % int(bounds[-1]))
    for i in range(n):
        lines.append(",".join("%.2f" % nominal_length(i, j) for j in range(n)))
    return "\n".join(lines) + "\n"


def fmt(value):
    text = "%.2f" % value
    return text.rstrip("0").rstrip(".")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "data", "Starvane", "Data"))
    args = parser.parse_args()
    if not os.path.isdir(args.out):
        sys.exit("make_jump_data: no such folder: %s" % args.out)
    path = os.path.join(args.out, "DefaultJumpData.csv")
    with open(path, "w", newline="\n") as out:
        out.write(table_text())
    print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
