"""Where every picture sits on the two sprite sheets.

Rectangles are (left, top, right, bottom) in sheet pixels, the way the program
hands them to the engine: right and bottom are exclusive, so (30, 0, 93, 63)
is a 63 x 63 picture whose pixels run from x 30..92 and y 0..62.  The pixel
column and row just outside each picture stay transparent.

Both the generator and the checker import this file, so the table in
README.md, the pictures and the checks cannot drift apart.
"""

# Colour key of both sheets: the program makes the colour of pixel (0, 0)
# transparent.  No sprite pixel may have it.
KEY = (255, 0, 255)

# Sheet sizes.  The rectangles need 670 x 256 and 240 x 120; the sheets are
# padded to powers of two so that no driver has to rescale them (a rescaled
# texture would break the source rectangles on drivers without NPOT support).
THUMB_SIZE = (1024, 256)
PICTO_SIZE = (256, 128)

# --- ThumbNails.bmp -----------------------------------------------------------

# Body thumbnails by planet type.
BODY_RECTS = {
    "ice":         (30, 0, 93, 63),
    "rock":        (30, 64, 93, 127),
    "terrestrial": (30, 128, 93, 191),
    "asteroids":   (30, 192, 93, 255),
    "oneface":     (94, 0, 157, 63),
    "martian":     (94, 64, 157, 127),
    "oceanic":     (94, 128, 157, 191),
    "venusian":    (94, 192, 157, 255),
    "icegiant":    (158, 0, 285, 127),
    "sudarskyi":   (158, 128, 285, 255),
    "sudarskyii":  (286, 0, 413, 127),
    "sudarskyiii": (286, 128, 413, 255),
    "sudarskyiv":  (414, 0, 541, 127),
    "sudarskyv":   (414, 128, 541, 255),
    "gasdwarf":    (542, 0, 669, 127),
}

# The galaxy view's system strip cuts two bodies differently.  Both rectangles
# cover pictures drawn for other types (the jovian one spans the four Sudarsky
# giants II..V), so they get nothing of their own; the checker only makes sure
# they lie on the sheet.
STRIP_RECTS = {
    "gasdwarf (strip)": (541, 0, 669, 127),
    "jovian (strip)":   (286, 0, 541, 255),
}

# Star limbs for the system strip, by spectral class.  The strip stretches
# them to 15 px wide and 64..180 px high at the left screen edge, so each one
# is the right-hand edge of a large glowing disc seen from the side.
STAR_RECTS = {
    "A": (0, 0, 14, 63),
    "B": (0, 64, 14, 127),
    "O": (0, 128, 14, 191),
    "M": (15, 0, 29, 63),
    "K": (15, 64, 29, 127),
    "G": (15, 128, 29, 191),
    "F": (15, 192, 29, 255),   # also white dwarfs (DC) and neutron stars
}

# --- pictograms.bmp -----------------------------------------------------------

# Icons of the three view buttons in the bottom-right corner.
BUTTON_RECTS = {
    "map view (501)":    (200, 0, 240, 40),
    "galaxy view (502)": (200, 40, 240, 80),
    "system view (503)": (200, 80, 240, 120),
}

# Round star discs and a few extra pieces, 40 x 40 each, for the system
# panel's own star picture and the markers beside a selected body.  The
# program may use them; nothing else depends on them.
DISC_RECTS = {
    "star O":       (0, 0, 40, 40),
    "star B":       (40, 0, 80, 40),
    "star A":       (80, 0, 120, 40),
    "star F":       (120, 0, 160, 40),
    "star G":       (160, 0, 200, 40),
    "star K":       (0, 40, 40, 80),
    "star M":       (40, 40, 80, 80),
    "white dwarf":  (80, 40, 120, 80),
    "neutron star": (120, 40, 160, 80),
    "black hole":   (160, 40, 200, 80),
    "unknown body": (0, 80, 40, 120),
    "selection":    (40, 80, 80, 120),
}

# --- ESfont.bmp ---------------------------------------------------------------

FONT_FIRST = 32
FONT_LAST = 126
FONT_UL = (255, 0, 0)       # upper-left corner marker
FONT_LR = (255, 255, 0)     # lower-right corner marker
FONT_BG = (0, 0, 0)         # background, transparent in the engine
FONT_SIZE = (256, 64)


def rect_size(r):
    return r[2] - r[0], r[3] - r[1]


def all_thumb_rects():
    out = {}
    out.update(STAR_RECTS)
    out.update(BODY_RECTS)
    return out


def all_picto_rects():
    out = {}
    out.update(DISC_RECTS)
    out.update(BUTTON_RECTS)
    return out
