"""Real stars for the galaxy catalogue (MilkyWay.svc), read from the Hipparcos
star files of Debian's stellarium-data package (version 0.22.x).

The package keeps its stars in binary files, one per level of a geodesic sky
grid.  Levels 0 to 2 hold 28-byte records with the HIP number, a position in
the tangent plane of the record's sky zone, V, B-V, an index into a table of
spectral texts and the parallax.  Text side files give the HD numbers, the
parallax errors, Bayer and Flamsteed designations and proper names.

Only stars with a parallax of at least 2 mas and a relative error under 20 %
are kept, one star per HIP.  Positions are turned into galactic coordinates
(Hipparcos definition of the galactic frame) and then into the atlas frame:
galactic centre at the origin, Sun at (0, -7980, 20) pc, z towards the north
galactic pole, x = -Y and y = X - 7980 where X points to the centre and Y to
l = 90 degrees.
"""

import math
import os
import re
import struct
import unicodedata

STAR_DIR = os.path.join("usr", "share", "stellarium", "stars", "default")
NAMES_FILE = os.path.join("usr", "share", "stellarium", "skycultures", "western", "star_names.fab")
STAR_FILES = ("stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat")
SPECTRA_FILE = "stars_hip_sp_0v0_4.cat"
COMPONENTS_FILE = "stars_hip_cids_0v0_0.cat"

MAGIC = 0x835F040A
MAGIC_SWAPPED = 0x0A045F83
RECORD = struct.Struct("<3sBiiBBHiii")
HEADER = struct.Struct("<8i")

MIN_PARALLAX_MAS = 2.0
MAX_RELATIVE_ERROR = 0.2

SUN_DISTANCE_PC = 7980.0
SUN_HEIGHT_PC = 20.0

# J2000/ICRS -> galactic rotation of the Hipparcos catalogue (ESA SP-1200, 1.5.3).
ICRS_TO_GALACTIC = (
    (-0.0548755604162154, -0.8734370902348850, -0.4838350155487132),
    (+0.4941094278755837, -0.4448296299600112, +0.7469822444972189),
    (-0.8676661490190047, -0.1980763734312015, +0.4559837761750669),
)

GREEK = {
    "α": "alf", "β": "bet", "γ": "gam", "δ": "del", "ε": "eps", "ζ": "zet",
    "η": "eta", "θ": "tet", "ι": "iot", "κ": "kap", "λ": "lam", "μ": "mu",
    "ν": "nu", "ξ": "ksi", "ο": "omi", "π": "pi", "ρ": "rho", "σ": "sig",
    "τ": "tau", "υ": "ups", "φ": "phi", "χ": "chi", "ψ": "psi", "ω": "ome",
}


class CatalogueError(Exception):
    """The star files are missing, unreadable or not of the expected layout."""


# ---------------------------------------------------------------------------
# Sky zones

def _norm(v):
    n = math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
    return (v[0] / n, v[1] / n, v[2] / n)


def _add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def _sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def _dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _icosahedron():
    g = (1.0 + math.sqrt(5.0)) / 2.0
    b = 1.0 / math.sqrt(1.0 + g * g)
    a = b * g
    corners = [(a, -b, 0), (a, b, 0), (-a, b, 0), (-a, -b, 0), (0, a, -b), (0, a, b),
               (0, -a, b), (0, -a, -b), (-b, 0, a), (b, 0, a), (b, 0, -a), (-b, 0, -a)]
    faces = [(1, 0, 10), (0, 1, 9), (0, 9, 6), (9, 8, 6), (0, 7, 10), (6, 7, 0), (7, 6, 3),
             (6, 8, 3), (11, 10, 7), (7, 3, 11), (3, 2, 11), (2, 3, 8), (10, 11, 4), (2, 4, 11),
             (5, 4, 2), (2, 8, 5), (4, 1, 10), (4, 5, 1), (5, 9, 1), (8, 9, 5)]
    return [tuple(corners[i] for i in f) for f in faces]


def zone_triangles(level):
    """Corner triples of the zones of one level, in zone order."""
    zones = _icosahedron()
    for _ in range(level):
        finer = []
        for c0, c1, c2 in zones:
            e0 = _norm(_add(c1, c2))
            e1 = _norm(_add(c2, c0))
            e2 = _norm(_add(c0, c1))
            finer += [(c0, e2, e1), (e2, c1, e0), (e1, e0, c2), (e0, e1, e2)]
        zones = finer
    return zones


def zone_frames(level):
    """Per zone (centre, axis0, axis1), and the level's tangent-plane scale."""
    frames = []
    scale = 0.0
    for tri in zone_triangles(level):
        c = _norm(_add(_add(tri[0], tri[1]), tri[2]))
        axis0 = _norm(_cross((0.0, 0.0, 1.0), c))
        axis1 = _cross(c, axis0)
        frames.append((c, axis0, axis1))
        for corner in tri:
            d = _sub(corner, c)
            mu0 = _dot(d, axis0)
            mu1 = _dot(d, axis1)
            h = math.sqrt(1.0 - mu0 * mu0 - mu1 * mu1)
            scale = max(scale, abs(mu0) / h, abs(mu1) / h)
    return frames, scale


# ---------------------------------------------------------------------------
# Reading the package

def _read_lines(path):
    try:
        with open(path, "r", encoding="utf-8") as f:
            return f.read().split("\n")
    except OSError as e:
        raise CatalogueError("cannot read %s: %s" % (path, e.strerror))
    except UnicodeDecodeError:
        raise CatalogueError("%s is not UTF-8 text" % path)


def read_star_file(path, level):
    """Yields (hip, component index, unit vector, bV code, mag, sp index, plx)."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise CatalogueError("cannot read %s: %s" % (path, e.strerror))
    if len(data) < HEADER.size:
        raise CatalogueError("%s is too short for a star file" % path)
    magic, ftype, major, minor, flevel, mag_min, mag_range, mag_steps = HEADER.unpack_from(data, 0)
    if magic & 0xFFFFFFFF == MAGIC_SWAPPED:
        raise CatalogueError("%s is byte-swapped; only little-endian files are read" % path)
    if magic & 0xFFFFFFFF != MAGIC:
        raise CatalogueError("%s: not a star file (magic %08x)" % (path, magic & 0xFFFFFFFF))
    if (ftype, major, minor) != (0, 0, 8):
        raise CatalogueError("%s: layout type %d version %d.%d; this tool reads type 0 version 0.8 "
                             "(stellarium-data 0.22)" % (path, ftype, major, minor))
    if flevel != level:
        raise CatalogueError("%s: level %d, expected %d" % (path, flevel, level))
    if mag_steps <= 0:
        raise CatalogueError("%s: bad magnitude steps %d" % (path, mag_steps))
    nzones = 20 * 4 ** level
    pos = HEADER.size
    if len(data) < pos + 4 * nzones:
        raise CatalogueError("%s: truncated zone table" % path)
    counts = struct.unpack_from("<%dI" % nzones, data, pos)
    pos += 4 * nzones
    if len(data) != pos + RECORD.size * sum(counts):
        raise CatalogueError("%s: size %d does not match %d records" % (path, len(data), sum(counts)))
    frames, scale = zone_frames(level)
    k = scale / 2147483647.0
    for zone, count in enumerate(counts):
        c, a0, a1 = frames[zone]
        for _ in range(count):
            hip3, cid, x0, x1, bv, mag, sp, _dx0, _dx1, plx = RECORD.unpack_from(data, pos)
            pos += RECORD.size
            hip = int.from_bytes(hip3, "little", signed=True)
            if hip <= 0 or plx <= 0:
                continue
            f0 = x0 * k
            f1 = x1 * k
            u = _norm((c[0] + a0[0] * f0 + a1[0] * f1,
                       c[1] + a0[1] * f0 + a1[1] * f1,
                       c[2] + a0[2] * f0 + a1[2] * f1))
            vmag = (mag_min + mag * mag_range / mag_steps) / 1000.0
            yield hip, cid, u, bv * 4.0 / 127.0 - 0.5, vmag, sp, plx / 100.0


def read_parallax_errors(path):
    errors = {}
    for n, line in enumerate(_read_lines(path), 1):
        if not line.strip() or line.startswith("#"):
            continue
        parts = line.split()
        try:
            errors[int(parts[0])] = float(parts[1])
        except (ValueError, IndexError):
            raise CatalogueError("%s line %d: expected 'HIP error', got %r" % (path, n, line))
    return errors


def read_cross_ids(path):
    """HIP -> HD number (the first non-empty one)."""
    hd = {}
    for n, line in enumerate(_read_lines(path), 1):
        if not line.strip() or line.startswith("#"):
            continue
        parts = line.split("\t")
        if len(parts) < 4:
            raise CatalogueError("%s line %d: expected 5 tab-separated fields" % (path, n))
        try:
            hip = int(parts[0])
        except ValueError:
            raise CatalogueError("%s line %d: bad HIP %r" % (path, n, parts[0]))
        if parts[3].strip().isdigit() and hip not in hd:
            hd[hip] = int(parts[3])
    return hd


def _first_per_hip(path, value_of):
    out = {}
    for n, line in enumerate(_read_lines(path), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        if "|" not in line:
            raise CatalogueError("%s line %d: expected 'HIP|text'" % (path, n))
        left, right = line.split("|", 1)
        try:
            hip = int(left)
        except ValueError:
            raise CatalogueError("%s line %d: bad HIP %r" % (path, n, left))
        value = value_of(right)
        if value and hip not in out:
            out[hip] = value
    return out


_PROPER = re.compile(r'_\("([^"]*)"\)')


def read_proper_names(path):
    def value(text):
        m = _PROPER.search(text)
        return ascii_text(m.group(1)) if m else ""
    return _first_per_hip(path, value)


def read_designations(path):
    return _first_per_hip(path, lambda text: designation_ascii(text.strip()))


def ascii_text(text):
    """Plain ASCII for a name: accents dropped, separators and controls removed."""
    t = unicodedata.normalize("NFKD", text)
    t = "".join(ch for ch in t if 32 <= ord(ch) < 127)
    t = t.replace(",", " ").replace("|", " ")
    return " ".join(t.split())


def designation_ascii(text):
    """'α1_Cen' -> 'alf1 Cen', '9_CMa' -> '9 CMa', 'α_Cen_C' -> 'alf Cen C'."""
    if text and text[0] in GREEK:
        text = GREEK[text[0]] + text[1:]
    return ascii_text(text.replace("_", " "))


# ---------------------------------------------------------------------------
# Spectral texts

# Mean dwarf colours (Pecaut & Mamajek 2013, Table 5), for stars whose text
# names no class or no subtype.
DWARF_BV = (
    ("O", 5, -0.33), ("O", 9, -0.31), ("B", 0, -0.30), ("B", 1, -0.28), ("B", 2, -0.24),
    ("B", 3, -0.21), ("B", 5, -0.17), ("B", 6, -0.15), ("B", 7, -0.13), ("B", 8, -0.11),
    ("B", 9, -0.07), ("A", 0, 0.00), ("A", 1, 0.04), ("A", 2, 0.07), ("A", 3, 0.10),
    ("A", 5, 0.15), ("A", 7, 0.21), ("F", 0, 0.30), ("F", 2, 0.37), ("F", 5, 0.44),
    ("F", 8, 0.53), ("G", 0, 0.59), ("G", 2, 0.65), ("G", 5, 0.68), ("G", 8, 0.74),
    ("K", 0, 0.82), ("K", 1, 0.86), ("K", 2, 0.92), ("K", 3, 0.99), ("K", 4, 1.09),
    ("K", 5, 1.15), ("K", 7, 1.33), ("M", 0, 1.41), ("M", 1, 1.48), ("M", 2, 1.50),
    ("M", 4, 1.60), ("M", 5, 1.80), ("M", 6, 1.93),
)

# Absolute V of dwarfs (same source), to tell G, K and M giants without a
# luminosity class from dwarfs.
DWARF_MV = {
    "G": ((0, 4.45), (2, 4.70), (5, 5.10), (8, 5.50), (9, 5.70)),
    "K": ((0, 5.85), (2, 6.20), (3, 6.60), (5, 7.30), (7, 8.10), (9, 8.60)),
    "M": ((0, 8.90), (1, 9.30), (2, 9.90), (3, 10.80), (4, 12.00), (5, 13.30), (6, 14.80),
          (9, 18.50)),
}
GIANT_MARGIN_MAG = 2.5

_LUM = re.compile(r"Ia0|Ia\+|Iab|Ia|Ib|III|II|IV|VI|V|I")
_LUM_CODE = {"Ia0": "Ia0", "Ia+": "Ia0", "Iab": "Ib", "Ia": "Ia", "Ib": "Ib", "III": "III",
             "II": "II", "IV": "IV", "VI": "VI", "V": "V", "I": "I"}
_CLASS_START = re.compile(r"(WC|WN|WO|WR|W|D[A-Z]?|MS|SC|[OBAFGKMRNSC])(\d)?")
_CLASS_FOLLOWS = re.compile(r"\+(?=\s*[a-z]{0,2}(WC|WN|W|D|[OBAFGKMRNSC]))")


def class_from_bv(bv, wanted=None):
    """Nearest dwarf (class, subtype) for a B-V colour, optionally within one class."""
    rows = [r for r in DWARF_BV if wanted is None or r[0] == wanted]
    if not rows:
        return None
    best = min(rows, key=lambda r: (abs(r[2] - bv), DWARF_BV.index(r)))
    return best[0], best[1]


def parse_spectral(text, bv):
    """Hipparcos spectral text -> (class, subtype, lumclass) in the atlas's terms.

    Returns lumclass 'NIL' when the text carries none.  A text that names no
    class is placed from its B-V colour.
    """
    t = text.strip()
    for ch in "()[]{}:?":
        t = t.replace(ch, "")
    t = t.replace(" ", "")
    m = _CLASS_FOLLOWS.search(t)
    if m:
        t = t[:m.start()]
    lum_hint = None
    prefix = re.match(r"[a-z]*", t).group(0)
    body = t[len(prefix):]
    if "h" in prefix and prefix.startswith("k"):
        # Am stars written kA2hA5mA7V: take the hydrogen-line type.
        hm = re.search(r"h([OBAF])(\d)?", t)
        if hm:
            body = hm.group(0)[1:] + t[hm.end():]
            prefix = ""
    if prefix.endswith("sd"):
        lum_hint = "VI"
    elif prefix.endswith("d"):
        lum_hint = "V"
    elif prefix.endswith("sg") or prefix.endswith("c"):
        lum_hint = "I"
    elif prefix.endswith("g"):
        lum_hint = "III"
    cm = _CLASS_START.match(body)
    if not cm:
        cls, sub = class_from_bv(bv)
        return cls, sub, "NIL"
    word = cm.group(1)
    digit = cm.group(2)
    rest = body[cm.end():]
    if word.startswith("D"):
        return "DC", int(digit) if digit else 5, "NIL"
    if word in ("WC", "WO"):
        cls = "WC"
    elif word in ("WN", "WR", "W"):
        cls = "WN"
    elif word in ("MS", "SC", "S"):
        cls = "S"
    elif word in ("C", "N"):
        cls = "C"
    else:
        cls = word
    if digit is not None:
        sub = int(digit)
    elif cls in "OBAFGKM":
        sub = class_from_bv(bv, cls)[1]
    else:
        sub = 5
    lm = _LUM.search(rest)
    if lm:
        lum = _LUM_CODE[lm.group(0)]
    elif lum_hint:
        lum = lum_hint
    else:
        lum = "NIL"
    return cls, sub, lum


def dwarf_mv(cls, sub):
    table = DWARF_MV.get(cls)
    if not table:
        return None
    for (s0, m0), (s1, m1) in zip(table, table[1:]):
        if s0 <= sub <= s1:
            return m0 + (m1 - m0) * (sub - s0) / (s1 - s0)
    return table[-1][1]


def refine_luminosity(cls, sub, lum, vmag, plx_mas):
    """A G, K or M star without a luminosity class that is far brighter than a
    dwarf of its type is a giant."""
    if lum != "NIL":
        return lum
    mv_dwarf = dwarf_mv(cls, sub)
    if mv_dwarf is None:
        return lum
    mv = vmag + 5.0 * math.log10(plx_mas) - 10.0
    return "III" if mv < mv_dwarf - GIANT_MARGIN_MAG else lum


# ---------------------------------------------------------------------------
# Frames

def atlas_position(u, dist_pc):
    """Unit vector (ICRS) and distance -> atlas position in parsecs."""
    gx, gy, gz = (dist_pc * _dot(row, u) for row in ICRS_TO_GALACTIC)
    return (-gy, gx - SUN_DISTANCE_PC, gz + SUN_HEIGHT_PC)


def cube_and_offset(p):
    cube = math.floor(p / 10.0 + 0.5)
    return cube, p - 10.0 * cube


# ---------------------------------------------------------------------------

def load_stars(root):
    """All kept stars as dicts, nearest first.  root holds usr/share/stellarium."""
    star_dir = os.path.join(root, STAR_DIR)
    if not os.path.isdir(star_dir):
        raise CatalogueError("no star folder %s (is stellarium-data installed?)" % star_dir)
    spectra = _read_lines(os.path.join(star_dir, SPECTRA_FILE))
    components = _read_lines(os.path.join(star_dir, COMPONENTS_FILE))
    errors = read_parallax_errors(os.path.join(star_dir, "hip_plx_err.dat"))
    hd = read_cross_ids(os.path.join(star_dir, "cross-id.dat"))
    designations = read_designations(os.path.join(star_dir, "name.fab"))
    proper = read_proper_names(os.path.join(root, NAMES_FILE))

    best = {}
    for level, fname in enumerate(STAR_FILES):
        for hip, cid, u, bv, vmag, sp, plx in read_star_file(os.path.join(star_dir, fname), level):
            comp = components[cid] if cid < len(components) else ""
            primary = comp in ("", "A")
            key = (0 if primary else 1, vmag)
            old = best.get(hip)
            if old is None or key < old[0]:
                best[hip] = (key, comp, u, bv, vmag, sp, plx)

    # A proper name is used once only; a later HIP with the same name falls
    # back to its designation.
    used_names = {}
    for hip in sorted(proper):
        used_names.setdefault(proper[hip], hip)

    stars = []
    used_hd = set()
    for hip in sorted(best):
        _key, comp, u, bv, vmag, sp, plx = best[hip]
        err = errors.get(hip)
        if plx < MIN_PARALLAX_MAS or err is None or err >= MAX_RELATIVE_ERROR * plx:
            continue
        sptext = spectra[sp] if sp < len(spectra) else ""
        cls, sub, lum = parse_spectral(sptext, bv)
        lum = refine_luminosity(cls, sub, lum, vmag, plx)
        name = proper.get(hip, "")
        if name and used_names.get(name) != hip:
            name = ""
        if not name:
            name = designations.get(hip, "")
            if name and comp and comp != "A" and not name.endswith(" " + comp):
                name += " " + comp
        if not name and hip in hd and hd[hip] not in used_hd:
            # Two HIP stars can share one HD number (close pairs); the second
            # one keeps its HIP name so that every name stays unique.
            used_hd.add(hd[hip])
            name = "HD %d" % hd[hip]
        if not name:
            name = "HIP %d" % hip
        dist = 1000.0 / plx
        pos = atlas_position(u, dist)
        stars.append({"hip": hip, "name": name, "vmag": vmag, "bv": bv, "sptext": sptext,
                      "cls": cls, "sub": sub, "lum": lum, "plx": plx, "dist": dist, "pos": pos})
    stars.sort(key=lambda s: (s["dist"], s["hip"]))
    return stars


def svc_line(cube, name, real, cls, sub, lum, offset):
    return "%d,%d,%d,%s,%.2f,%s,%d,%s,%.3f,%.3f,%.3f\n" % (
        cube[0], cube[1], cube[2], name, real, cls, sub, lum, offset[0], offset[1], offset[2])


def catalogue_text(stars):
    """The .svc text: the Sun first, then the stars in the given order."""
    lines = [svc_line((0, -798, 2), "Sol", -26.74, "G", 2, "V", (0.0, 0.0, 0.0))]
    for s in stars:
        cube = []
        off = []
        for p in s["pos"]:
            c, o = cube_and_offset(p)
            cube.append(c)
            off.append(o)
        lines.append(svc_line(cube, s["name"], s["vmag"], s["cls"], s["sub"], s["lum"], off))
    return "%d\n" % len(lines) + "".join(lines)
