"""Builds the HR reference image: pixel column x stands for
log Teff = 3.3 + x/100, row y (0 at the top) for log L = 8 - y/10, and the
red channel names the luminosity class of the region.

The regions come from the stellar table itself: every pixel takes the class
of the nearest table record (distance (5 dlogT)^2 + (dlogL)^2), and every
record's own pixel is then set to its class unless records of different
classes share that pixel.
"""

import math
import struct

WIDTH = 256    # log Teff 3.30 .. 5.86
HEIGHT = 128   # log L 8.0 .. -4.8

RED_CODE = {"V": 0, "DC": 78, "IV": 107, "III": 139, "II": 162, "Ib": 180, "Ia": 192, "Ia0": 210}
NO_CLASS = 255  # subdwarf band: names no class, the star keeps its own

T_WEIGHT = 5.0


def pixel_of(logt, logl):
    """The pixel that a star of this temperature and luminosity reads."""
    return int(math.trunc((logt - 3.3) * 100.0)), int(math.trunc(80.0 - 10.0 * logl))


def pixel_centre(x, y):
    return 3.3 + (x + 0.5) / 100.0, 8.0 - (y + 0.5) / 10.0


def seeds_from_table(records):
    """(logT, logL, red value) of the records that shape the regions.

    records: dicts with cls, slot (0..7 or None), teff, luminosity as the
    table file states them.  Classes O..M give their slots Ia0..V; their
    subdwarfs (slot VI) mark the band below the main sequence where they lie
    under it; white dwarfs give the DC region.  Carbon, S and Wolf-Rayet
    records carry no luminosity-class information and are left out."""
    codes = ("Ia0", "Ia", "Ib", "II", "III", "IV", "V")
    main = sorted(((math.log10(r["teff"]), math.log10(r["luminosity"]))
                   for r in records if r["cls"] in "OBAFGKM" and r["slot"] == 6))
    mt = [p[0] for p in main]
    ml = [p[1] for p in main]
    seeds = []
    for r in records:
        logt, logl = math.log10(r["teff"]), math.log10(r["luminosity"])
        if r["cls"] == "DC":
            seeds.append((logt, logl, RED_CODE["DC"]))
        elif r["cls"] in ("O", "B", "A", "F", "G", "K", "M"):
            if r["slot"] < 7:
                seeds.append((logt, logl, RED_CODE[codes[r["slot"]]]))
            elif mt[0] <= logt <= mt[-1] and logl < _interp(logt, mt, ml):
                seeds.append((logt, logl, NO_CLASS))
    return seeds


def _interp(x, xs, ys):
    for i in range(len(xs) - 1):
        if xs[i] <= x <= xs[i + 1]:
            if xs[i + 1] == xs[i]:
                return ys[i]
            return ys[i] + (ys[i + 1] - ys[i]) * (x - xs[i]) / (xs[i + 1] - xs[i])
    return ys[0] if x < xs[0] else ys[-1]


def build_red_channel(seeds):
    """Row-major list of red values, HEIGHT rows of WIDTH pixels."""
    red = [0] * (WIDTH * HEIGHT)
    sx = [s[0] * T_WEIGHT for s in seeds]
    sy = [s[1] for s in seeds]
    sc = [s[2] for s in seeds]
    n = len(seeds)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            lt, ll = pixel_centre(x, y)
            px, py = lt * T_WEIGHT, ll
            best, best_d = 0, None
            for i in range(n):
                dx = sx[i] - px
                dy = sy[i] - py
                d = dx * dx + dy * dy
                if best_d is None or d < best_d:
                    best_d, best = d, i
            red[y * WIDTH + x] = sc[best]
    # Each record reads back its own class where its pixel is not shared.
    by_pixel = {}
    for lt, ll, code in seeds:
        x, y = pixel_of(lt, ll)
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            by_pixel.setdefault((y, x), set()).add(code)
    for (y, x), codes in sorted(by_pixel.items()):
        if len(codes) == 1:
            red[y * WIDTH + x] = next(iter(codes))
    return red


def _display_colour(code):
    """Green and blue only make the picture readable to a person."""
    if code == NO_CLASS:
        return NO_CLASS, 255, 255
    return code, 60 + (code * 7) % 120, 255 - code


def bmp_bytes(red):
    """24-bit uncompressed BMP, rows stored bottom-up."""
    row_size = (WIDTH * 3 + 3) // 4 * 4
    image_size = row_size * HEIGHT
    header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for y in range(HEIGHT - 1, -1, -1):
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = _display_colour(red[y * WIDTH + x])
            row += bytes((b, g, r))
        row += b"\0" * (row_size - WIDTH * 3)
        rows.append(bytes(row))
    return header + info + b"".join(rows)
