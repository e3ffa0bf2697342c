"""Builds the stellar table: 13 spectral-class blocks of 10 subtypes x 8
luminosity-class slots, then the 10 white dwarfs DC0..DC9.

A record is a dict with keys: name, cls, subtype, slot (0..7, None for white
dwarfs), mass, logl, radius, teff and the derived extras.
"""

import math

import calibrations as cal

TABLE_CLASSES = ("O", "B", "A", "F", "G", "K", "M", "N", "WC", "WN", "R", "C", "S")

# White dwarfs: subtype n is the temperature index 50400/n K (DC0: 120 kK).
# Masses fall with the subtype so that the remnant lookup (first record
# lighter than 0.21 x the initial mass) always finds one; DC9 is below 0.105.
DC_MASSES = (1.30, 1.10, 0.90, 0.75, 0.62, 0.52, 0.42, 0.32, 0.20, 0.10)
DC0_TEFF = 120000.0

# Wolf-Rayet rows (Teff K, logL, mass), after Crowther 2007, Hamann et al.
# 2006 and Sander et al. 2012; WC0-WC3 stand for the hottest (WO-like) stars.
WN_ROWS = ((130000, 5.4, 12), (125000, 5.4, 12), (120000, 5.4, 12), (95000, 5.3, 12),
           (85000, 5.3, 13), (65000, 5.4, 15), (60000, 5.5, 20), (50000, 5.6, 25),
           (45000, 5.7, 30), (33000, 5.8, 35))
WC_ROWS = ((200000, 5.3, 12), (180000, 5.3, 12), (160000, 5.3, 13), (140000, 5.3, 13),
           (115000, 5.4, 15), (90000, 5.3, 14), (80000, 5.3, 14), (70000, 5.3, 13),
           (60000, 5.2, 12), (45000, 5.0, 10))

# Carbon and S stars: (Teff at 0, Teff at 9, logL at 0, logL at 9, mass at 0, mass at 9).
# R: early R giants (Knapp, Pourbaix & Jorissen 2001); N: AGB carbon stars and
# C: Keenan-Morgan scale (Bergeat, Knapik & Rutily 2001/2002); S: ZrO stars
# parallel to the M giants (Van Eck et al. 1998).
CARBON_S_RANGES = {
    "R": (5000.0, 3900.0, 1.8, 2.3, 1.5, 1.5),
    "N": (3400.0, 2400.0, 3.6, 4.0, 2.0, 2.0),
    "C": (4800.0, 2500.0, 2.0, 3.9, 1.5, 2.5),
    "S": (3800.0, 2600.0, 3.3, 3.9, 2.0, 2.0),
}

# Giant masses of Allen's Astrophysical Quantities (Cox 2000, after
# Schmidt-Kaler 1982) for G0..M0 III, keyed by the position along G0..M9.
ALLEN_GIANT_MASS = ((0.0, 1.0), (5.0, 1.1), (10.0, 1.1), (15.0, 1.2), (20.0, 1.2), (29.0, 1.2))

MIN_CLASS_STEP = 0.1  # dex in L between neighbouring luminosity classes


def _o_type_evolved(n, v_logl, v_logt):
    """Evolved O-type slots (Ia0..IV) as offsets from the V record, following
    the trends of Martins, Schaerer & Hillier (2005): supergiants about
    0.024 dex cooler than dwarfs and 0.16 (O3) to 0.78 dex (O9.5) brighter,
    giants half-way."""
    f = min(1.0, max(0.0, (n - 3) / 6.5))
    dl_ia, dt_ia = 0.16 + 0.62 * f, -0.024
    dl_iii, dt_iii = 0.09 + 0.32 * f, -0.016
    dl_ib, dt_ib = dl_ia - 0.12, dt_ia + 0.004
    offsets = (
        (dl_ia + 0.15, dt_ia - 0.012),               # Ia0
        (dl_ia, dt_ia),                              # Ia
        (dl_ib, dt_ib),                              # Ib
        ((dl_ib + dl_iii) / 2, (dt_ib + dt_iii) / 2),  # II
        (dl_iii, dt_iii),                            # III
        (max(0.05, dl_iii / 2), -0.008),             # IV
    )
    return [(v_logl + dl, v_logt + dt) for dl, dt in offsets]


def _m_type_evolved(n):
    """Slots Ia0..IV of M stars.  The two-dimensional fit is used up to M3;
    beyond it the fit turns back to higher temperatures, so each slot
    continues its M1..M3 trend in log L and log Teff instead.  The fit's Ia
    row is far cooler than observed M supergiants; Ia takes the Ib
    temperature less 0.01 dex, and Ia0 the Ia temperature with L + 0.2 dex."""
    def fit(m, b):
        return cal.dj87(cal.dj_s("M", m), b)

    pos = []
    for b in cal.DJ_B[:6]:
        if n <= 3:
            pos.append(fit(n, b))
        else:
            l1, t1 = fit(1, b)
            l3, t3 = fit(3, b)
            k = (n - 3) / 2.0
            pos.append((l3 + (l3 - l1) * k, t3 + (t3 - t1) * k))
    pos[1] = (pos[1][0], pos[2][1] - 0.01)
    pos[0] = (pos[1][0] + 0.2, pos[1][1])
    return pos


def _evolved_positions(cls, n, v_logl, v_logt):
    """(logL, logTeff) of the slots Ia0..IV."""
    if cls == "O":
        pos = _o_type_evolved(n, v_logl, v_logt)
    elif cls == "M":
        pos = _m_type_evolved(n)
    else:
        pos = [cal.dj87(cal.dj_s(cls, n), b) for b in cal.DJ_B[:6]]
        if cls == "K" and n >= 5:
            # The fit's Ia0 row collapses to very low temperatures here.
            ia_l, ia_t = pos[1]
            pos[0] = (ia_l + 0.2, ia_t)
    # Brighter class, brighter star: each class at least one step above the next.
    logls = [p[0] for p in pos] + [v_logl]
    for k in range(5, -1, -1):
        logls[k] = max(logls[k], logls[k + 1] + MIN_CLASS_STEP)
    return [(logls[k], pos[k][1]) for k in range(6)]


def _evolved_mass(cls, n, slot, logl):
    lum = 10 ** logl
    if slot <= 3:
        # Core helium burning supergiants and bright giants.
        if lum >= cal.l_hei(cal.M_HEF):
            return cal.invert_increasing(cal.l_hei, lum, cal.M_HEF, 400.0)
        return cal.invert_increasing(cal.l_tms, lum, 0.1, 400.0)
    if slot == 4 and cls in ("G", "K", "M"):
        pos = {"G": 0, "K": 10, "M": 20}[cls] + n
        m = cal.interp_clamped(float(pos), [p[0] for p in ALLEN_GIANT_MASS],
                               [p[1] for p in ALLEN_GIANT_MASS])
        if lum > 250.0:
            m = max(m, cal.invert_increasing(cal.l_hei, lum, cal.M_HEF, 400.0))
        return m
    # Subgiants and the hotter giants sit near the end of the main sequence.
    return cal.invert_increasing(cal.l_tms, lum, 0.1, 400.0)


def _subdwarf(cls, n, v):
    """Slot VI: hot subdwarfs (O, B; Heber 2009), blue horizontal branch (A),
    metal-poor dwarfs about one magnitude below the main sequence (F..M)."""
    if cls == "O":
        return 0.47, 2.0 - 0.4 * n / 9.0, 80000.0 - 38000.0 * n / 9.0
    if cls == "B":
        return 0.47, 1.5 - 0.5 * n / 9.0, 38000.0 - 18000.0 * n / 9.0
    if cls == "A":
        return 0.6, 1.6, 12000.0 - 4500.0 * n / 9.0
    _, _, teff, logl, _, mass = v
    return 0.8 * mass, logl + math.log10(0.4), teff


def _record(name, cls, n, slot, mass, logl, teff, radius=None):
    if radius is None:
        radius = cal.radius_from(logl, teff)
    return {"name": name, "cls": cls, "subtype": n, "slot": slot, "mass": mass,
            "logl": logl, "teff": teff, "radius": radius}


def build_records():
    """All 1050 records in file order."""
    records = []
    ms = {(r[0], r[1]): r for r in cal.main_sequence_rows()}
    for cls in cal.CLASS_LETTERS:
        for n in range(10):
            v = ms[(cls, n)]
            _, _, v_teff, v_logl, v_rad, v_mass = v
            evolved = _evolved_positions(cls, n, v_logl, math.log10(v_teff))
            for slot in range(8):
                code = cal.LUM_CODES[slot]
                name = "%s%d%s" % (cls, n, code)
                if slot < 6:
                    logl, logt = evolved[slot]
                    teff = 10 ** logt
                    mass = _evolved_mass(cls, n, slot, logl)
                    records.append(_record(name, cls, n, slot, mass, logl, teff))
                elif slot == 6:
                    records.append(_record(name, cls, n, slot, v_mass, v_logl, v_teff, v_rad))
                else:
                    mass, logl, teff = _subdwarf(cls, n, v)
                    records.append(_record(name, cls, n, slot, mass, logl, teff))
    for cls in TABLE_CLASSES[7:]:
        for n in range(10):
            if cls in ("WN", "WC"):
                teff, logl, mass = (WN_ROWS if cls == "WN" else WC_ROWS)[n]
                teff = float(teff)
                mass = float(mass)
            else:
                t0, t9, l0, l9, m0, m9 = CARBON_S_RANGES[cls]
                f = n / 9.0
                teff = t0 + (t9 - t0) * f
                logl = l0 + (l9 - l0) * f
                mass = m0 + (m9 - m0) * f
            # No luminosity-class calibration exists for these classes:
            # every slot carries the same star.
            for slot in range(8):
                name = "%s%d%s" % (cls, n, cal.LUM_CODES[slot])
                records.append(_record(name, cls, n, slot, mass, logl, teff))
    for n in range(10):
        teff = DC0_TEFF if n == 0 else 50400.0 / n
        mass = DC_MASSES[n]
        radius = cal.wd_radius(mass)
        logl = 2 * math.log10(radius) + 4 * math.log10(teff / cal.TEFF_SUN)
        records.append(_record("DC%d" % n, "DC", n, None, mass, logl, teff, radius))
    for r in records:
        r["luminosity"] = 10 ** r["logl"]
        r["bc"] = cal.bolometric_correction(r["teff"])
        r["mv"] = cal.MBOL_SUN - 2.5 * r["logl"] - r["bc"]
        r["bv"] = cal.b_minus_v(r["teff"])
        r["logg"] = cal.log_g(r["mass"], r["radius"])
        r["rgb"] = cal.blackbody_rgb(r["teff"])
    return records


def fmt_sig(x, sig):
    """Fixed-point text with `sig` significant digits, never an exponent."""
    if x == 0:
        return "0"
    digits = sig - 1 - int(math.floor(math.log10(abs(x))))
    text = "%.*f" % (max(0, digits), x)
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    if text in ("-0", ""):
        text = "0"
    return text


def fmt_fixed(x, decimals):
    text = "%.*f" % (decimals, x)
    if text.startswith("-") and float(text) == 0.0:
        text = text[1:]
    return text


def format_line(r):
    fields = [
        r["name"],
        fmt_sig(r["mass"], 4),
        fmt_sig(r["luminosity"], 5),
        fmt_sig(r["radius"], 5),
        "%d" % int(round(r["teff"])),
        fmt_fixed(r["mv"], 2),
        fmt_fixed(r["bc"], 3),
        fmt_fixed(r["bv"], 3),
        fmt_fixed(r["logg"], 3),
    ]
    rgb = " ".join(fmt_fixed(c, 4) for c in r["rgb"])
    return ";".join(fields) + ";" + rgb + "\n"


def table_text(records):
    return "".join(format_line(r) for r in records)
