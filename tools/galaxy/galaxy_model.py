"""Top-down model of the Milky Way on the atlas's cube grid, and the two
pictures made from it: the grey density picture that drives star generation
(GrayScale.jpg) and the colour picture of the map view (MilkyWay.jpg).

One pixel is one column of 10-pc cubes: the cube (x, y) sits at column
W/2 + x and row H/2 - y.  The galactic centre is the picture centre and the
Sun lies 798 pixels below it.  Seen from the north galactic pole with x to
the right, galactic longitude 90 degrees points to -x and the disc turns
clockwise.

Density model (stars per unit of the local thin-disc density, midplane):
  - thin disc, exponential, scale length 2.6 kpc (Bland-Hawthorn & Gerhard
    2016), steepening to 1.0 kpc beyond the disc break at 14 kpc;
  - thick disc, 4 % of the thin disc at the Sun, scale length 2.0 kpc (same);
  - box/peanut bulge with in-plane axis ratio 0.63 (Wegg & Gerhard 2013) and
    the long bar, half-length 5.0 kpc (Wegg, Gerhard & Portail 2015), both
    turned 27 degrees from the Sun-centre line with the near end at positive
    longitude;
  - four logarithmic spiral arms and the local spur (Hou & Han 2014 fit),
    which raise the old-star density by up to 25 % on the arm ridges.
The model is blurred by a Gaussian of 1.5 pixels and then mapped through the
inverse of the program's density polynomial, so that the brightness of a
pixel gives the wanted number of stars per cube.  The scale is set so that
the Sun's cube expects SUN_STARS stars.
"""

import math

import numpy as np

SIZE = 4000                      # pixels on each side; 1 pixel = 10 pc
CENTRE = SIZE // 2
SUN_CUBE = (0, -798, 2)
R_SUN_KPC = 7.98

# Stars expected in the Sun's cube (z = 2), catalogue stars included.
SUN_STARS = 88.0

THIN_LENGTH = 2.6
THICK_LENGTH = 2.0
THICK_LOCAL = 0.04
DISC_BREAK = 14.0
OUTER_LENGTH = 1.0

BAR_ANGLE_DEG = -27.0            # the atlas's bulgeangle
BAR_HALF_LENGTH = 5.0
BAR_EDGE = 0.25
BAR_THICKNESS = 0.50             # in-plane e-folding of the long bar, kpc
BAR_AMPLITUDE = 3.0
BULGE_LENGTH = 0.70
BULGE_RATIO = 0.63
BULGE_AMPLITUDE = 30.0

ARM_CONTRAST = 0.25
ARM_BASE = 0.90
ARM_WIDTH = 0.40                 # Gaussian sigma across an arm, kpc
BLUR_SIGMA = 1.5                 # pixels

# Hou & Han 2014 arms: (name, R_i kpc, pitch deg, theta_i deg, theta_end deg or None,
# weight).  Their frame has R0 = 8.3 kpc and the Sun at theta 90 degrees.
ARMS = (
    ("Norma-Outer", 3.27, 9.87, 38.5, None, 1.0),
    ("Perseus", 4.29, 10.51, 189.0, None, 1.0),
    ("Sagittarius-Carina", 3.58, 10.01, 215.2, None, 1.0),
    ("Scutum-Centaurus", 3.98, 8.14, 320.1, None, 1.0),
    ("Local spur", 8.16, 2.71, 50.6, 110.0, 0.6),
)
HH_R_SUN = 8.3
ARM_END_KPC = 16.0
ARM_FADE_DEG = 20.0

# The program's density polynomial and constants.
Z_FACTOR = 0.0071428571827709675
COUNT_FACTOR = float(np.float32(0.01)) * float(np.float32(1000.0))


def density_poly(b):
    b = np.asarray(b, dtype=np.float64)
    return (4.492048e-5 * b ** 3 - 7.1924765e-8 * b ** 4 - 0.0067277409 * b ** 2
            + 0.39918088 * b - 1.6055759)


def expected_total(brightness, z, catalogue_stars=0):
    """Stars of a cube (catalogue plus generated) as the program counts them
    for a cube in the thin disc or the bar: E = D(b) (1 - z k) in single
    precision, N = trunc(E * 9.999999776 - Q)."""
    d = float(density_poly(brightness)) * (1.0 - z * Z_FACTOR)
    e = float(np.float32(d))
    n = math.trunc(e * COUNT_FACTOR - catalogue_stars)
    return catalogue_stars + max(n, 0)


def brightness_for_counts(counts):
    """Inverse of 10 D(b): brightness (float) giving `counts` stars per cube at
    z = 0.  Below one star the brightness falls linearly to 0 (black)."""
    grid = np.linspace(0.0, 255.0, 255001)
    d = density_poly(grid)
    first = int(np.argmax(d > 0.0))
    grid = grid[first:]
    d = d[first:]
    if np.any(np.diff(d) <= 0.0):
        raise ValueError("density polynomial is not increasing")
    target = np.asarray(counts, dtype=np.float64) / 10.0
    b = np.interp(target, d, grid)
    one = float(np.interp(0.1, d, grid))
    low = target < 0.1
    b[low] = np.maximum(target[low], 0.0) * 10.0 * one
    return b


def pixel_of_cube(x, y):
    return CENTRE + x, CENTRE - y


def _grid(row0, row1):
    """Cube-centre coordinates (kpc) of rows row0..row1-1."""
    cols = np.arange(SIZE, dtype=np.float64)
    rows = np.arange(row0, row1, dtype=np.float64)
    x = (cols - CENTRE) * 0.01
    y = (CENTRE - rows) * 0.01
    return np.meshgrid(x, y)


def _bar_axes(x, y):
    t = math.radians(-BAR_ANGLE_DEG)
    u = x * math.sin(t) + y * math.cos(t)     # along the bar
    v = x * math.cos(t) - y * math.sin(t)     # across it
    return u, v


def disc_profile(r, length):
    inner = np.exp(-(np.minimum(r, DISC_BREAK) - R_SUN_KPC) / length)
    outer = np.exp(-np.maximum(r - DISC_BREAK, 0.0) / OUTER_LENGTH)
    return inner * outer


def arm_field(x, y, width=ARM_WIDTH, shift=0.0):
    """Largest arm profile (0..1) at each point; shift moves the ridge inward by
    that many kpc (used for the dust lanes on the arms' inner edges)."""
    scale = HH_R_SUN / R_SUN_KPC
    xh = -x * scale
    yh = -y * scale
    r = np.hypot(xh, yh)
    theta = np.degrees(np.arctan2(yh, xh)) % 360.0
    best = np.zeros_like(r)
    for _name, r_i, pitch, theta_i, theta_end, weight in ARMS:
        tan_p = math.tan(math.radians(pitch))
        if theta_end is None:
            theta_end = theta_i + math.degrees(math.log(ARM_END_KPC * scale / r_i) / tan_p)
        k_lo = 0
        k_hi = int(math.ceil(theta_end / 360.0))
        for k in range(k_lo, k_hi + 1):
            th = theta + 360.0 * k
            inside = (th >= theta_i) & (th <= theta_end)
            if not inside.any():
                continue
            r_arm = r_i * np.exp(np.radians(th - theta_i) * tan_p) - shift * scale
            dist = (r - r_arm) * math.cos(math.radians(pitch)) / scale
            fade = np.clip((th - theta_i) / ARM_FADE_DEG, 0.0, 1.0) * \
                np.clip((theta_end - th) / ARM_FADE_DEG, 0.0, 1.0)
            prof = weight * fade * np.exp(-0.5 * (dist / width) ** 2)
            best = np.maximum(best, np.where(inside, prof, 0.0))
    return best


def components(x, y):
    """Model components at points (kpc): thin, thick, bulge, bar, arms."""
    r = np.hypot(x, y)
    u, v = _bar_axes(x, y)
    thin = disc_profile(r, THIN_LENGTH)
    thick = THICK_LOCAL * disc_profile(r, THICK_LENGTH)
    s = ((np.abs(u) / BULGE_LENGTH) ** 4 + (np.abs(v) / (BULGE_LENGTH * BULGE_RATIO)) ** 4) ** 0.25
    bulge = BULGE_AMPLITUDE * np.exp(-s)
    bar = BAR_AMPLITUDE * np.exp(-np.abs(v) / BAR_THICKNESS) / \
        (1.0 + np.exp((np.abs(u) - BAR_HALF_LENGTH) / BAR_EDGE))
    arms = arm_field(x, y)
    # Arms fade out inside the bar's reach.
    arms = arms * np.clip((r - 3.0) / 1.0, 0.0, 1.0)
    return thin, thick, bulge, bar, arms


def relative_density(x, y):
    thin, thick, bulge, bar, arms = components(x, y)
    return (thin + thick) * (ARM_BASE + ARM_CONTRAST * arms) + bulge + bar


def gaussian_blur(a, sigma):
    radius = int(math.ceil(3.0 * sigma))
    k = np.exp(-0.5 * (np.arange(-radius, radius + 1) / sigma) ** 2)
    k /= k.sum()
    for axis in (0, 1):
        pad = [(0, 0), (0, 0)]
        pad[axis] = (radius, radius)
        p = np.pad(a, pad, mode="edge")
        out = np.zeros_like(a)
        n = a.shape[axis]
        for i, w in enumerate(k):
            sl = [slice(None), slice(None)]
            sl[axis] = slice(i, i + n)
            out += w * p[tuple(sl)]
        a = out
    return a


def density_field():
    """Blurred relative density on the whole grid (float64, SIZE x SIZE)."""
    field = np.empty((SIZE, SIZE), dtype=np.float64)
    step = 250
    for row0 in range(0, SIZE, step):
        x, y = _grid(row0, row0 + step)
        field[row0:row0 + step] = relative_density(x, y)
    return gaussian_blur(field, BLUR_SIGMA)


def grey_levels(field):
    """Brightness 0..255 (uint8) with the Sun's cube calibrated to SUN_STARS."""
    sx, sy = pixel_of_cube(SUN_CUBE[0], SUN_CUBE[1])
    midplane_sun = SUN_STARS / (1.0 - SUN_CUBE[2] * Z_FACTOR)
    counts = field * (midplane_sun / field[sy, sx])
    b = brightness_for_counts(counts.ravel()).reshape(field.shape)
    return np.clip(np.rint(b), 0, 255).astype(np.uint8)


# ---------------------------------------------------------------------------
# Colour picture

def _hash01(ix, iy, seed):
    """Deterministic pseudo-random numbers in [0, 1) for integer lattice points
    (the 32-bit finaliser of MurmurHash3 on a mixed key)."""
    with np.errstate(over="ignore"):
        h = (ix.astype(np.uint32) * np.uint32(0x9E3779B1)
             + iy.astype(np.uint32) * np.uint32(0x85EBCA77)
             + np.uint32(seed * 0xC2B2AE3D & 0xFFFFFFFF))
        h ^= h >> np.uint32(16)
        h *= np.uint32(0x85EBCA6B)
        h ^= h >> np.uint32(13)
        h *= np.uint32(0xC2B2AE35)
        h ^= h >> np.uint32(16)
    return (h >> np.uint32(8)).astype(np.float64) / float(1 << 24)


def value_noise(x, y, cell, seed):
    """Smooth noise in [0, 1) with features of about `cell` pixels."""
    fx = x / cell
    fy = y / cell
    ix = np.floor(fx)
    iy = np.floor(fy)
    tx = fx - ix
    ty = fy - iy
    tx = tx * tx * (3.0 - 2.0 * tx)
    ty = ty * ty * (3.0 - 2.0 * ty)
    ix = ix.astype(np.int64) + 100000
    iy = iy.astype(np.int64) + 100000
    n00 = _hash01(ix, iy, seed)
    n10 = _hash01(ix + 1, iy, seed)
    n01 = _hash01(ix, iy + 1, seed)
    n11 = _hash01(ix + 1, iy + 1, seed)
    return (n00 * (1 - tx) + n10 * tx) * (1 - ty) + (n01 * (1 - tx) + n11 * tx) * ty


def knot_field(x, y, cell=14.0, radius=1.8, share=0.35, seed=7):
    """Round spots (H II regions) scattered one per lattice cell at most; 0..1."""
    cx = np.floor(x / cell).astype(np.int64) + 100000
    cy = np.floor(y / cell).astype(np.int64) + 100000
    best = np.zeros(x.shape)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            ix = cx + dx
            iy = cy + dy
            present = _hash01(ix, iy, seed) < share
            kx = (ix - 100000 + _hash01(ix, iy, seed + 1)) * cell
            ky = (iy - 100000 + _hash01(ix, iy, seed + 2)) * cell
            size = radius * (0.6 + 0.8 * _hash01(ix, iy, seed + 3))
            d2 = ((x - kx) ** 2 + (y - ky) ** 2) / (size * size)
            best = np.maximum(best, np.where(present, np.exp(-0.5 * d2), 0.0))
    return best


OLD_COLOUR = np.array([1.00, 0.86, 0.66])
BULGE_COLOUR = np.array([1.00, 0.74, 0.42])
YOUNG_COLOUR = np.array([0.58, 0.72, 1.00])
KNOT_COLOUR = np.array([1.00, 0.45, 0.70])


def colour_strip(row0, row1):
    x, y = _grid(row0, row1)
    px = np.arange(SIZE, dtype=np.float64)[None, :] + np.zeros((row1 - row0, 1))
    py = np.arange(row0, row1, dtype=np.float64)[:, None] + np.zeros((1, SIZE))
    thin, thick, bulge, bar, _arms = components(x, y)
    r = np.hypot(x, y)
    arms = arm_field(x, y, width=0.28) * np.clip((r - 3.2) / 1.5, 0.0, 1.0)
    lanes = arm_field(x, y, width=0.12, shift=0.35) * np.clip((r - 3.0) / 1.5, 0.0, 1.0)

    texture = 0.55 * value_noise(px, py, 60.0, 1) + 0.30 * value_noise(px, py, 17.0, 2) + \
        0.15 * value_noise(px, py, 5.0, 3)
    disc = (thin + thick) * (0.85 + 0.3 * texture)
    old = 1.0 - np.exp(-disc / 2.5)
    centre = 1.0 - np.exp(-(bulge + bar) / 2.0)
    young = arms * np.clip(disc_profile(r, 3.5), 0.0, 1.5) * (0.4 + 0.9 * texture)
    young = 1.0 - np.exp(-young / 0.6)
    knots = arms * knot_field(px, py) * (r < ARM_END_KPC)
    dust = 1.0 - 0.65 * lanes * (0.5 + 0.5 * value_noise(px, py, 25.0, 5))

    rgb = (old[..., None] * 0.55 * OLD_COLOUR + centre[..., None] * 0.75 * BULGE_COLOUR
           + young[..., None] * 0.55 * YOUNG_COLOUR + knots[..., None] * 0.6 * KNOT_COLOUR)
    rgb *= dust[..., None]
    rgb = 1.0 - np.exp(-1.6 * rgb)          # soft highlight roll-off
    return np.clip(np.rint(rgb * 255.0), 0, 255).astype(np.uint8)


def colour_picture():
    out = np.empty((SIZE, SIZE, 3), dtype=np.uint8)
    step = 250
    for row0 in range(0, SIZE, step):
        out[row0:row0 + step] = colour_strip(row0, row0 + step)
    return out
