#!/usr/bin/env python3
"""Draws Starvane's application icon: a four-pointed star with a tilted orbit and its planet on
a night-blue disc. Writes data/icons/starvane-<size>.png for each size the desktop asks for.
Drawn at four times the size and scaled down, so the edges are smooth; the same input always
gives the same pixels.

    tools/icon/draw_icon.py [OUTPUT_FOLDER]
"""
import math
import sys
from pathlib import Path

from PIL import Image, ImageDraw

SIZES = (48, 128, 256)
OVERSAMPLE = 4
NIGHT = (12, 20, 48)
RIM = (58, 92, 170)
STAR = (255, 244, 214)
GLOW = (255, 196, 92)
ORBIT = (140, 190, 255)
PLANET = (96, 200, 150)


def star_points(cx, cy, long_arm, short_arm, points=4, turn=0.0):
    """The outline of a star with `points` long arms and as many short ones between them."""
    outline = []
    for i in range(points * 2):
        angle = turn + math.pi * i / points
        arm = long_arm if i % 2 == 0 else short_arm
        outline.append((cx + arm * math.sin(angle), cy - arm * math.cos(angle)))
    return outline


def ellipse_points(cx, cy, rx, ry, tilt, steps=180):
    cos_t, sin_t = math.cos(tilt), math.sin(tilt)
    for i in range(steps + 1):
        a = 2 * math.pi * i / steps
        x, y = rx * math.cos(a), ry * math.sin(a)
        yield cx + x * cos_t - y * sin_t, cy + x * sin_t + y * cos_t


def draw(size):
    s = size * OVERSAMPLE
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    pen = ImageDraw.Draw(image)
    margin = s * 0.04
    pen.ellipse((margin, margin, s - margin, s - margin), fill=NIGHT, outline=RIM, width=max(1, s // 40))
    c = s / 2
    tilt = -0.45
    orbit = list(ellipse_points(c, c, s * 0.36, s * 0.14, tilt))
    pen.line(orbit, fill=ORBIT, width=max(1, s // 64))
    for radius, alpha in ((0.20, 40), (0.15, 70), (0.11, 110)):
        glow = Image.new("RGBA", (s, s), (0, 0, 0, 0))
        ImageDraw.Draw(glow).ellipse((c - s * radius, c - s * radius, c + s * radius, c + s * radius),
                                     fill=GLOW + (alpha,))
        image.alpha_composite(glow)
    pen = ImageDraw.Draw(image)
    pen.polygon(star_points(c, c, s * 0.30, s * 0.07), fill=STAR)
    pen.polygon(star_points(c, c, s * 0.14, s * 0.05, turn=math.pi / 4), fill=STAR)
    # The planet sits on the near side of the orbit, to the lower right.
    px, py = next(p for i, p in enumerate(ellipse_points(c, c, s * 0.36, s * 0.14, tilt)) if i == 20)
    r = s * 0.055
    pen.ellipse((px - r, py - r, px + r, py + r), fill=PLANET, outline=NIGHT, width=max(1, s // 96))
    return image.resize((size, size), Image.LANCZOS)


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "data" / "icons"
    folder.mkdir(parents=True, exist_ok=True)
    for size in SIZES:
        draw(size).save(folder / f"starvane-{size}.png", optimize=True)


if __name__ == "__main__":
    main()
