"""Assembles ThumbNails.bmp and pictograms.bmp from the painters."""

import numpy as np

import bodies
import icons
from layout import (BODY_RECTS, BUTTON_RECTS, DISC_RECTS, KEY, PICTO_SIZE, STAR_RECTS,
                    THUMB_SIZE, rect_size)

COVER = 0.5     # a pixel is opaque when at least half of it is covered


def to_bytes(rgb):
    return np.clip(np.floor(rgb * 255.0 + 0.5), 0, 255).astype(np.uint8)


def place(sheet, rect, rgb, cov=None):
    """Put a picture on the sheet; uncovered pixels keep the key colour."""
    w, h = rect_size(rect)
    if rgb.shape[:2] != (h, w):
        raise ValueError("picture %dx%d does not fit rectangle %s"
                         % (rgb.shape[1], rgb.shape[0], rect))
    if cov is None:
        cov = np.ones((h, w))
    # Edge pixels: darken by coverage, which reads as a blend towards the
    # dark screens the sprites are drawn over.
    shaded = rgb * np.clip(cov / 0.9, 0, 1)[..., None]
    px = to_bytes(shaded)
    # Sprites must never hit the key colour itself.
    is_key = np.all(px == np.array(KEY, dtype=np.uint8), axis=-1)
    px[is_key, 0] = KEY[0] - 1
    keep = cov >= COVER
    region = sheet[rect[1]:rect[3], rect[0]:rect[2]]
    region[keep] = px[keep]


def empty_sheet(size):
    sheet = np.zeros((size[1], size[0], 3), dtype=np.uint8)
    sheet[:, :] = KEY
    return sheet


def build_thumbnails():
    sheet = empty_sheet(THUMB_SIZE)
    for name, rect in BODY_RECTS.items():
        w, h = rect_size(rect)
        rgb, cov = bodies.BODY_PAINTERS[name](w)
        place(sheet, rect, rgb, cov)
    for cls, rect in STAR_RECTS.items():
        w, h = rect_size(rect)
        rgb, cov = bodies.star_limb(w, h, bodies.STAR_COLOURS[cls])
        place(sheet, rect, rgb, cov)
    sheet[0, 0] = KEY
    return sheet


def build_pictograms():
    sheet = empty_sheet(PICTO_SIZE)
    for name, rect in DISC_RECTS.items():
        w, h = rect_size(rect)
        if name.startswith("star "):
            rgb, cov = bodies.star_disc(w, bodies.STAR_COLOURS[name[-1]])
        elif name == "white dwarf":
            rgb, cov = bodies.star_disc(w, (235, 240, 255), core_frac=0.10, glow_frac=0.3)
        elif name == "neutron star":
            rgb, cov = bodies.star_disc(w, (170, 110, 255), core_frac=0.07, glow_frac=0.48)
        elif name == "black hole":
            rgb, cov = bodies.black_hole(w)
        elif name == "unknown body":
            rgb, cov = bodies.unknown_body(w)
        elif name == "selection":
            rgb, cov = bodies.selection(w)
        else:
            raise ValueError("no painter for %s" % name)
        place(sheet, rect, rgb, cov)
    for name, rect in BUTTON_RECTS.items():
        w, h = rect_size(rect)
        place(sheet, rect, icons.BUTTON_PAINTERS[name](w))
    sheet[0, 0] = KEY
    return sheet
