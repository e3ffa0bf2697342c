#!/usr/bin/env python3
"""Reads the galaxy folder the way the program does and checks what the
program and the users rely on.

Usage: python3 tools/galaxy/check_galaxy_data.py [--dir DIR]
Exit status 0 when every check passes, 1 otherwise.  This reader knows only
the file layouts; it shares no code with the generators.  Reading the
pictures needs python3-pil (Debian).
"""

import argparse
import collections
import math
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Galaxy",
                                            "MilkyWay"))
SYSTEM_PYTHON = "/usr/bin/python3"

CLASSES = {"O", "B", "A", "F", "G", "K", "M", "R", "S", "C", "WC", "WN", "DC"}
LUMS = {"Ia0", "Ia", "Ib", "I", "II", "III", "IV", "V", "VI", "NIL"}
MAX_STARS_PER_CUBE = 1000
MAX_SVC_BYTES = 8 * 1024 * 1024
WALL_STARS = 7.0
SOL_CUBE = (0, -798, 2)

# Reference distances (pc) and galactic coordinates (deg), from published
# parallaxes and positions, not from the generator.  Betelgeuse's distance is
# the Hipparcos 2007 reduction (6.55 mas); other methods give 168-222 pc.
REFERENCE = (
    ("Sirius", 2.637, 227.230, -8.890),          # HIP2 379.21 mas
    ("Vega", 7.679, 67.448, 19.237),             # HIP2 130.23 mas
    ("Rigil Kentaurus", 1.338, 315.731, -0.680),  # Kervella et al. 2016, 747.17 mas
    ("Betelgeuse", 152.7, 199.787, -8.959),      # HIP2 6.55 mas
)
DISTANCE_TOLERANCE = 0.02
ANGLE_TOLERANCE_DEG = 0.5

BODIES = (("Mercury", []), ("Venus", []), ("Earth", ["Moon"]), ("Mars", ["Phobos", "Deimos"]),
          ("Jupiter", ["Io", "Europa", "Ganymede", "Callisto"]),
          ("Saturn", ["Mimas", "Enceladus", "Tethys", "Dione", "Rhea", "Titan", "Iapetus"]),
          ("Uranus", ["Miranda", "Ariel", "Umbriel", "Titania", "Oberon"]),
          ("Neptune", ["Triton"]))
TYPE_WORDS = ("unknown", "rock", "venusian", "terrestrial", "jovian", "martian", "oceanic", "ice",
              "icegiant", "gasdwarf", "asteroids", "oneface", "sudarskyi", "sudarskyii",
              "sudarskyiii", "sudarskyiv", "sudarskyv")
NO_SURFACE_TYPES = {"icegiant", "gasdwarf", "sudarskyi", "sudarskyii", "sudarskyiii", "sudarskyiv",
                    "sudarskyv"}
GAS_NUMBERS = {1, 2, 7, 8, 10, 18, 36, 54, 900, 901, 902, 903, 904, 905, 906, 907, 908, 909, 910,
               911}
BODY_KEYS = ("name", "type", "sma", "ecc", "axtilt", "mass", "radius", "albedo", "period", "day",
             "hydrofraction", "icefraction", "cloudfraction", "coreradius", "gasfraction",
             "Inclination", "LongAscNode", "LongPerihelion", "MeanLongitude")
SEPARATOR = "-" * 31

# Checks against known values (SI units as the file holds them).
KNOWN = {"Earth": {"sma": 1.495979e11, "mass": 5.9722e24, "radius": 6.378e6},
         "Jupiter": {"sma": 7.7857e11, "mass": 1.8982e27},
         "Moon": {"sma": 3.844e8, "mass": 7.342e22},
         "Titan": {"sma": 1.22187e9},
         "Neptune": {"sma": 4.4984e12}}

_WHOLE = re.compile(r"\s*([+-]?\d+)")


class Checks:
    def __init__(self):
        self.failed = 0

    def ok(self, cond, what):
        print("%s  %s" % ("ok  " if cond else "FAIL", what))
        if not cond:
            self.failed += 1
        return cond


def whole(text):
    """The program's whole-number reading: sign and digits, 0 when none."""
    m = _WHOLE.match(text)
    return int(m.group(1)) if m else 0


# ---------------------------------------------------------------------------

def read_cfg(path, c):
    with open(path, "rb") as f:
        raw = f.read()
    lines = raw.decode("ascii").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    c.ok(len(lines) == 20, "MilkyWay.cfg has 20 lines (%d)" % len(lines))
    vals = {}
    get = lambda n: lines[n - 1] if len(lines) >= n else ""  # noqa: E731
    vals["galaxyage"] = whole(get(2))
    parts = get(4).split("x")
    bulge = [whole(p) // 10 if whole(p) >= 0 else -(-whole(p) // 10) for p in parts]
    c.ok(len(bulge) == 3, "line 4 holds width x length x height")
    vals["bulgewidth"], vals["bulgelength"], vals["bulgeheight"] = (bulge + [0, 0, 0])[:3]
    vals["bulgeangle"] = whole(get(6))
    vals["discage"] = whole(get(8))
    vals["agegradient"] = whole(get(10))
    vals["thindisc"] = whole(get(12)) // 10
    vals["thickdisc"] = whole(get(14)) // 10
    ref = [whole(p) for p in get(16).split(",")]
    c.ok(len(ref) == 6, "line 16 holds six numbers")
    vals["reference"] = tuple(ref)
    vals["starseed"] = whole(get(18))
    vals["systemseed"] = whole(get(20))
    print("      cfg values (cubes for lengths): %s" % vals)
    c.ok(0 < vals["thindisc"] < vals["thickdisc"], "thin disc thinner than thick disc")
    c.ok(0 < vals["discage"] <= vals["galaxyage"] <= 13800, "disc age <= galaxy age <= 13.8 Gyr")
    c.ok(vals["discage"] - vals["agegradient"] * 2000 > 0, "disc age positive out to 20 kpc")
    c.ok(vals["bulgeangle"] < 0, "bar angle negative (near end at positive longitude)")
    c.ok(vals["reference"] == SOL_CUBE + (0, 0, 0), "home position is Sol's cube")
    return vals


def in_bar(vals, x, y, z):
    t = math.radians(-vals["bulgeangle"])
    u = x * math.sin(t) + y * math.cos(t)
    v = x * math.cos(t) - y * math.sin(t)
    h = vals["bulgeheight"]
    return math.sqrt((v * h / vals["bulgewidth"]) ** 2 + (u * h / vals["bulgelength"]) ** 2
                     + z * z) < h / 2.0


# ---------------------------------------------------------------------------

def read_svc(path, c):
    size = os.path.getsize(path)
    c.ok(size < MAX_SVC_BYTES, "MilkyWay.svc is %d bytes (< 8 MB)" % size)
    with open(path, "rb") as f:
        raw = f.read()
    c.ok(all(b < 128 for b in raw), "MilkyWay.svc is ASCII")
    lines = raw.decode("ascii", "replace").split("\n")
    n = whole(lines[0])
    body = [ln for ln in lines[1:] if ln != ""]
    c.ok(n == len(body), "star count line %d matches %d star lines" % (n, len(body)))
    stars = []
    bad = []
    for i, line in enumerate(body, 2):
        f = line.split(",")
        if len(f) != 11:
            bad.append("line %d: %d fields" % (i, len(f)))
            continue
        try:
            cube = (int(f[0]), int(f[1]), int(f[2]))
            real = float(f[4])
            sub = int(f[6])
            off = (float(f[8]), float(f[9]), float(f[10]))
        except ValueError:
            bad.append("line %d: bad number" % i)
            continue
        name, cls, lum = f[3], f[5], f[7]
        if not name or name == "NIL" or name != name.strip() or "\r" in line:
            bad.append("line %d: bad name %r" % (i, name))
        if cls not in CLASSES or lum not in LUMS or not 0 <= sub <= 9:
            bad.append("line %d: bad class %s %s %s" % (i, cls, f[6], lum))
        if any(abs(o) > 5.0 for o in off) or not math.isfinite(real):
            bad.append("line %d: offset outside the cube" % i)
        stars.append({"cube": cube, "name": name, "cls": cls, "lum": lum, "off": off,
                      "pos": tuple(10.0 * cube[k] + off[k] for k in range(3))})
    c.ok(not bad, "every star line is well formed (%d faults%s)"
         % (len(bad), (": " + "; ".join(bad[:5])) if bad else ""))
    names = collections.Counter(s["name"] for s in stars)
    dup = [k for k, v in names.items() if v > 1]
    c.ok(not dup, "names are unique (%d repeated%s)" % (len(dup), (": " + ", ".join(dup[:5])) if dup else ""))
    c.ok(bool(stars) and stars[0]["name"] == "Sol" and stars[0]["cube"] == SOL_CUBE
         and stars[0]["off"] == (0.0, 0.0, 0.0), "the first star is Sol at (0,-798,2) + (0,0,0)")
    return stars


def check_reference_stars(stars, c):
    sol = stars[0]["pos"]
    by_name = {s["name"]: s for s in stars}
    for name, dist, l_ref, b_ref in REFERENCE:
        s = by_name.get(name)
        if not c.ok(s is not None, "%s is in the catalogue" % name):
            continue
        dx, dy, dz = (s["pos"][k] - sol[k] for k in range(3))
        d = math.sqrt(dx * dx + dy * dy + dz * dz)
        # Atlas frame: x = -Y, y = X - R0, z = Z + z0 (X to the centre, Y to l = 90).
        lon = math.degrees(math.atan2(-dx, dy)) % 360.0
        lat = math.degrees(math.asin(dz / d)) if d > 0 else 0.0
        dl = (lon - l_ref + 180.0) % 360.0 - 180.0
        c.ok(abs(d / dist - 1.0) < DISTANCE_TOLERANCE,
             "%s at %.3f pc from Sol (reference %.3f, %+.2f %%)" % (name, d, dist, 100.0 * (d / dist - 1.0)))
        c.ok(abs(dl) < ANGLE_TOLERANCE_DEG and abs(lat - b_ref) < ANGLE_TOLERANCE_DEG,
             "%s at l %.2f b %.2f (reference %.2f %.2f)" % (name, lon, lat, l_ref, b_ref))
    per_cube = collections.Counter(s["cube"] for s in stars)
    cube, most = per_cube.most_common(1)[0]
    c.ok(most < MAX_STARS_PER_CUBE, "busiest cube %s holds %d catalogue stars (< %d)"
         % (cube, most, MAX_STARS_PER_CUBE))
    return per_cube


# ---------------------------------------------------------------------------

def density_poly(b):
    return (4.492048e-5 * b ** 3 - 7.1924765e-8 * b ** 4 - 0.0067277409 * b ** 2
            + 0.39918088 * b - 1.6055759)


def cube_total(b, z, q):
    """Stars of a thin-disc cube: catalogue stars q plus generated ones."""
    d = density_poly(b) * (1.0 - z * 0.0071428571827709675)
    e = struct.unpack("<f", struct.pack("<f", d))[0]
    factor = struct.unpack("<f", struct.pack("<f", 0.01))[0] * 1000.0
    return q + max(math.trunc(e * factor - q), 0)


def picture_modules():
    """numpy and PIL (Debian's python3-numpy and python3-pil), or None."""
    try:
        import numpy
        from PIL import Image
    except ImportError:
        return None
    return numpy, Image


def check_pictures(folder, per_cube, c):
    mods = picture_modules()
    if mods is None:
        c.ok(False, "python3-numpy and python3-pil are needed to read the pictures")
        return
    np, Image = mods
    grey = Image.open(os.path.join(folder, "GrayScale.jpg"))
    colour = Image.open(os.path.join(folder, "MilkyWay.jpg"))
    c.ok(grey.format == "JPEG" and colour.format == "JPEG", "both pictures are JPEG")
    w, h = grey.size
    c.ok(colour.size == grey.size, "pictures share one grid (%dx%d and %dx%d)" % (w, h, *colour.size))
    rgb = np.asarray(grey.convert("RGB")).astype(np.int32)
    c.ok(bool(np.all(rgb[..., 0] == rgb[..., 1]) and np.all(rgb[..., 1] == rgb[..., 2])),
         "GrayScale.jpg decodes to R = G = B everywhere")
    level = rgb.sum(axis=2) // 3
    px = lambda cx, cy: int(level[h // 2 - cy, w // 2 + cx])  # noqa: E731

    sol_b = px(SOL_CUBE[0], SOL_CUBE[1])
    q = per_cube.get(SOL_CUBE, 0)
    total = cube_total(sol_b, SOL_CUBE[2], q)
    c.ok(80 <= total <= 100, "Sol's cube expects %d stars (brightness %d, %d of them catalogue stars)"
         % (total, sol_b, q))

    # Every cube with catalogue stars lies inside the picture, and the border
    # is dark enough that no stars are generated there.
    inside = all(0 <= w // 2 + cx < w and 0 <= h // 2 - cy < h for cx, cy, _ in per_cube)
    c.ok(inside, "every catalogue cube lies inside the picture")
    border = int(max(level[0].max(), level[-1].max(), level[:, 0].max(), level[:, -1].max()))
    c.ok(density_poly(border) * 1.2 * 10.0 < 1.0,
         "picture border (brightness <= %d) generates no stars" % border)

    # No walls: neighbouring columns differ by at most 10 % of their stars, or
    # by WALL_STARS stars where the counts are small: one brightness level is
    # worth about 3.4 stars there, and the JPEG coding moves levels by one.
    counts = np.array([max(10.0 * density_poly(v), 0.0) for v in range(256)])[level]
    worst = 0.0
    where = None
    for a, b in ((counts[:, 1:], counts[:, :-1]), (counts[1:, :], counts[:-1, :])):
        allowed = np.maximum(0.10 * np.maximum(a, b), WALL_STARS)
        excess = np.abs(a - b) / allowed
        k = np.unravel_index(int(np.argmax(excess)), excess.shape)
        if excess[k] > worst:
            worst, where = float(excess[k]), (int(k[1]) - w // 2, h // 2 - int(k[0]))
    c.ok(worst <= 1.0, "steps between neighbouring columns within limits (worst %.2f of the "
         "allowance, near cube %s)" % (worst, where))

    near = []
    for cx in range(-50, 51, 5):
        for cy in range(-848, -747, 5):
            near.append(cube_total(px(cx, cy), 0, 0))
    print("      expected stars per cube within 500 pc of Sol (z = 0): %d to %d" % (min(near), max(near)))

    col = colour.convert("RGB")
    centre = sum(col.getpixel((w // 2, h // 2)))
    corner = sum(col.getpixel((0, 0)))
    c.ok(centre > 300 and corner < 30, "MilkyWay.jpg: bright centre (%d), dark corner (%d)"
         % (centre, corner))


# ---------------------------------------------------------------------------

def check_sol(path, c):
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("ascii")
    c.ok(text.startswith("\n") and text.endswith(SEPARATOR + "\n"),
         "Sol.svs begins with an empty line and ends with the separator")
    lines = text.split("\n")
    header = {}
    bodies = []
    cur = None
    numbers_ok = True
    for line in lines:
        line = line.rstrip("\r")
        if not line or line == SEPARATOR:
            continue
        key, _, value = line.partition(" ")
        if key == "planetnumber":
            nums = value.split()
            cur = {"index": (int(nums[0]), int(nums[1]))}
            bodies.append(cur)
            continue
        target = header if cur is None else cur
        target[key] = value
        if key not in ("name", "alias", "cntname", "path", "class", "type", "atmcompounds"):
            for tok in value.split():
                if "%g" % float(tok) != tok and str(int(float(tok))) != tok:
                    numbers_ok = False
    c.ok(numbers_ok, "numbers are written with six significant digits")
    c.ok(header.get("name") == "Sol" and header.get("alias") == "Sol" and header.get("path") == "xxxxxx"
         and header.get("cntname") == "Sol" and header.get("class") == "G 2 V",
         "Sol.svs header: name, alias, path, cntname, class")
    c.ok(whole(header.get("planets", "")) == 8, "Sol.svs has 8 planets")
    c.ok(whole(header.get("surftemp", "")) == 5772 and whole(header.get("age", "")) == 4600,
         "surftemp 5772, age 4600")

    expected = []
    for i, (planet, moons) in enumerate(BODIES, 1):
        expected.append(((i, 0), planet))
        expected += [((i, j), m) for j, m in enumerate(moons, 1)]
    got = [(b["index"], b.get("name")) for b in bodies]
    c.ok(got == expected, "bodies in order with their moons (%d bodies)" % len(bodies))

    faults = []
    for b in bodies:
        name = b.get("name", "?")
        missing = [k for k in BODY_KEYS if k not in b]
        if missing:
            faults.append("%s lacks %s" % (name, ",".join(missing)))
            continue
        angles = [float(b[k]) for k in BODY_KEYS[-4:]]
        if not (0.0 <= angles[0] <= math.pi and all(math.isfinite(a) for a in angles)):
            faults.append("%s: orbit angles %s" % (name, angles))
        if b["index"][1] == 0 and "moons" not in b:
            faults.append("%s lacks moons" % name)
        if b["type"] not in TYPE_WORDS[1:]:
            faults.append("%s: type %s" % (name, b["type"]))
        if b["type"] in NO_SURFACE_TYPES:
            if "medsurftemp" in b or "surfpressure" in b:
                faults.append("%s: giant with a surface" % name)
        elif "medsurftemp" not in b or len(b.get("temprange", "").split()) != 4:
            faults.append("%s: no surface temperatures" % name)
        if "surfpressure" in b:
            toks = b.get("atmcompounds", "").split(" ")
            if not b.get("atmcompounds", "").endswith(" ") or "molconst" not in b:
                faults.append("%s: atmcompounds line or molconst missing" % name)
            else:
                toks = toks[:-1]
                n = int(toks[0])
                gases = [toks[1 + 3 * k:4 + 3 * k] for k in range(n)]
                if len(toks) != 1 + 3 * n or any(int(gs[0]) not in GAS_NUMBERS for gs in gases):
                    faults.append("%s: bad gas list" % name)
                else:
                    pct = sum(float(gs[1]) for gs in gases)
                    pp = sum(float(gs[2]) for gs in gases)
                    mbar = float(b["surfpressure"]) / 100.0
                    pps = [float(gs[2]) for gs in gases]
                    if abs(pct - 100.0) > 0.1 or abs(pp / mbar - 1.0) > 0.001 or pps != sorted(pps, reverse=True):
                        faults.append("%s: gas shares %.3f %% / %.4g of %.4g mbar" % (name, pct, pp, mbar))
        for key, ref in KNOWN.get(name, {}).items():
            if abs(float(b[key]) / ref - 1.0) > 0.01:
                faults.append("%s: %s %s, expected about %g" % (name, key, b[key], ref))
    c.ok(not faults, "bodies complete and plausible%s" % ((": " + "; ".join(faults[:6])) if faults else ""))


def main(argv=None):
    parser = argparse.ArgumentParser(description="Check the galaxy folder.")
    parser.add_argument("--dir", default=DEFAULT_DIR, help="galaxy folder (default: %(default)s)")
    args = parser.parse_args(argv)
    folder = args.dir
    if picture_modules() is None and os.path.exists(SYSTEM_PYTHON) and \
            os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) and \
            not os.environ.get("STARVANE_NO_REEXEC"):
        # Debian's numpy and PIL live with the system interpreter.
        os.environ["STARVANE_NO_REEXEC"] = "1"
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, os.path.abspath(__file__)] + sys.argv[1:])
    c = Checks()
    try:
        vals = read_cfg(os.path.join(folder, "MilkyWay.cfg"), c)
        stars = read_svc(os.path.join(folder, "MilkyWay.svc"), c)
        per_cube = check_reference_stars(stars, c)
        c.ok(not in_bar(vals, *SOL_CUBE), "Sol's cube lies outside the bar")
        check_sol(os.path.join(folder, "Custom Systems", "Sol.svs"), c)
        check_pictures(folder, per_cube, c)
    except (OSError, UnicodeDecodeError, ValueError, IndexError) as e:
        print("FAIL  cannot read the galaxy folder %s: %s" % (folder, e))
        return 1
    print("%d check(s) failed" % c.failed if c.failed else "all checks passed")
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main())
