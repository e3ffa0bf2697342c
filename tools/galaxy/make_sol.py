#!/usr/bin/env python3
"""Writes the real Solar System as a saved-system file ("Custom Systems/Sol.svs")
so that the catalogue star "Sol" carries its real planets and main moons.

Usage: python3 tools/galaxy/make_sol.py [--out FILE]

Sources: NASA/GSFC planetary and satellite fact sheets (orbits, masses,
radii, periods, rotation, tilt, Bond albedo, surface pressure, atmospheric
composition by volume) and JPL Solar System Dynamics mean satellite orbits.
Orbit orientation at J2000: JPL approximate planetary elements (Standish), the
ELP-2000/82 mean Moon and JPL mean satellite elements turned from their Laplace
planes to the ecliptic.
Temperature ranges, ice, cloud and core figures are rounded textbook values
(see the README).  Units in the table below are the atlas's own (AU, km,
days, hours, K, millibars); the writer converts to the file's units.
"""

import argparse
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Galaxy",
                                            "MilkyWay", "Custom Systems", "Sol.svs"))

AU_M = 149597870700.0
KM_PER_AU = AU_M / 1000.0
SEPARATOR = "-" * 31

STAR = {"name": "Sol", "class": ("G", 2, "V"), "mass": 1.0, "radius": 1.0,
        "ecliptic": (0.0, 0.0, 0.0), "surftemp": 5772, "age": 4600.0, "luminosity": 1.0}

# Gas numbers of the atlas's gas table.
H2, HE, N2, O2, NE, AR, KR, H2O, CO2, CH4, SO2 = 1, 2, 7, 8, 10, 18, 36, 901, 902, 904, 907

# Dry air (water vapour varies and is left out), percent by volume.
EARTH_AIR = ((N2, 78.084), (O2, 20.946), (AR, 0.934), (CO2, 0.0417), (NE, 0.001818),
             (HE, 0.000524), (CH4, 0.00019), (KR, 0.000114))
VENUS_AIR = ((CO2, 96.5), (N2, 3.5), (SO2, 0.015), (AR, 0.007), (H2O, 0.002), (HE, 0.0012),
             (NE, 0.0007))
MARS_AIR = ((CO2, 95.1), (N2, 2.59), (AR, 1.94), (O2, 0.153), (H2O, 0.021))
TITAN_AIR = ((N2, 94.9), (CH4, 5.0), (H2, 0.1))

GAS_WEIGHT = {H2: 1.0079, HE: 4.0026, N2: 28.0134, O2: 32.0, NE: 20.1797, AR: 39.948, KR: 83.8,
              H2O: 18.0, CO2: 44.0, CH4: 16.0, SO2: 64.0638}


def body(name, kind, sma, ecc, tilt, mass_kg, radius_km, albedo, period_d, day_h,
         pressure_mb=0.0, air=(), temps=None, hydro=0.0, ice=0.0, cloud=0.0,
         core_km=None, gas=0.0):
    """One body.  sma: AU for planets, km around the planet for moons.
    temps: (mean, low, high, min, max) K, for bodies with a surface."""
    return {"name": name, "type": kind, "sma": sma, "ecc": ecc, "axtilt": tilt,
            "mass": mass_kg, "radius": radius_km, "albedo": albedo, "period": period_d,
            "day": day_h, "pressure": pressure_mb, "air": air, "temps": temps,
            "hydro": hydro, "ice": ice, "cloud": cloud,
            "core": radius_km if core_km is None else core_km, "gas": gas}


def moon(name, kind, sma_km, ecc, mass_kg, radius_km, albedo, period_d, temps,
         ice=0.0, tilt=0.0, **extra):
    """A moon in synchronous rotation (day = orbital period)."""
    return body(name, kind, sma_km / KM_PER_AU, ecc, tilt, mass_kg, radius_km, albedo,
                period_d, period_d * 24.0, temps=temps, ice=ice, **extra)


# Giants have no surface: the reader gives them full hydro and cloud cover
# and no surface temperature, so the table says the same.
def giant(name, kind, sma, ecc, tilt, mass_kg, radius_km, albedo, period_d, day_h, core_km, gas):
    return body(name, kind, sma, ecc, tilt, mass_kg, radius_km, albedo, period_d, day_h,
                hydro=1.0, cloud=1.0, core_km=core_km, gas=gas)


PLANETS = (
    (body("Mercury", "rock", 0.387098, 0.205630, 0.034, 3.3011e23, 2439.7, 0.088, 87.969,
          1407.6, temps=(440, 100, 700, 80, 725)), []),
    (body("Venus", "venusian", 0.723332, 0.006772, 177.36, 4.8675e24, 6051.8, 0.76, 224.701,
          5832.5, pressure_mb=92000.0, air=VENUS_AIR, temps=(737, 735, 740, 653, 750),
          cloud=1.0), []),
    (body("Earth", "terrestrial", 1.000001, 0.0167086, 23.44, 5.97237e24, 6378.137, 0.306,
          365.256, 23.9345, pressure_mb=1013.25, air=EARTH_AIR, temps=(288, 283, 293, 184, 330),
          hydro=0.71, ice=0.1, cloud=0.67),
     [moon("Moon", "rock", 384399.0, 0.0549, 7.342e22, 1737.4, 0.11, 27.321661,
           (250, 100, 390, 40, 397), tilt=6.68)]),
    (body("Mars", "martian", 1.523679, 0.0934, 25.19, 6.4171e23, 3396.2, 0.25, 686.980,
          24.6229, pressure_mb=6.36, air=MARS_AIR, temps=(210, 185, 245, 143, 293),
          ice=0.02, cloud=0.05),
     [moon("Phobos", "rock", 9376.0, 0.0151, 1.0659e16, 11.27, 0.07, 0.31891,
           (233, 170, 270, 150, 300)),
      moon("Deimos", "rock", 23463.2, 0.00033, 1.4762e15, 6.2, 0.07, 1.26244,
           (233, 170, 270, 150, 300))]),
    (giant("Jupiter", "sudarskyi", 5.2044, 0.0489, 3.13, 1.89819e27, 71492.0, 0.343, 4332.589,
           9.925, core_km=15000.0, gas=0.9),
     [moon("Io", "rock", 421700.0, 0.0041, 8.931938e22, 1821.6, 0.63, 1.769138,
           (110, 90, 130, 85, 140)),
      moon("Europa", "ice", 671034.0, 0.009, 4.799844e22, 1560.8, 0.68, 3.551181,
           (102, 86, 125, 50, 132), ice=1.0),
      moon("Ganymede", "ice", 1070412.0, 0.0013, 1.4819e23, 2634.1, 0.44, 7.154553,
           (110, 90, 152, 70, 152), ice=0.65),
      moon("Callisto", "ice", 1882709.0, 0.0074, 1.075938e23, 2410.3, 0.22, 16.689018,
           (134, 80, 165, 80, 165), ice=0.4)]),
    (giant("Saturn", "sudarskyi", 9.5826, 0.0565, 26.73, 5.6834e26, 60268.0, 0.342, 10759.22,
           10.656, core_km=18000.0, gas=0.8),
     [moon("Mimas", "ice", 185539.0, 0.0196, 3.7493e19, 198.2, 0.6, 0.942422,
           (64, 60, 92, 55, 95), ice=1.0),
      moon("Enceladus", "ice", 237948.0, 0.0047, 1.08022e20, 252.1, 0.81, 1.370218,
           (75, 33, 80, 32, 145), ice=1.0),
      moon("Tethys", "ice", 294619.0, 0.0001, 6.17449e20, 531.1, 0.8, 1.887802,
           (86, 64, 94, 60, 96), ice=1.0),
      moon("Dione", "ice", 377396.0, 0.0022, 1.095452e21, 561.4, 0.7, 2.736915,
           (87, 70, 100, 65, 102), ice=1.0),
      moon("Rhea", "ice", 527108.0, 0.001, 2.306518e21, 763.8, 0.7, 4.5175,
           (76, 53, 99, 53, 99), ice=1.0),
      moon("Titan", "ice", 1221870.0, 0.0288, 1.3452e23, 2574.73, 0.27, 15.945421,
           (94, 92, 94, 90, 95), pressure_mb=1467.0, air=TITAN_AIR, ice=0.8, cloud=1.0),
      moon("Iapetus", "ice", 3560820.0, 0.0286, 1.805635e21, 734.5, 0.2, 79.3215,
           (110, 90, 130, 90, 130), ice=0.5)]),
    (giant("Uranus", "icegiant", 19.19126, 0.04717, 97.77, 8.6810e25, 25559.0, 0.300, 30685.4,
           17.24, core_km=19000.0, gas=0.1),
     [moon("Miranda", "ice", 129390.0, 0.0013, 6.4e19, 235.8, 0.32, 1.413479,
           (60, 59, 86, 55, 86), ice=1.0),
      moon("Ariel", "ice", 190900.0, 0.0012, 1.251e21, 578.9, 0.39, 2.520379,
           (60, 58, 84, 55, 84), ice=1.0),
      moon("Umbriel", "ice", 266000.0, 0.0039, 1.275e21, 584.7, 0.21, 4.144177,
           (75, 61, 85, 60, 85), ice=0.6),
      moon("Titania", "ice", 436300.0, 0.0011, 3.400e21, 788.9, 0.27, 8.705872,
           (70, 60, 89, 60, 89), ice=0.9),
      moon("Oberon", "ice", 583519.0, 0.0014, 3.076e21, 761.4, 0.23, 13.463239,
           (75, 70, 80, 70, 80), ice=0.8)]),
    (giant("Neptune", "icegiant", 30.07, 0.008678, 28.32, 1.02413e26, 24764.0, 0.290, 60189.0,
           16.11, core_km=18500.0, gas=0.12),
     [moon("Triton", "ice", 354759.0, 0.000016, 2.139e22, 1353.4, 0.76, 5.876854,
           (38, 37, 39, 36, 40), ice=1.0)]),
)


# Orbit orientation on the ecliptic of J2000, centred on the parent, in degrees:
# (inclination, longitude of the ascending node, longitude of perihelion, mean longitude).
# Planets: JPL "Keplerian elements for approximate positions of the major planets",
# Table 1 (E. M. Standish, 1800-2050 AD), at J2000; Earth is the Earth-Moon barycentre.
# Moon: the ELP-2000/82 mean elements at J2000 (Meeus, Astronomical Algorithms, ch. 47);
# the inclination is the mean value.
ECLIPTIC_ORBITS = {
    "Mercury": (7.00497902, 48.33076593, 77.45779628, 252.25032350),
    "Venus": (3.39467605, 76.67984255, 131.60246718, 181.97909950),
    "Earth": (-0.00001531, 0.0, 102.93768193, 100.46457166),
    "Mars": (1.84969142, 49.55953891, -23.94362959, -4.55343205),
    "Jupiter": (1.30439695, 100.47390909, 14.72847983, 34.39644051),
    "Saturn": (2.48599187, 113.66242448, 92.59887831, 49.95424423),
    "Uranus": (0.77263783, 74.01692503, 170.95427630, 313.23810451),
    "Neptune": (1.77004347, 131.78422574, 44.96476227, -55.12002969),
    "Moon": (5.1453964, 125.0445479, 83.3532465, 218.3164477),
}

# The other moons: JPL Solar System Dynamics planetary satellite mean elements
# (ssd.jpl.nasa.gov/?sat_elem), referred to each moon's local Laplace plane:
# (inclination, node, argument of periapsis, mean anomaly, Laplace pole RA, Dec, frame).
# The node counts from the ascending node of that plane on the ICRF equator.  Frame:
# epoch (JD, TT) and the rates that carry the elements to J2000: mean-longitude rate
# (deg/day), periapsis and node rates (deg/yr; JPL's n, 360/Pw, -360/Pnode).  The Saturn,
# Uranus and Neptune rows and epochs come from a copy of the table (see the README).
J2000 = 2451545.0
MARS_1950 = (2433282.5, {"Phobos": (1128.8447569, 360 / 1.1316, -360 / 2.2617),
                         "Deimos": (285.1618790, 360 / 27.3703, -360 / 54.5367)})
JUPITER_1997 = (2450464.5, {"Io": (203.4889583, 360 / 1.625, -360 / 7.420),
                            "Europa": (101.3747242, 360 / 1.394, -360 / 30.184),
                            "Ganymede": (50.3176072, 360 / 63.549, -360 / 132.654),
                            "Callisto": (21.5710728, 360 / 205.75, -360 / 338.82)})
# Uranus: rates are GUST86's (Laskar & Jacobson 1987) mean motions and secular
# frequencies.  Its moons circle the pole opposite the IAU north pole, so their frame is
# the IAU-pole frame turned half a turn about its node ("flip").
URANUS_1980 = (2444239.5, {name: (math.degrees(fqn), fqe - fqi, fqi) for name, fqn, fqe, fqi in (
    ("Miranda", 4.44519055, 20.082, -20.309), ("Ariel", 2.492952519, 6.217, -6.288),
    ("Umbriel", 1.516148111, 2.865, -2.836), ("Titania", 0.721718509, 2.078, -1.843),
    ("Oberon", 0.466692120, 0.386, -0.259))})
AT_J2000 = (J2000, {})
SATURN_POLE = (40.589, 83.537)       # IAU 2015 (Archinal et al. 2018)
URANUS_POLE = (257.311, -15.175, "flip")
TRITON_POLE = (299.36, 43.46)        # centre of the IAU precession of Neptune's pole
LAPLACE_ORBITS = {
    "Phobos": (1.075, 207.784, 150.057, 91.059, (317.671, 52.893), MARS_1950),
    "Deimos": (1.788, 24.525, 260.729, 325.329, (316.657, 53.529), MARS_1950),
    "Io": (0.036, 43.977, 84.129, 342.021, (268.057, 64.495), JUPITER_1997),
    "Europa": (0.466, 219.106, 88.970, 171.016, (268.084, 64.506), JUPITER_1997),
    "Ganymede": (0.177, 63.552, 192.417, 317.540, (268.168, 64.543), JUPITER_1997),
    "Callisto": (0.192, 298.848, 52.643, 181.408, (268.639, 64.749), JUPITER_1997),
    "Mimas": (1.574, 173.027, 332.499, 14.848, SATURN_POLE, AT_J2000),
    "Enceladus": (0.003, 342.507, 0.076, 199.686, SATURN_POLE, AT_J2000),
    "Tethys": (1.091, 259.842, 45.202, 243.367, SATURN_POLE, AT_J2000),
    "Dione": (0.028, 290.415, 284.315, 322.232, SATURN_POLE, AT_J2000),
    "Rhea": (0.333, 351.042, 241.619, 179.781, SATURN_POLE, AT_J2000),
    # Titan's Laplace pole: Jacobson (1998), A&AS 128, 7, table 9.
    "Titan": (0.306, 28.060, 180.532, 163.310, (40.581056, 83.225166), AT_J2000),
    "Iapetus": (8.298, 81.105, 271.606, 201.789, (284.715, 78.749), AT_J2000),
    "Miranda": (4.338, 326.438, 68.312, 311.330, URANUS_POLE, URANUS_1980),
    "Ariel": (0.041, 22.394, 115.349, 39.481, URANUS_POLE, URANUS_1980),
    "Umbriel": (0.128, 33.485, 84.709, 12.469, URANUS_POLE, URANUS_1980),
    "Titania": (0.079, 99.771, 284.400, 24.614, URANUS_POLE, URANUS_1980),
    "Oberon": (0.068, 279.771, 104.400, 283.088, URANUS_POLE, URANUS_1980),
    "Triton": (156.865, 177.608, 66.142, 352.257, TRITON_POLE, AT_J2000),
}
OBLIQUITY_J2000 = 23.4392911


def g(value):
    """General notation, six significant digits (as C's %g)."""
    return "%g" % value


def gas_list(pressure_mb, air):
    """(gas number, percent, partial pressure in millibars), largest first."""
    total = sum(p for _, p in air)
    rows = [(num, pct * 100.0 / total, pressure_mb * pct / total) for num, pct in air]
    rows.sort(key=lambda r: -r[2])
    return rows


def gas_constant(rows):
    mu = 0.001 * sum(pct * 0.01 * GAS_WEIGHT[num] for num, pct, _ in rows)
    return 8.31441 / mu


ORBIT_KEYS = ("Inclination", "LongAscNode", "LongPerihelion", "MeanLongitude")


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def laplace_to_ecliptic(i, node, w, pole):
    """Inclination, node and argument of periapsis on a Laplace plane -> the same on the
    ecliptic of J2000, in degrees.  pole: (RA, Dec[, "flip"]) of the plane in ICRF."""
    ra, dec = math.radians(pole[0]), math.radians(pole[1])
    z = (math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec))
    x = (-math.sin(ra), math.cos(ra), 0.0)          # the plane's ascending node
    y = _cross(z, x)
    if "flip" in pole[2:]:
        y, z = tuple(-c for c in y), tuple(-c for c in z)
    eps = math.radians(OBLIQUITY_J2000)

    def ecliptic(v):
        e = [v[0] * x[k] + v[1] * y[k] + v[2] * z[k] for k in range(3)]
        return (e[0], math.cos(eps) * e[1] + math.sin(eps) * e[2],
                -math.sin(eps) * e[1] + math.cos(eps) * e[2])

    i, node, w = math.radians(i), math.radians(node), math.radians(w)
    h = (math.sin(i) * math.sin(node), -math.sin(i) * math.cos(node), math.cos(i))
    n = (math.cos(node), math.sin(node), 0.0)
    m = _cross(h, n)
    h = ecliptic(h)                                   # orbit normal
    p = ecliptic([math.cos(w) * n[k] + math.sin(w) * m[k] for k in range(3)])  # periapsis
    node = math.atan2(h[0], -h[1])
    n = (math.cos(node), math.sin(node), 0.0)
    w = math.atan2(_dot(p, _cross(h, n)), _dot(p, n))
    return math.degrees(math.acos(max(-1.0, min(1.0, h[2])))), math.degrees(node), math.degrees(w)


def orbit_degrees(name):
    """(inclination, node, longitude of periapsis, mean longitude) on the ecliptic of
    J2000 at J2000, in degrees, not reduced."""
    if name in ECLIPTIC_ORBITS:
        i, node, peri, mean_long = ECLIPTIC_ORBITS[name]
        if i < 0.0:    # the same plane, seen from the other node
            i, node = -i, node + 180.0
        return i, node, peri, mean_long
    i, node, w, m, pole, (epoch, rates) = LAPLACE_ORBITS[name]
    if epoch != J2000:
        n, w_rate, node_rate = rates[name]
        days = J2000 - epoch
        mean_long = node + w + m + n * days
        w += w_rate * days / 365.25
        node += node_rate * days / 365.25
        m = mean_long - node - w
    i, node, w = laplace_to_ecliptic(i, node, w, pole)
    return i, node, node + w, node + w + m


def orbit_radians(name):
    """The four orbit angles as written: radians, the longitudes reduced to 0..2 pi."""
    i, node, peri, mean_long = orbit_degrees(name)
    return (math.radians(i),) + tuple(math.radians(a % 360.0) for a in (node, peri, mean_long))


def body_lines(i, j, b, moons):
    out = ["", "planetnumber %d %d" % (i, j)]
    if j == 0:
        out.append("moons %d" % moons)
    out += ["name " + b["name"], "type " + b["type"], "sma " + g(b["sma"] * AU_M),
            "ecc " + g(b["ecc"]), "axtilt " + g(b["axtilt"]), "mass " + g(b["mass"])]
    if b["pressure"] > 0.1 and b["air"]:
        rows = gas_list(b["pressure"], b["air"])
        out.append("surfpressure " + g(b["pressure"] * 100.0))
        out.append("atmcompounds %d " % len(rows)
                   + "".join("%d %s %s " % (num, g(pct), g(pp)) for num, pct, pp in rows))
        out.append("molconst " + g(gas_constant(rows)))
    if b["temps"] is not None:
        mean, low, high, tmin, tmax = b["temps"]
        out.append("medsurftemp " + g(mean))
        out.append("temprange %s %s %s %s" % (g(low), g(high), g(tmin), g(tmax)))
    out += ["radius " + g(b["radius"] * 1000.0), "albedo " + g(b["albedo"]),
            "period " + g(b["period"]), "day " + g(b["day"]),
            "hydrofraction " + g(b["hydro"]), "icefraction " + g(b["ice"]),
            "cloudfraction " + g(b["cloud"]), "coreradius " + g(b["core"] * 1000.0),
            "gasfraction " + g(b["gas"])]
    out += [key + " " + g(a) for key, a in zip(ORBIT_KEYS, orbit_radians(b["name"]))]
    return out


def sol_text():
    s = STAR
    head = ["", "name " + s["name"], "alias " + s["name"], "path xxxxxx", "cntname " + s["name"],
            "class %s %d %s" % s["class"], "mass " + g(s["mass"]), "radius " + g(s["radius"]),
            "ecliptic %s %s %s" % tuple(g(a) for a in s["ecliptic"]),
            "surftemp " + g(s["surftemp"]), "age " + g(s["age"]),
            "luminosity " + g(s["luminosity"]), "planets %d" % len(PLANETS), ""]
    text = "\n".join(head) + "\n" + SEPARATOR + "\n"
    for i, (planet, moons) in enumerate(PLANETS, 1):
        for j, b in enumerate([planet] + moons):
            text += "\n".join(body_lines(i, j, b, len(moons))) + "\n\n\n" + SEPARATOR + "\n"
    return text


def check_table():
    """Plain consistency of the table; raises ValueError."""
    for planet, moons in PLANETS:
        for b in [planet] + moons:
            for key in ("sma", "mass", "radius", "period", "day", "core"):
                if not b[key] > 0:
                    raise ValueError("%s: %s must be positive" % (b["name"], key))
            for key in ("ecc", "albedo", "hydro", "ice", "cloud", "gas"):
                if not 0.0 <= b[key] <= 1.0:
                    raise ValueError("%s: %s must lie in 0..1" % (b["name"], key))
            if b["name"] not in ECLIPTIC_ORBITS and b["name"] not in LAPLACE_ORBITS:
                raise ValueError("%s: no orbit orientation" % b["name"])
            if b["air"] and abs(sum(p for _, p in b["air"]) - 100.0) > 0.5:
                raise ValueError("%s: gas shares do not add up to 100 %%" % b["name"])
            if b["temps"] is not None:
                mean, low, high, tmin, tmax = b["temps"]
                if not tmin <= low <= mean <= high <= tmax:
                    raise ValueError("%s: temperatures out of order" % b["name"])


def write(path):
    check_table()
    folder = os.path.dirname(path)
    if folder:
        os.makedirs(folder, exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="\n") as f:
        f.write(sol_text())
    os.replace(tmp, path)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Write the Solar System as Sol.svs.")
    parser.add_argument("--out", default=DEFAULT_OUT, help="output file (default: %(default)s)")
    args = parser.parse_args(argv)
    try:
        write(args.out)
    except (OSError, ValueError) as e:
        sys.stderr.write("make_sol: %s\n" % e)
        return 1
    print("wrote %s" % args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
