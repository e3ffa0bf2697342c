"""Small numpy renderer for the sprite sheets: shaded spheres with procedural
surfaces, glowing star discs and flat icons.

Every picture is a float RGB array (h, w, 3) in 0..1 plus a coverage mask
(h, w) in 0..1.  The sheets keep a pixel where the coverage is at least one
half and make the rest transparent; edge pixels are darkened by their
coverage, which blends them towards the dark backgrounds they are drawn on.

Noise is our own integer hash, so the output does not depend on any library
random generator and is the same on every run.
"""

import math

import numpy as np

SUPER = 4   # supersampling per axis for the coverage of edges


# --- hash noise -----------------------------------------------------------------

def _hash3(ix, iy, iz, seed):
    """uint32 hash of integer lattice points, 0..1 floats."""
    h = (ix.astype(np.int64) * 374761393 + iy.astype(np.int64) * 668265263 +
         iz.astype(np.int64) * 1274126177 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h = h ^ (h >> 16)
    return (h & 0xFFFFFF).astype(np.float64) / float(0xFFFFFF)


def value_noise(x, y, z, seed):
    """Smooth 3D value noise in 0..1."""
    x0 = np.floor(x)
    y0 = np.floor(y)
    z0 = np.floor(z)
    fx = x - x0
    fy = y - y0
    fz = z - z0
    fx = fx * fx * (3 - 2 * fx)
    fy = fy * fy * (3 - 2 * fy)
    fz = fz * fz * (3 - 2 * fz)
    ix = x0.astype(np.int64)
    iy = y0.astype(np.int64)
    iz = z0.astype(np.int64)
    out = 0.0
    for dx in (0, 1):
        wx = fx if dx else 1 - fx
        for dy in (0, 1):
            wy = fy if dy else 1 - fy
            for dz in (0, 1):
                wz = fz if dz else 1 - fz
                out = out + wx * wy * wz * _hash3(ix + dx, iy + dy, iz + dz, seed)
    return out


def fbm(p, seed, octaves=4, scale=2.0, gain=0.5):
    """Fractal noise at the points p (..., 3), roughly 0..1."""
    total = 0.0
    amp = 1.0
    norm = 0.0
    freq = scale
    for o in range(octaves):
        total = total + amp * value_noise(p[..., 0] * freq, p[..., 1] * freq,
                                          p[..., 2] * freq, seed + 101 * o)
        norm += amp
        amp *= gain
        freq *= 2.0
    return total / norm


def rng_points(n, seed):
    """n deterministic unit vectors and n numbers in 0..1."""
    idx = np.arange(n, dtype=np.int64)
    u = _hash3(idx, idx * 7 + 1, idx * 13 + 2, seed)
    v = _hash3(idx, idx * 7 + 3, idx * 13 + 4, seed)
    w = _hash3(idx, idx * 7 + 5, idx * 13 + 6, seed)
    z = 2 * u - 1
    phi = 2 * math.pi * v
    r = np.sqrt(np.maximum(0.0, 1 - z * z))
    return np.stack([r * np.cos(phi), r * np.sin(phi), z], axis=-1), w


# --- geometry -------------------------------------------------------------------

def grid(w, h, super_=SUPER):
    """Sample positions (supersampled) in pixel units, pixel centres at +0.5."""
    ys = (np.arange(h * super_) + 0.5) / super_
    xs = (np.arange(w * super_) + 0.5) / super_
    return np.meshgrid(xs, ys)


def downsample(a, super_=SUPER):
    """Average super_ x super_ blocks of (H, W) or (H, W, C)."""
    h = a.shape[0] // super_
    w = a.shape[1] // super_
    if a.ndim == 2:
        return a.reshape(h, super_, w, super_).mean(axis=(1, 3))
    return a.reshape(h, super_, w, super_, a.shape[2]).mean(axis=(1, 3))


def rotate(p, yaw, pitch):
    """Rotate points (..., 3) about the vertical axis, then tilt towards the viewer."""
    cy, sy = math.cos(yaw), math.sin(yaw)
    cp, sp = math.cos(pitch), math.sin(pitch)
    x, y, z = p[..., 0], p[..., 1], p[..., 2]
    x1 = cy * x + sy * z
    z1 = -sy * x + cy * z
    y2 = cp * y - sp * z1
    z2 = sp * y + cp * z1
    return np.stack([x1, y2, z2], axis=-1)


def sphere(size, surface, light=(-0.55, -0.5, 0.67), radius_frac=0.47, ambient=0.06,
           specular=0.0, yaw=0.0, pitch=0.35, atmosphere=None, hardness=1.1):
    """Render a lit sphere filling a size x size square.

    surface(p, lat) gets the body-fixed unit vectors p (n, 3) and latitudes
    (n,) of the visible points and returns their albedo colours (n, 3).
    hardness below 1 flattens the light across the lit side.
    Returns (rgb, coverage)."""
    X, Y = grid(size, size)
    c = size / 2.0
    r = size * radius_frac
    nx = (X - c) / r
    ny = (Y - c) / r
    d2 = nx * nx + ny * ny
    inside = d2 < 1.0
    nz = np.sqrt(np.clip(1.0 - d2, 0.0, 1.0))
    # Screen normal: x right, y down, z towards the viewer.  Body frame: y up.
    n = np.stack([nx[inside], -ny[inside], nz[inside]], axis=-1)
    body = rotate(n, yaw, pitch)
    lat = np.arcsin(np.clip(body[:, 1], -1, 1))
    albedo = surface(body, lat)

    L = np.array(light, dtype=np.float64)
    L = L / np.linalg.norm(L)
    Ls = np.array([L[0], -L[1], L[2]])
    lam = np.clip(n @ Ls, 0.0, 1.0)
    # Soft terminator: a little light wraps around the edge of the lit side.
    diffuse = np.clip((n @ Ls + 0.12) / 1.12, 0.0, 1.0) ** hardness
    shade = ambient + (1 - ambient) * diffuse
    col = albedo * shade[:, None]
    if specular > 0:
        view = np.array([0.0, 0.0, 1.0])
        half = (Ls + view) / np.linalg.norm(Ls + view)
        shine = np.clip(n @ half, 0, 1) ** 40 * specular * (lam > 0)
        col = col + shine[:, None]
    if atmosphere is not None:
        rim = (1 - n[:, 2]) ** 3 * np.clip(n @ Ls + 0.35, 0, 1)
        col = col + rim[:, None] * np.array(atmosphere)[None, :]

    rgb = np.zeros(X.shape + (3,))
    rgb[inside] = col
    cov = inside.astype(np.float64)
    return finish(rgb, cov)


def finish(rgb, cov):
    """Downsample a supersampled picture and its coverage."""
    cov_d = downsample(cov)
    rgb_d = downsample(rgb * cov[..., None])
    safe = np.maximum(cov_d, 1e-9)[..., None]
    rgb_d = rgb_d / safe      # mean colour of the covered samples
    return np.clip(rgb_d, 0, 1), cov_d


def palette(t, stops):
    """Piecewise linear colour ramp. stops: [(t, (r, g, b)), ...] with t ascending."""
    t = np.clip(t, stops[0][0], stops[-1][0])
    out = np.zeros(t.shape + (3,))
    for (t0, c0), (t1, c1) in zip(stops[:-1], stops[1:]):
        m = (t >= t0) & (t <= t1)
        f = ((t[m] - t0) / max(t1 - t0, 1e-9))[:, None]
        out[m] = np.array(c0) * (1 - f) + np.array(c1) * f
    return out / 255.0


def mix(a, b, f):
    f = np.asarray(f)
    if f.ndim == a.ndim - 1:
        f = f[..., None]
    return a * (1 - f) + b * f


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0, 1)
    return t * t * (3 - 2 * t)
