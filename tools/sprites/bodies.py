"""Pictures of the planet types and of the stars."""

import math

import numpy as np

from render import fbm, finish, grid, mix, palette, rng_points, smoothstep, sphere


def craters(p, seed, count, rmin, rmax):
    """Brightness factor (n,) of a cratered surface: dark floors, bright rims."""
    centres, sizes = rng_points(count, seed)
    f = np.ones(p.shape[0])
    for c, s in zip(centres, sizes):
        r = rmin + (rmax - rmin) * s ** 2
        d = np.arccos(np.clip(p @ c, -1, 1)) / r
        floor = np.clip(1 - d, 0, 1)
        rim = np.exp(-((d - 1.0) / 0.18) ** 2)
        f = f * (1 - 0.35 * smoothstep(0.0, 0.5, floor)) * (1 + 0.30 * rim)
    return f


# --- rocky bodies -----------------------------------------------------------------

def surf_rock(p, lat):
    n = fbm(p, 11, octaves=5, scale=2.5)
    base = palette(n, [(0.2, (70, 68, 66)), (0.5, (128, 124, 118)), (0.8, (170, 165, 158))])
    return base * craters(p, 12, 45, 0.06, 0.32)[:, None]


def surf_ice(p, lat):
    n = fbm(p, 21, octaves=5, scale=2.0)
    base = palette(n, [(0.25, (170, 200, 225)), (0.5, (220, 235, 248)), (0.75, (250, 252, 255))])
    # Long bluish cracks where a second noise crosses one half.
    c = fbm(p, 22, octaves=3, scale=3.0)
    crack = np.exp(-((c - 0.5) / 0.018) ** 2)
    base = mix(base, np.array([90, 140, 190]) / 255.0, 0.7 * crack)
    return base * craters(p, 23, 12, 0.05, 0.16)[:, None] ** 0.5


def surf_terrestrial(p, lat):
    h = fbm(p, 31, octaves=6, scale=1.6)
    land = h > 0.52
    ocean = palette(h, [(0.2, (12, 40, 110)), (0.52, (35, 95, 170))])
    ground = palette(h, [(0.52, (70, 120, 50)), (0.62, (110, 130, 60)), (0.72, (150, 125, 85)),
                         (0.85, (200, 190, 175))])
    col = np.where(land[:, None], ground, ocean)
    polar = smoothstep(1.05, 1.2, np.abs(lat) + 0.25 * fbm(p, 32, 3, 4.0))
    col = mix(col, np.array([0.95, 0.97, 1.0]), polar)
    cloud = smoothstep(0.5, 0.72, fbm(p * np.array([1.0, 2.2, 1.0]), 33, octaves=5, scale=2.2))
    return mix(col, np.array([1.0, 1.0, 1.0]), 0.85 * cloud)


def surf_oceanic(p, lat):
    h = fbm(p, 41, octaves=5, scale=2.0)
    col = palette(h, [(0.2, (5, 25, 85)), (0.5, (15, 55, 140)), (0.8, (40, 95, 175))])
    cloud = smoothstep(0.56, 0.75, fbm(p * np.array([1.0, 2.5, 1.0]), 42, octaves=5, scale=2.4))
    return mix(col, np.array([0.92, 0.95, 1.0]), 0.8 * cloud)


def surf_martian(p, lat):
    h = fbm(p, 51, octaves=5, scale=2.0)
    col = palette(h, [(0.25, (95, 40, 22)), (0.45, (160, 72, 38)), (0.6, (200, 105, 60)),
                      (0.8, (220, 150, 100))])
    col = col * craters(p, 52, 20, 0.04, 0.14)[:, None] ** 0.6
    polar = smoothstep(1.25, 1.35, np.abs(lat) + 0.15 * fbm(p, 53, 3, 5.0))
    return mix(col, np.array([0.97, 0.95, 0.93]), polar)


def surf_venusian(p, lat):
    swirl = fbm(p * np.array([1.0, 3.0, 1.0]), 61, octaves=4, scale=1.8)
    t = 0.5 + 0.5 * np.sin(lat * 5.0 + swirl * 5.0)
    return palette(0.6 * t + 0.4 * swirl, [(0.2, (190, 160, 90)), (0.5, (225, 200, 130)),
                                          (0.8, (245, 230, 175))])


def surf_oneface(p, lat):
    h = fbm(p, 71, octaves=5, scale=2.2)
    return palette(h, [(0.2, (110, 70, 45)), (0.5, (170, 120, 80)), (0.8, (215, 180, 140))]) * \
        craters(p, 72, 25, 0.05, 0.2)[:, None] ** 0.7


# --- giants -------------------------------------------------------------------------

def banded(seed, stops, bands=7.0, turbulence=0.6, storm=None):
    def surface(p, lat):
        t = fbm(p * np.array([1.0, 0.3, 1.0]), seed, octaves=4, scale=2.0)
        fine = fbm(p * np.array([1.0, 6.0, 1.0]), seed + 1, octaves=3, scale=3.0)
        y = np.sin(lat)
        b = 0.5 + 0.5 * np.sin(y * bands * math.pi + turbulence * 3.0 * (t - 0.5))
        col = palette(0.7 * b + 0.3 * fine, stops)
        if storm is not None:
            cx, cy, rx, ry, colour = storm
            lon = np.arctan2(p[:, 0], p[:, 2])
            d = ((lon - cx) / rx) ** 2 + ((lat - cy) / ry) ** 2
            col = mix(col, np.array(colour) / 255.0, 0.8 * np.exp(-d * 2.0))
        return col
    return surface


# Sudarsky classes: I ammonia clouds (tan, banded), II water clouds (bright
# white), III cloudless (deep azure), IV alkali metals (dark brown-grey),
# V silicate clouds (hot, glowing red under grey-orange decks).
surf_sudarsky1 = banded(81, [(0.0, (150, 110, 75)), (0.45, (205, 170, 125)),
                             (0.7, (235, 215, 180)), (1.0, (245, 235, 215))],
                        storm=(0.5, -0.35, 0.35, 0.15, (200, 100, 70)))
surf_sudarsky2 = banded(91, [(0.0, (190, 195, 205)), (0.5, (230, 232, 238)),
                             (1.0, (252, 252, 255))], bands=6.0, turbulence=0.4)
surf_sudarsky3 = banded(101, [(0.0, (30, 70, 150)), (0.5, (60, 110, 195)),
                              (1.0, (110, 160, 225))], bands=5.0, turbulence=0.3)
surf_sudarsky4 = banded(111, [(0.0, (50, 40, 40)), (0.5, (95, 80, 70)),
                              (1.0, (140, 120, 100))], bands=8.0, turbulence=0.5)
surf_sudarsky5 = banded(121, [(0.0, (120, 30, 15)), (0.4, (190, 80, 35)),
                              (0.75, (225, 150, 90)), (1.0, (240, 200, 160))],
                        bands=6.0, turbulence=0.9)
surf_icegiant = banded(131, [(0.0, (100, 195, 210)), (0.5, (140, 220, 230)),
                             (1.0, (185, 240, 245))], bands=4.0, turbulence=0.25)
surf_gasdwarf = banded(141, [(0.0, (185, 190, 175)), (0.5, (215, 215, 200)),
                             (1.0, (235, 235, 225))], bands=4.0, turbulence=0.3)


def asteroids(size):
    """A few small lumpy rocks on one square."""
    rocks = [(0.30, 0.34, 0.19), (0.70, 0.28, 0.13), (0.62, 0.68, 0.17),
             (0.25, 0.74, 0.10), (0.86, 0.60, 0.07), (0.45, 0.52, 0.06), (0.12, 0.50, 0.06)]
    X, Y = grid(size, size)
    rgb = np.zeros(X.shape + (3,))
    cov = np.zeros(X.shape)
    L = np.array([-0.55, -0.5, 0.67])
    L = L / np.linalg.norm(L)
    for i, (cx, cy, r) in enumerate(rocks):
        dx = (X / size - cx) / r
        dy = (Y / size - cy) / r
        ang = np.arctan2(dy, dx)
        # Lumpy outline: radius varies with the angle.
        lump = 1.0 + 0.18 * np.sin(3 * ang + i) + 0.10 * np.sin(5 * ang + 2 * i)
        d2 = (dx * dx + dy * dy) / lump ** 2
        inside = d2 < 1.0
        nz = np.sqrt(np.clip(1 - d2, 0, 1))
        n = np.stack([dx / lump, dy / lump, nz], axis=-1)
        n = n / np.linalg.norm(n, axis=-1, keepdims=True)
        lit = np.clip(n[..., 0] * L[0] + n[..., 1] * L[1] + n[..., 2] * L[2], 0, 1)
        tex = fbm(n * 1.5 + i, 150 + i, octaves=3, scale=3.0)
        shade = (0.08 + 0.92 * lit) * (0.55 + 0.6 * tex)
        colour = np.array([0.62, 0.57, 0.50]) if i % 2 else np.array([0.55, 0.53, 0.52])
        m = inside & (cov == 0)
        rgb[m] = colour * shade[m][:, None]
        cov[m] = 1.0
    return finish(rgb, cov)


def oneface(size):
    """Tidally locked body: light from the side, a sharp day/night line down the middle."""
    return sphere(size, surf_oneface, light=(1.0, 0.0, 0.08), ambient=0.07, yaw=0.0, pitch=0.0,
                  hardness=0.3)


BODY_PAINTERS = {
    "ice":         lambda s: sphere(s, surf_ice, specular=0.25, yaw=0.4),
    "rock":        lambda s: sphere(s, surf_rock, yaw=1.1),
    "terrestrial": lambda s: sphere(s, surf_terrestrial, specular=0.3, yaw=0.2,
                                    atmosphere=(0.25, 0.45, 0.9)),
    "asteroids":   asteroids,
    "oneface":     oneface,
    "martian":     lambda s: sphere(s, surf_martian, yaw=2.0, atmosphere=(0.35, 0.2, 0.12)),
    "oceanic":     lambda s: sphere(s, surf_oceanic, specular=0.45, yaw=0.7,
                                    atmosphere=(0.2, 0.4, 0.9)),
    "venusian":    lambda s: sphere(s, surf_venusian, yaw=0.3, atmosphere=(0.45, 0.4, 0.2)),
    "icegiant":    lambda s: sphere(s, surf_icegiant, pitch=0.2, atmosphere=(0.2, 0.5, 0.6)),
    "sudarskyi":   lambda s: sphere(s, surf_sudarsky1, pitch=0.15, atmosphere=(0.3, 0.25, 0.2)),
    "sudarskyii":  lambda s: sphere(s, surf_sudarsky2, pitch=0.15, atmosphere=(0.3, 0.35, 0.45)),
    "sudarskyiii": lambda s: sphere(s, surf_sudarsky3, pitch=0.15, specular=0.2,
                                    atmosphere=(0.2, 0.35, 0.7)),
    "sudarskyiv":  lambda s: sphere(s, surf_sudarsky4, pitch=0.15, atmosphere=(0.35, 0.2, 0.15)),
    "sudarskyv":   lambda s: sphere(s, surf_sudarsky5, pitch=0.15, ambient=0.22,
                                    atmosphere=(0.6, 0.25, 0.1)),
    "gasdwarf":    lambda s: sphere(s, surf_gasdwarf, pitch=0.2, atmosphere=(0.3, 0.35, 0.4)),
}


# --- stars --------------------------------------------------------------------------

STAR_COLOURS = {
    "O": (150, 175, 255),
    "B": (175, 200, 255),
    "A": (215, 228, 255),
    "F": (250, 248, 240),
    "G": (255, 236, 170),
    "K": (255, 190, 115),
    "M": (255, 125, 80),
}


def star_limb(w, h, colour):
    """Right-hand edge of a big star: a bright half-ellipse against the left
    border with a glow fading outwards (to black, since the sheet has no alpha)."""
    X, Y = grid(w, h)
    u = X / w                        # 0 at the left border, 1 at the right
    v = (Y - h / 2.0) / (h / 2.0)    # -1 .. 1
    edge = 0.80 * np.sqrt(np.clip(1 - v * v, 0, 1))   # disc boundary
    inside = u < edge
    c = np.array(colour) / 255.0
    core = 1.0 - 0.35 * np.clip(u / np.maximum(edge, 1e-3), 0, 1) ** 2   # limb darkening
    disc = mix(c, np.ones(3), 0.55 * (1 - u / np.maximum(edge, 1e-3))[..., None]) * core[..., None]
    dist = np.where(inside, 0.0, u - edge)
    glow = np.exp(-dist / 0.08)
    rgb = np.where(inside[..., None], disc, c * glow[..., None] * 0.8)
    cov = (inside | (glow > 0.3)).astype(np.float64)
    return finish(rgb, cov)


def star_disc(size, colour, core_frac=0.22, glow_frac=0.48, rays=True):
    """Round glowing star: white-hot centre, coloured rim, soft glow, thin rays."""
    X, Y = grid(size, size)
    c = size / 2.0
    dx = (X - c) / size
    dy = (Y - c) / size
    d = np.sqrt(dx * dx + dy * dy)
    col = np.array(colour) / 255.0
    core = d < core_frac
    t = np.clip(d / core_frac, 0, 1)
    disc = mix(np.ones(3), col, (t ** 2)[..., None])
    glow = np.exp(-(d - core_frac) / 0.07)
    ray = 0.0
    if rays:
        ray = (np.exp(-(np.abs(dx) / 0.012) ** 2) + np.exp(-(np.abs(dy) / 0.012) ** 2)) * \
            np.exp(-d / 0.22)
    halo = np.clip(glow + ray, 0, 1.3)
    rgb = np.where(core[..., None], disc, mix(col * 0.0, col, np.clip(halo, 0, 1)[..., None]) +
                   np.clip(halo - 1, 0, 1)[..., None])
    cov = (core | ((halo > 0.25) & (d < glow_frac))).astype(np.float64)
    return finish(rgb, cov)


def black_hole(size):
    """Dark centre inside a bright orange accretion ring, seen a little tilted."""
    X, Y = grid(size, size)
    c = size / 2.0
    dx = (X - c) / size
    dy = (Y - c) / size
    # Tilted ring: squash vertically.
    rr = np.sqrt(dx * dx + (dy / 0.55) ** 2)
    d = np.sqrt(dx * dx + dy * dy)
    ring = np.exp(-((rr - 0.33) / 0.06) ** 2)
    photon = np.exp(-((d - 0.17) / 0.025) ** 2)
    hole = d < 0.16
    front = (dy > 0) | (rr > 0.26)
    lum = np.clip(ring * front + 0.8 * photon, 0, 1)
    heat = palette(lum, [(0.0, (40, 10, 0)), (0.4, (200, 70, 10)), (0.8, (255, 190, 90)),
                         (1.0, (255, 245, 220))])
    rgb = np.where(hole[..., None], np.array([0.02, 0.02, 0.03]), heat)
    cov = (hole | (lum > 0.12)).astype(np.float64)
    return finish(rgb, cov)


def unknown_body(size):
    """Grey sphere with a question-like dark band: a body of no known type."""
    def surface(p, lat):
        n = fbm(p, 161, octaves=3, scale=2.0)
        return palette(n, [(0.2, (90, 95, 105)), (0.8, (150, 155, 165))])
    return sphere(size, surface, radius_frac=0.40)


def selection(size):
    """Four gold corner brackets around an empty square, to mark a chosen body."""
    X, Y = grid(size, size)
    u = X / size
    v = Y / size
    t = 0.06
    arm = 0.28
    lo, hi = 0.08, 0.92
    near_l = (u >= lo) & (u < lo + t)
    near_r = (u <= hi) & (u > hi - t)
    near_t = (v >= lo) & (v < lo + t)
    near_b = (v <= hi) & (v > hi - t)
    in_l = u < lo + arm
    in_r = u > hi - arm
    in_t = v < lo + arm
    in_b = v > hi - arm
    inx = (u >= lo) & (u <= hi)
    iny = (v >= lo) & (v <= hi)
    m = ((near_l | near_r) & (in_t | in_b) & iny) | ((near_t | near_b) & (in_l | in_r) & inx)
    rgb = np.zeros(X.shape + (3,))
    rgb[m] = np.array([207, 183, 52]) / 255.0
    return finish(rgb, m.astype(np.float64))
