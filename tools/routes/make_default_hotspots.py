#!/usr/bin/env python3
"""Writes the default bookmark file Starvane/Galaxy/MilkyWay/HotSpots/Default.spt.

Usage: python3 tools/routes/make_default_hotspots.py [--galaxy DIR]
       (default DIR: data/Starvane/Galaxy/MilkyWay)

Stars are looked up by name in the galaxy's catalogue (MilkyWay.svc), so a bookmark always
lands in the cube that holds the star. Places without a catalogue star (clusters beyond the
catalogue's named stars, landmarks of the Galaxy) are computed from published positions:
galactic longitude, latitude and distance from the Sun, or galactocentric places in our frame
(the centre at cube 0, 0, 0 and the Sun at cube 0, -798, 2; galactic longitude 90 degrees
points to -x, the centre lies towards +y).
"""
import argparse
import math
import os
import sys

SUN_POSITION = (0.0, -7980.0, 20.0)  # parsecs, x, y (in the plane), height

# Folder name, then (bookmark name, catalogue star name or a position rule).
FOLDERS = [
    ("Home", [("Sol", "Sol")]),
    ("Nearby stars", [
        ("Alpha Centauri", "Rigil Kentaurus"),
        ("Proxima Centauri", "Proxima"),
        ("Barnard's Star", "Barnard's Star"),
        ("Sirius", "Sirius"),
        ("Procyon", "Procyon"),
        ("Altair", "Altair"),
        ("Vega", "Vega"),
        ("Fomalhaut", "Fomalhaut"),
        ("Arcturus", "Arcturus"),
        ("Regulus", "Regulus"),
    ]),
    ("Star clusters", [
        ("Hyades", "Ain"),
        ("Pleiades", "Alcyone"),
        # Praesepe (M44): l 205.92, b +32.48, 187 pc.
        ("Praesepe", ("galactic", 205.92, 32.48, 187.0)),
        # Orion Nebula cluster: l 209.01, b -19.38, 412 pc.
        ("Orion Nebula", ("galactic", 209.01, -19.38, 412.0)),
    ]),
    ("Bright stars", [
        ("Betelgeuse", "Betelgeuse"),
        ("Rigel", "Rigel"),
        ("Deneb", "Deneb"),
        ("Antares", "Antares"),
        ("Canopus", "Canopus"),
        ("Polaris", "Polaris"),
        ("Acrux", "Acrux"),
    ]),
    ("Landmarks of the Galaxy", [
        ("Galactic centre", ("place", 0.0, 0.0, 0.0)),
        # The bar: half-length 5 kpc, its long axis turned 27 degrees from the Sun-centre line,
        # the near end at positive galactic longitude (towards -x).
        ("Near end of the bar", ("place", -5000 * math.sin(math.radians(27)), -5000 * math.cos(math.radians(27)), 0.0)),
        ("Far end of the bar", ("place", 5000 * math.sin(math.radians(27)), 5000 * math.cos(math.radians(27)), 0.0)),
        # Spiral arms where they cross the line from the centre through the Sun (Hou & Han 2014
        # radii scaled to our 7.98 kpc distance of the Sun).
        ("Norma arm", ("place", 0.0, -3650.0, 0.0)),
        ("Scutum-Centaurus arm", ("place", 0.0, -5290.0, 0.0)),
        ("Sagittarius-Carina arm", ("place", 0.0, -7110.0, 0.0)),
        ("Perseus arm", ("place", 0.0, -9610.0, 0.0)),
        ("Outer arm", ("place", 0.0, -10960.0, 0.0)),
    ]),
]


def read_catalogue(path):
    cubes = {}
    with open(path, encoding="ascii", errors="replace") as catalogue:
        count = int(catalogue.readline().strip() or 0)
        for _ in range(count):
            fields = catalogue.readline().rstrip("\n").split(",")
            if len(fields) != 11:
                continue
            cubes.setdefault(fields[3], (int(fields[0]), int(fields[1]), int(fields[2])))
    return cubes


def cube_of(position):
    return tuple(int(round(v / 10.0)) for v in position)


def galactic_position(longitude, latitude, distance):
    l, b = math.radians(longitude), math.radians(latitude)
    return (SUN_POSITION[0] - distance * math.cos(b) * math.sin(l),
            SUN_POSITION[1] + distance * math.cos(b) * math.cos(l),
            SUN_POSITION[2] + distance * math.sin(b))


def resolve(rule, cubes):
    if isinstance(rule, str):
        if rule not in cubes:
            sys.exit("make_default_hotspots: the catalogue has no star named %r" % rule)
        return cubes[rule]
    if rule[0] == "galactic":
        return cube_of(galactic_position(*rule[1:]))
    return cube_of(rule[1:])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--galaxy", default=os.path.join(here, "..", "..", "data", "Starvane", "Galaxy", "MilkyWay"))
    args = parser.parse_args()
    catalogue = os.path.join(args.galaxy, "MilkyWay.svc")
    if not os.path.isfile(catalogue):
        sys.exit("make_default_hotspots: no catalogue at %s" % catalogue)
    cubes = read_catalogue(catalogue)
    lines = [str(len(FOLDERS))]
    for folder, spots in FOLDERS:
        lines += [folder, str(len(spots))]
        for name, rule in spots:
            x, y, z = resolve(rule, cubes)
            lines.append("%s,%d,%d,%d" % (name, x, y, z))
    folder = os.path.join(args.galaxy, "HotSpots")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "Default.spt")
    with open(path, "w", newline="\n") as out:
        out.write("\n".join(lines))  # the bookmark files end without a line break
    print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
