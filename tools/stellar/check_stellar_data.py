#!/usr/bin/env python3
"""Reads StellarTable.csv, EvoTracks.dat and HRRef.bmp the way the program
does and checks what the program relies on.

Usage: python3 tools/stellar/check_stellar_data.py [--dir DIR]
Exit status 0 when every check passes, 1 otherwise.  This reader is
independent of the generator: it knows only the file layouts.
"""

import argparse
import math
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Data"))

CLASSES = ("O", "B", "A", "F", "G", "K", "M", "N", "WC", "WN", "R", "C", "S")
LUM = ("Ia0", "Ia", "Ib", "II", "III", "IV", "V", "VI")
RED_CODES = {0: "V", 78: "DC", 107: "IV", 139: "III", 162: "II", 180: "Ib", 192: "Ia", 210: "Ia0"}
SUN = {"mass": 1.0, "luminosity": 1.0, "radius": 1.0}
SUN_TEFF = 5772.0
READBACK_MIN = 0.90
TRACK_START_MAX_DEX = 0.1

_NUMBER = re.compile(r"\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)")


def leading_number(text):
    """The leading decimal number of a field, 0 when there is none."""
    m = _NUMBER.match(text)
    return float(m.group(1)) if m else 0.0


class CheckFailed(Exception):
    pass


# ---------------------------------------------------------------------------
# Readers
# ---------------------------------------------------------------------------
def read_lines(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise CheckFailed("cannot read %s: %s" % (path, e.strerror))
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError:
        raise CheckFailed("%s is not plain ASCII text" % path)
    return text.split("\n")[:-1] if text.endswith("\n") else text.split("\n")


def parse_table_line(line):
    """Nine ';'-ended fields, then three floats separated by blanks."""
    parts = line.split(";")
    if len(parts) != 10:
        raise ValueError("expected 9 ';'-ended fields, found %d" % (len(parts) - 1))
    floats = parts[9].split(" ")
    if len(floats) != 3:
        raise ValueError("expected 3 blank-separated floats at the end")
    nums = [leading_number(p) for p in parts[1:9]]
    return {"text": parts[0], "mass": nums[0], "luminosity": nums[1], "radius": nums[2],
            "temperature": nums[3], "extra": nums[4:], "floats": [leading_number(f) for f in floats]}


def read_table(path):
    lines = read_lines(path)
    if len(lines) != 1050:
        raise CheckFailed("stellar table has %d lines, expected 1050" % len(lines))
    blocks = [[[None] * 8 for _ in range(10)] for _ in range(14)]
    for i, line in enumerate(lines):
        try:
            rec = parse_table_line(line)
        except ValueError as e:
            raise CheckFailed("stellar table line %d: %s" % (i + 1, e))
        if i < 1040:
            k, rest = divmod(i, 80)
            sub, lum = divmod(rest, 8)
            rec.update(cls=CLASSES[k], subtype=sub, code=LUM[lum])
            blocks[k][sub][lum] = rec
        else:
            rec.update(cls="DC", subtype=i - 1040, code="")
            blocks[13][i - 1040][0] = rec
    return blocks


def read_tracks(path):
    lines = read_lines(path)
    tracks = []
    pos = 0
    while pos < len(lines) and len(tracks) < 39:
        head = lines[pos].split(";")
        if len(head) < 2:
            raise CheckFailed("tracks line %d: header needs 'mass;count'" % (pos + 1))
        mass = leading_number(head[0])
        try:
            count = int(head[1].strip())
        except ValueError:
            raise CheckFailed("tracks line %d: count is not an integer" % (pos + 1))
        if count < 1 or pos + 1 + count > len(lines):
            raise CheckFailed("tracks line %d: bad point count %d" % (pos + 1, count))
        points = []
        for j in range(count):
            fields = lines[pos + 1 + j].split(";")
            if mass > 7:
                if len(fields) != 5:
                    raise CheckFailed("tracks line %d: expected 5 fields" % (pos + 2 + j))
                age, cur, logl, logt, logg = (leading_number(f) for f in fields)
            else:
                if len(fields) < 5:
                    raise CheckFailed("tracks line %d: expected 4 ';'-ended fields" % (pos + 2 + j))
                age, logl, logt, logg = (leading_number(f) for f in fields[:4])
                cur = 0.0
            points.append({"age": age, "logl": logl, "logt": logt, "logg": logg, "mass": cur})
        tracks.append({"mass": mass, "points": points})
        pos += 1 + count
    if len(tracks) != 39:
        raise CheckFailed("found %d tracks, expected 39" % len(tracks))
    if pos != len(lines):
        raise CheckFailed("%d lines after the 39th track" % (len(lines) - pos))
    return tracks


def read_bmp(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise CheckFailed("cannot read %s: %s" % (path, e.strerror))
    if len(data) < 54 or data[:2] != b"BM":
        raise CheckFailed("%s is not a BMP file" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bpp, comp = struct.unpack_from("<iiHHI", data, 18)
    if bpp != 24 or comp != 0:
        raise CheckFailed("HR image must be 24-bit uncompressed (found %d bit, compression %d)"
                          % (bpp, comp))
    row = (width * 3 + 3) // 4 * 4
    h = abs(height)
    if len(data) < offset + row * h:
        raise CheckFailed("HR image is truncated")

    def red(x, y):
        if not (0 <= x < width and 0 <= y < h):
            return None
        file_row = h - 1 - y if height > 0 else y
        return data[offset + file_row * row + x * 3 + 2]

    return width, h, red


# ---------------------------------------------------------------------------
# Program operations used by the checks
# ---------------------------------------------------------------------------
def main_sequence_by_mass(blocks, mass):
    for k in range(13):
        for sub in range(10):
            rec = blocks[k][sub][6]
            if rec["mass"] < mass:
                return rec
    return None


def hr_pixel(logt, logl):
    return int(math.trunc((logt - 3.3) * 100)), int(math.trunc(80 - 10 * logl))


def v_sequence(blocks):
    return [blocks[k][s][6] for k in range(7) for s in range(10)]


def v_interp_logl(blocks, mass):
    rows = sorted(v_sequence(blocks), key=lambda r: r["mass"])
    xs = [math.log10(r["mass"]) for r in rows]
    ys = [math.log10(r["luminosity"]) for r in rows]
    x = math.log10(mass)
    i = 0
    while i < len(xs) - 2 and xs[i + 1] < x:
        i += 1
    return ys[i] + (ys[i + 1] - ys[i]) * (x - xs[i]) / (xs[i + 1] - xs[i])


def mass_from_logg(logg, radius):
    return (10 ** logg * 0.0010197162129779282 * 9.81 * (radius * 695500000) ** 2
            * 14830634157.916592 * 5.027904872039821e-31)


# ---------------------------------------------------------------------------
# Checks
# ---------------------------------------------------------------------------
class Report:
    def __init__(self):
        self.failures = []

    def check(self, ok, message):
        print(("  ok    " if ok else "  FAIL  ") + message)
        if not ok:
            self.failures.append(message)

    def info(self, message):
        print("  info  " + message)


def check_table(rep, blocks):
    print("StellarTable.csv")
    records = [blocks[k][s][l] for k in range(13) for s in range(10) for l in range(8)]
    records += [blocks[13][s][0] for s in range(10)]
    rep.check(len(records) == 1050, "1050 records")
    empty = [r["text"] for r in records
             if min(r["mass"], r["luminosity"], r["radius"], r["temperature"]) <= 0]
    rep.check(not empty, "mass, luminosity, radius and temperature positive in every record"
              + (" (bad: %s)" % ", ".join(empty[:8]) if empty else ""))
    if empty:
        return False
    bad_rgb = [r["text"] for r in records if not all(0.0 <= c <= 1.0 for c in r["floats"])]
    rep.check(not bad_rgb, "display colours within 0..1")

    v = v_sequence(blocks)
    mass_bad = [v[i + 1]["text"] for i in range(69) if not v[i + 1]["mass"] < v[i]["mass"]]
    temp_bad = [v[i + 1]["text"] for i in range(69)
                if not v[i + 1]["temperature"] < v[i]["temperature"]]
    rep.check(not mass_bad, "V masses fall strictly from O0 to M9" +
              (" (not at %s)" % ", ".join(mass_bad) if mass_bad else ""))
    rep.check(not temp_bad, "V temperatures fall strictly from O0 to M9" +
              (" (not at %s)" % ", ".join(temp_bad) if temp_bad else ""))

    g2 = blocks[4][2][6]
    dev = {k: abs(g2[k] / SUN[k] - 1.0) for k in SUN}
    ok = all(d <= 0.05 for d in dev.values()) and abs(g2["temperature"] - SUN_TEFF) <= 60
    rep.check(ok, "G2V is the Sun: M %.3f, L %.3f, R %.3f, T %.0f K"
              % (g2["mass"], g2["luminosity"], g2["radius"], g2["temperature"]))

    dc = [blocks[13][s][0] for s in range(10)]
    rep.check(all(dc[i + 1]["mass"] < dc[i]["mass"] for i in range(9)),
              "white-dwarf masses fall with the subtype")
    rep.check(dc[9]["mass"] < 0.21 * 0.5,
              "a 0.5 solar-mass progenitor finds a white dwarf (DC9 %.3f < 0.105)" % dc[9]["mass"])

    for m in (0.1, 1.0, 125.0):
        rec = main_sequence_by_mass(blocks, m)
        rep.check(rec is not None, "main-sequence record found for %g solar masses (%s)"
                  % (m, rec["text"] if rec else "none"))

    # Within each O..M subtype, brighter classes are brighter stars.
    order_bad = []
    for k in range(7):
        for s in range(10):
            ls = [blocks[k][s][l]["luminosity"] for l in range(7)]
            if any(ls[i] <= ls[i + 1] for i in range(6)):
                order_bad.append("%s%d" % (CLASSES[k], s))
    rep.check(not order_bad, "luminosity rises from V to Ia0 in every O..M subtype" +
              (" (not in %s)" % ", ".join(order_bad) if order_bad else ""))
    return True


def check_tracks(rep, tracks, blocks):
    print("EvoTracks.dat")
    masses = [t["mass"] for t in tracks]
    rep.check(len(tracks) == 39, "39 tracks")
    rep.check(all(masses[i] < masses[i + 1] for i in range(38)), "masses strictly ascending")
    rep.check(masses[0] == 0.1 and masses[-1] == 120.0,
              "masses run from %g to %g" % (masses[0], masses[-1]))
    rep.check(all(m <= 7 for m in masses[:26]) and all(m > 7 for m in masses[26:]),
              "tracks 0-25 at most 7 solar masses, 26-38 above")
    not_sorted = [t["mass"] for t in tracks
                  if any(b["age"] <= a["age"] for a, b in zip(t["points"], t["points"][1:]))]
    rep.check(not not_sorted, "point ages strictly ascending in every track" +
              (" (not in %s)" % not_sorted if not_sorted else ""))
    counts = [len(t["points"]) for t in tracks]
    rep.info("points per track: %d..%d, %d in all" % (min(counts), max(counts), sum(counts)))

    worst, worst_m = 0.0, None
    for t in tracks:
        d = abs(t["points"][0]["logl"] - v_interp_logl(blocks, t["mass"]))
        if d > worst:
            worst, worst_m = d, t["mass"]
    rep.check(worst <= TRACK_START_MAX_DEX,
              "first points agree with the V sequence at the track mass within %.2f dex "
              "(worst %.3f dex at %g)" % (TRACK_START_MAX_DEX, worst, worst_m))
    offs = []
    for t in tracks:
        rec = main_sequence_by_mass(blocks, t["mass"])
        offs.append((abs(t["points"][0]["logl"] - math.log10(rec["luminosity"])), t["mass"], rec["text"]))
    d, m, name = max(offs)
    rep.info("largest offset to the record below the track mass: %.3f dex (%g vs %s)" % (d, m, name))

    # Ages follow the star records' lifetime: the main sequence (first point
    # to the first point past the main-sequence life) ends near 1e10 M^-2.5.
    late = []
    for t in tracks:
        life = 1e10 * t["mass"] ** -2.5
        if t["points"][-1]["age"] < life * 0.999:
            late.append(t["mass"])
    rep.check(not late, "every track lasts at least its main-sequence life 1e10 M^-2.5 yr" +
              (" (not %s)" % late if late else ""))

    # Light tracks give their mass through log g; the program's conversion
    # must give back the track mass at the first point.
    bad = []
    for t in tracks[:26]:
        p = t["points"][0]
        lum, teff = 10 ** p["logl"], 10 ** p["logt"]
        radius = math.sqrt(lum / (teff * 0.00017307026652821047) ** 4)
        m = mass_from_logg(p["logg"], radius)
        if abs(m / t["mass"] - 1) > 0.01:
            bad.append("%g->%.3f" % (t["mass"], m))
    rep.check(not bad, "log g of the light tracks converts back to the track mass within 1%" +
              (" (%s)" % ", ".join(bad) if bad else ""))
    heavy_bad = [t["mass"] for t in tracks[26:]
                 if any(not (0 < p["mass"] <= t["mass"] * 1.0001) for p in t["points"])]
    rep.check(not heavy_bad, "current masses of the heavy tracks positive and at most initial")


def check_image(rep, image, blocks, tracks):
    print("HRRef.bmp")
    width, height, red = image
    rep.info("image %d x %d" % (width, height))
    total = hits = 0
    misses = {}
    for k in range(7):
        for s in range(10):
            for l in range(7):
                r = blocks[k][s][l]
                x, y = hr_pixel(math.log10(r["temperature"]), math.log10(r["luminosity"]))
                got = RED_CODES.get(red(x, y))
                total += 1
                if got == r["code"]:
                    hits += 1
                else:
                    misses[r["code"]] = misses.get(r["code"], 0) + 1
    frac = hits / float(total)
    rep.check(frac >= READBACK_MIN,
              "O..M records of classes Ia0..V read back their class: %d of %d (%.1f%%)"
              % (hits, total, 100 * frac))
    if misses:
        rep.info("misses by class: " + ", ".join("%s %d" % (c, misses[c]) for c in LUM if c in misses))
    vi = {}
    for k in range(7):
        for s in range(10):
            r = blocks[k][s][7]
            x, y = hr_pixel(math.log10(r["temperature"]), math.log10(r["luminosity"]))
            got = RED_CODES.get(red(x, y), "none")
            vi[got] = vi.get(got, 0) + 1
    rep.info("VI records (no image code) read: " +
             ", ".join("%s %d" % (c, vi[c]) for c in sorted(vi)))
    dc_hits = 0
    for s in range(10):
        r = blocks[13][s][0]
        x, y = hr_pixel(math.log10(r["temperature"]), math.log10(r["luminosity"]))
        dc_hits += RED_CODES.get(red(x, y)) == "DC"
    rep.check(dc_hits == 10, "white dwarfs read DC: %d of 10" % dc_hits)
    outside = 0
    for t in tracks:
        for p in t["points"]:
            x, y = hr_pixel(p["logt"], p["logl"])
            outside += not (0 <= x < width and 0 <= y < height)
    rep.check(outside == 0, "every track point lies inside the image (%d outside)" % outside)
    sun = blocks[4][2][6]
    x, y = hr_pixel(math.log10(sun["temperature"]), math.log10(sun["luminosity"]))
    rep.check(RED_CODES.get(red(x, y)) == "V", "the Sun reads V")


def report_fits(tracks, blocks):
    """How catalogue giants would be placed on the tracks (information)."""
    ages = []
    for k in range(7):
        for s in range(10):
            for l in range(6):
                r = blocks[k][s][l]
                ll, lt = math.log10(r["luminosity"]), math.log10(r["temperature"])
                best_t, best = tracks[0], tracks[0]["points"][0]
                for t in reversed(tracks):
                    life = 10000.0 * t["mass"] ** -2.5
                    for p in reversed(t["points"]):
                        if (abs(ll - p["logl"]) < abs(ll - best["logl"])
                                and abs(lt - p["logt"]) < abs(lt - best["logt"])
                                and p["age"] * 1e-6 > life):
                            best_t, best = t, p
                ages.append(best["age"] * 1e-6)
    old = sum(1 for a in ages if a > 13800)
    print("  info  catalogue fit of the %d evolved O..M records: %d placed at ages above 13.8 Gyr"
          % (len(ages), old))


def main(argv=None):
    parser = argparse.ArgumentParser(description="Check the generated stellar data files.")
    parser.add_argument("--dir", default=DEFAULT_DIR, help="data folder (default: %(default)s)")
    args = parser.parse_args(argv)
    rep = Report()
    try:
        blocks = read_table(os.path.join(args.dir, "StellarTable.csv"))
        tracks = read_tracks(os.path.join(args.dir, "EvoTracks.dat"))
        image = read_bmp(os.path.join(args.dir, "HRRef.bmp"))
    except CheckFailed as e:
        print("FAIL  " + str(e))
        return 1
    if check_table(rep, blocks):
        check_tracks(rep, tracks, blocks)
        check_image(rep, image, blocks, tracks)
        report_fits(tracks, blocks)
    else:
        print("the remaining checks need a complete table; skipped")
    if rep.failures:
        print("%d check(s) failed" % len(rep.failures))
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
