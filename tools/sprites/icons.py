"""Icons of the three view buttons: opaque 40 x 40 tiles in the GUI's colours
(dark blue face, gold and white strokes), so they look the same whether the
button draws them with or without the colour key."""

import math

import numpy as np

from render import downsample, grid

FACE = np.array([43, 44, 131]) / 255.0       # the skin's button face
DEEP = np.array([12, 13, 60]) / 255.0
GOLD = np.array([207, 183, 52]) / 255.0      # the skin's highlight colour
WHITE = np.array([1.0, 1.0, 1.0])
PALE = np.array([170, 190, 255]) / 255.0


class Canvas:
    """Supersampled RGB tile with simple antialiased primitives."""

    def __init__(self, size):
        self.size = size
        self.X, self.Y = grid(size, size)
        # Background: vertical gradient from the face colour down to deep blue,
        # and a one pixel lighter frame.
        t = (self.Y / size)[..., None]
        self.rgb = FACE * (1 - t) * 0.9 + DEEP * t
        edge = np.minimum(np.minimum(self.X, size - self.X), np.minimum(self.Y, size - self.Y))
        frame = np.clip(1.0 - np.abs(edge - 1.0), 0, 1)[..., None]
        self.rgb = self.rgb * (1 - frame * 0.6) + PALE * 0.6 * frame * 0.6

    def paint(self, mask, colour):
        """Blend colour over the tile with the coverage mask (0..1)."""
        m = np.clip(mask, 0, 1)[..., None]
        self.rgb = self.rgb * (1 - m) + np.asarray(colour) * m

    def add(self, light, colour):
        """Add light (glows)."""
        self.rgb = self.rgb + np.clip(light, 0, None)[..., None] * np.asarray(colour)

    def segment(self, p0, p1, width, colour):
        x0, y0 = p0
        x1, y1 = p1
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy
        t = np.clip(((self.X - x0) * dx + (self.Y - y0) * dy) / max(ll, 1e-9), 0, 1)
        d = np.hypot(self.X - (x0 + t * dx), self.Y - (y0 + t * dy))
        self.paint(d <= width / 2.0, colour)

    def disc(self, centre, radius, colour):
        d = np.hypot(self.X - centre[0], self.Y - centre[1])
        self.paint(d <= radius, colour)

    def ellipse_ring(self, centre, rx, ry, width, colour, back_dim=None):
        """Outline of an axis-aligned ellipse; the upper half (the far side of
        a tilted orbit) optionally drawn in back_dim."""
        u = (self.X - centre[0]) / rx
        v = (self.Y - centre[1]) / ry
        r = np.sqrt(u * u + v * v)
        # Distance to the ellipse, approximated by the radial error times the
        # local radius.
        scale = np.sqrt((u * rx) ** 2 + (v * ry) ** 2) / np.maximum(r, 1e-9)
        d = np.abs(r - 1.0) * scale
        ring = d <= width / 2.0
        if back_dim is not None:
            self.paint(ring & (self.Y < centre[1]), back_dim)
            self.paint(ring & (self.Y >= centre[1]), colour)
        else:
            self.paint(ring, colour)

    def result(self):
        return np.clip(downsample(self.rgb), 0, 1)


def icon_map(size=40):
    """Map view: a face-on spiral galaxy on a chart grid."""
    cv = Canvas(size)
    for g in (10, 20, 30):
        cv.segment((4, g), (36, g), 0.6, FACE * 1.6)
        cv.segment((g, 4), (g, 36), 0.6, FACE * 1.6)
    c = (20.0, 20.0)
    dx = cv.X - c[0]
    dy = cv.Y - c[1]
    r = np.hypot(dx, dy)
    ang = np.arctan2(dy, dx)
    # Two logarithmic arms.
    arm = np.zeros_like(r)
    for k in (0, 1):
        phase = ang - 1.6 * np.log(np.maximum(r, 0.5) / 2.0) + k * math.pi
        arm = np.maximum(arm, np.cos(phase) ** 2 * 1.0)
    arm = arm ** 6 * np.exp(-r / 9.0) * (r < 16)
    cv.add(arm * 1.4, np.array([0.85, 0.85, 1.0]))
    cv.add(np.exp(-(r / 3.0) ** 2) * 1.5, np.array([1.0, 0.9, 0.6]))
    # A gold "you are here" marker.
    cv.disc((27.5, 27.0), 2.2, GOLD)
    cv.disc((27.5, 27.0), 0.9, DEEP)
    return cv.result()


def icon_galaxy(size=40):
    """Galaxy view: a wire cube in perspective filled with stars."""
    cv = Canvas(size)
    front = [(9, 14), (27, 14), (27, 32), (9, 32)]
    back = [(15, 8), (33, 8), (33, 26), (15, 26)]
    stars = [(14, 18, 1.3, WHITE), (22, 12.5, 1.0, PALE), (26, 22, 1.5, GOLD),
             (18, 27, 1.0, WHITE), (30, 15, 0.9, WHITE), (12, 24, 0.8, PALE), (21, 20, 1.0, PALE)]
    # Back edges first, dimmer.
    dim = PALE * 0.55
    for i in range(4):
        cv.segment(back[i], back[(i + 1) % 4], 1.0, dim)
    for i in range(4):
        cv.segment(front[i], back[i], 1.0, dim)
    for x, y, r, col in stars:
        d = np.hypot(cv.X - x, cv.Y - y)
        cv.add(np.exp(-(d / (r * 1.6)) ** 2) * 0.6, col)
        cv.disc((x, y), r * 0.7, col)
    for i in range(4):
        cv.segment(front[i], front[(i + 1) % 4], 1.4, WHITE)
    return cv.result()


def icon_system(size=40):
    """System view: a star with two tilted orbits and their planets."""
    cv = Canvas(size)
    c = (20.0, 20.0)
    cv.ellipse_ring(c, 16.5, 7.0, 1.0, PALE, back_dim=PALE * 0.5)
    cv.ellipse_ring(c, 10.0, 4.2, 1.0, PALE, back_dim=PALE * 0.5)
    d = np.hypot(cv.X - c[0], cv.Y - c[1])
    cv.add(np.exp(-(d / 5.0) ** 2) * 0.8, np.array([1.0, 0.8, 0.3]))
    cv.disc(c, 3.6, np.array([1.0, 0.9, 0.45]))
    cv.disc((c[0] - 1.0, c[1] - 1.0), 1.6, np.array([1.0, 1.0, 0.85]))
    # Planets: one on each orbit, on the near side.
    cv.disc((c[0] + 7.0, c[1] + 3.0), 1.8, np.array([0.45, 0.7, 1.0]))
    cv.disc((c[0] - 12.0, c[1] + 4.8), 2.4, np.array([0.95, 0.65, 0.35]))
    return cv.result()


BUTTON_PAINTERS = {
    "map view (501)": icon_map,
    "galaxy view (502)": icon_galaxy,
    "system view (503)": icon_system,
}
