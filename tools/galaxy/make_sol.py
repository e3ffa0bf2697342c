#!/usr/bin/env python3
"""Writes the real Solar System as a saved-system file ("Custom Systems/Sol.svs")
so that the catalogue star "Sol" carries its real planets and main moons.

Usage: python3 tools/galaxy/make_sol.py [--out FILE]

Sources: NASA/GSFC planetary and satellite fact sheets (orbits, masses,
radii, periods, rotation, tilt, Bond albedo, surface pressure, atmospheric
composition by volume) and JPL Solar System Dynamics mean satellite orbits.
Temperature ranges, ice, cloud and core figures are rounded textbook values
(see the README).  Units in the table below are the atlas's own (AU, km,
days, hours, K, millibars); the writer converts to the file's units.
"""

import argparse
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
