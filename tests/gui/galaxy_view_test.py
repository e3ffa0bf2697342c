"""The galaxy view driven like a user would: the start picture at Sol, hovering, the stalks
switch, flying across a cube face, the class filter, the name search, and a click and double
click that open a star's system."""

import subprocess
import sys

import atlas_driver as ad  # the script's own folder comes first on the module path; it may re-run us
import numpy as np  # noqa: E402 (after the driver, which finds a Python that has it)
from atlas_driver import check


def contrast(picture, region):
    """Contrast ratio of the text in a field against the field's most common colour, and how
    many pixels the text has. The text's colour is the median of every pixel that is not the
    ground, so a glyph's dark outline cannot pass for the glyph."""
    pixels = ad.area(picture, region).reshape(-1, 3).astype(float)
    colours, counts = np.unique(pixels, axis=0, return_counts=True)
    ground = colours[counts.argmax()]
    ink = pixels[np.abs(pixels - ground).sum(axis=1) > 10]
    if len(ink) < 15:
        return 0.0, len(ink)
    text = np.median(ink, axis=0)

    def luminance(c):
        c = c / 255.0
        c = np.where(c <= 0.03928, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
        return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]

    light, dark = sorted((luminance(ground), luminance(text)), reverse=True)
    return (light + 0.05) / (dark + 0.05), len(ink)


def hovered_star(atlas, picture, exclude, central=False):
    """(x, y, picture while hovering) of the first yellow spot, the largest or (central) the
    nearest the middle, outside the excluded rectangles, that writes a name when hovered: a G
    star's marker."""
    W, H = atlas.width, atlas.height
    blobs = ad.bright_blobs(picture, (20, 20, W - 240, H - 80), ad.colour("yellow"), exclude)
    if central:
        blobs = sorted((b for b in blobs if b[0] >= 3), key=lambda b: abs(b[1] - W // 2) + abs(b[2] - H // 2))
    for size, x, y in blobs[:12]:
        hovering = ad.named_on_hover(atlas, x, y, picture)
        if hovering is not None:
            return x, y, hovering
    check(False, "one of the yellow spots is a star that shows its name when hovered", fatal=True)


def name_ink(picture, x, y):
    """The white glyphs of the name written right of the pointer at (x, y), cut to their extent
    (a gap wider than a space ends the name) and framed by four blank columns."""
    ink = ad.area(picture, (x + 8, y - 1, x + 300, y + 20)).min(-1) > 150
    columns = ink.any(0).nonzero()[0]
    check(len(columns) > 0, "the hovered name is written", fatal=True)
    end = columns[0]
    for c in columns:
        if c - end > 10:
            break
        end = c
    ink = ink[:, columns[0]:end + 1]
    rows = ink.any(1).nonzero()[0]
    return np.pad(ink[rows[0]:rows[-1] + 1], ((1, 1), (4, 4)))


def written_in(pattern, picture, region):
    """How well the glyph pattern matches its best place among the region's light pixels: the
    shared ink over the ink of either (1 for the same text)."""
    ink = ad.area(picture, region).min(-1) > 150
    windows = np.lib.stride_tricks.sliding_window_view(ink, pattern.shape)
    shared = (windows & pattern).sum((2, 3))
    either = (windows | pattern).sum((2, 3))
    return float((shared / np.maximum(either, 1)).max())


def galaxy_view(atlas):
    W, H = atlas.width, atlas.height
    cx, cy = W // 2, H // 2
    rest = (cx, H - 120)  # inside the window (keys follow the pointer), off the route panel
    scene = (0, 0, W - 220, H - 65)  # the 3D area no panel covers while the side panels hide
    cube_text = (100, 100, 400, 140)
    away = atlas.capture()

    # Before the pointer first moves over the window its place is unknown: the route panel at
    # the left edge stays shut. The window carries the program's name as title and class.
    navy = ad.count(atlas.first, (0, 150, 200, H - 100), lambda a: (a[..., 2] > 50) & (a[..., 0] < 70) & (a[..., 1] < 70))
    check(navy < 200 * (H - 250) // 20, "the route panel stays shut at start-up (%d navy pixels)" % navy)
    for key, what in (("--name", "titled"), ("--class", "of the window class")):
        found = subprocess.run(["xdotool", "search", key, "^Starvane$"], capture_output=True)
        check(found.returncode == 0, "the window is %s \"Starvane\"" % what)

    # At Sol: a star field of several colours, the grid, the cube coordinates, and Sol at the
    # centre point named right of the pointer with the cyan hover disc.
    at_sol = ad.named_on_hover(atlas, cx, cy, away)
    check(at_sol is not None, "hovering the star at the centre writes its name", fatal=True)
    colours = ad.colour_histogram(at_sol, scene)
    check(len([n for n, k in colours.items() if k >= 20 and n != "cyan"]) >= 3, "stars of several colours: %s" % colours)
    check(ad.count(at_sol, scene, ad.grid_green) > 500, "the green grid of the cube's middle plane is drawn")
    check(ad.count(at_sol, cube_text, ad.white) > 40, "the cube coordinates are written")
    check(ad.colour_histogram(at_sol, (cx - 15, cy - 15, cx + 15, cy + 15)).get("cyan", 0) > 10,
          "the hovered star gets the cyan disc")

    # The route panel opens at the left edge with its check box caption whole on two lines;
    # "add waypoint" on Sol, the route's start, says why nothing was added.
    route_area, status = (0, 0, 200, H - 65), (20, 550, 190, H - 70)
    ad.move(8, 300)
    routes = atlas.until(lambda p: ad.differing(at_sol, p, route_area) > 3000, "the route panel opens at the left edge")
    check(ad.ink(routes, (40, 54, 196, 70)) > 30, "the check box caption's second line is drawn")
    ad.click(100, 425)
    atlas.until(lambda p: ad.ink(p, status) > 100, "\"add waypoint\" tells what became of the centred star")

    # Control+S removes the centre cube's stalks, and again brings them back.
    ad.move(*rest)
    atlas.until(lambda p: ad.differing(at_sol, p, route_area) < 3000, "the route panel shuts again")
    with_stalks = atlas.capture()
    lit = ad.count(with_stalks, scene, ad.non_black)
    atlas.hold(["ctrl", "s"])
    without = atlas.until(lambda p: ad.differing(p, with_stalks, scene) > 300 and ad.count(p, scene, ad.non_black) < lit,
                          "Control+S takes the stalks away")
    atlas.hold(["ctrl", "s"])
    stalks_again = atlas.until(lambda p: ad.differing(p, with_stalks, scene) < ad.differing(without, with_stalks, scene) // 4,
                               "a second Control+S brings them back")

    # W moves the centre point forward at 5 units a second from the middle of its 10-unit cube:
    # after 2 s it is in the middle of the next cube, and the cube coordinates say so.
    atlas.hold(["w"], 2.0)
    flown = atlas.capture()
    check(ad.differing(stalks_again, flown, scene) > 2000, "flying forward changes the view")
    check(ad.differing_masks(stalks_again, flown, cube_text, ad.white) > 10, "the cube coordinates change")

    # The filter panel opens at the right edge. "G-Stars", the sixth row of the class list, lies
    # below its visible part: select "F-Stars", the fifth, and step down with the arrow key.
    panel_area = (W - 200, 0, W, H - 65)
    ad.move(W - 10, 300)
    panel = atlas.until(lambda p: ad.differing(flown, p, panel_area) > 3000, "the filter panel opens at the right edge")
    marks = ad.colour_masks(panel[40:80, W - 174])
    band = [40 + int(i) for i in (marks["yellow"] | marks["orange"]).nonzero()[0]]
    check(len(band) >= 8, "the class list shows its first row selected (%d rows)" % len(band), fatal=True)
    ad.click(W - 140, band[0] + 4 * (len(band) + 1) + len(band) // 2)
    ad.xdo("key", "Down")
    ad.move(*rest)
    lit_all = ad.count(flown, scene, ad.non_black)
    g_stars = atlas.until(lambda p: ad.count(p, scene, ad.non_black) < lit_all * 0.7,
                          "the G filter leaves fewer stars lit")
    before, after = ad.colour_histogram(flown, scene), ad.colour_histogram(g_stars, scene)
    check(after.get("red", 0) < max(10, before.get("red", 0) // 20), "the G filter hides the red M stars")
    check(after.get("yellow", 0) > 20, "yellow G stars remain (%s)" % after)

    # A hovered yellow star gets the cyan disc. A jump to a searched star moves the view away
    # from it: the disc must not stay behind in empty space. (Control+L takes the names away,
    # which would pass for spots.)
    ad.move(*rest)
    atlas.hold(["ctrl", "l"])
    g_stars = atlas.until(lambda p: ad.differing(p, g_stars, scene) > 100, "Control+L takes the names away")
    exclude = [(95, 95, 405, 145), (cx - 30, H - 140, cx + 120, H - 95), (cx - 20, cy - 20, cx + 20, cy + 20)]
    x, y, hovering = hovered_star(atlas, g_stars, exclude, central=True)
    disc = ad.colour_histogram(hovering, (x - 20, y - 20, x + 20, y + 20)).get("cyan", 0)
    check(disc > 2, "the hovered star gets the cyan disc (%d pixels)" % disc)

    # Typing into the search field writes the text and lists the match below it.
    ad.move(W - 10, 300)
    ad.click(W - 100, 510)
    empty = atlas.capture()
    ad.xdo("type", "--delay", "60", "sirius")
    results = (W - 180, 540, W - 20, 640)
    typed = atlas.until(lambda p: ad.differing(empty, p, results) > 40, "the list shows the match of \"sirius\"")
    ratio, ink = contrast(typed, (W - 176, 503, W - 24, 517))
    check(ratio >= 4.5 and ink >= 40, "typed text stands out from its field (contrast %.1f, %d pixels)" % (ratio, ink))
    row = results[1] + int((np.abs(ad.area(typed, results) - ad.area(empty, results)).sum(-1) > 60).any(1).argmax())
    atlas.double_click(W - 100, row + 5, lambda p: ad.differing(typed, p, scene) > 2000,
                       "a double click on the match jumps to the star")
    ad.move(*rest)
    field = atlas.until(lambda p: ad.differing(g_stars, p, panel_area) < 500, "the filter panel hides again")
    quiet = next((p for p in ((cx, H - 120), (cx - 60, H - 160), (cx + 80, H - 200), (60, 60))
                  if ad.named_on_hover(atlas, *p, field) is None), rest)
    jumped = atlas.steady()
    check(ad.colour_histogram(jumped, scene).get("cyan", 0) < 5,
          "after the jump no hover disc is left while no star is hovered (pointer at %s)" % (quiet,))

    # A click on a yellow star centres the view on it. A double click on another star away from
    # the centre opens that star's system, though its first click moved the star to the centre:
    # the star table names the star whose name the hover showed.
    x, y, hovering = hovered_star(atlas, jumped, exclude)
    ad.click(x, y)
    centred = atlas.until(lambda p: ad.differing(hovering, p, scene) > 1000, "a click on a star centres the view")
    x, y, hovering = hovered_star(atlas, centred, exclude + [(cx - 60, cy - 60, cx + 60, cy + 60)])
    name = name_ink(hovering, x, y)
    system = atlas.double_click(x, y, lambda p: ad.differing(hovering, p) > W * H // 5,
                                "the double click replaces the galaxy view", fatal=True)
    check(ad.count(system, cube_text, ad.white) < ad.count(centred, cube_text, ad.white) // 3,
          "the system view does not write the cube coordinates")
    m = int(W * 0.03)
    match = written_in(name, atlas.steady(), (m + 760, 286, W - m - 2, 316))
    check(match > 0.8, "the system opened is the double-clicked star's: its name heads the star table (%.2f)" % match)

    # One face was crossed while flying, and at most two more by centring on a star of a
    # neighbouring cube; the window was not shifted back and forth.
    atlas.stop()
    stats = [line.split() for line in atlas.output().splitlines() if line.startswith("frames ")]
    check(len(stats) == 1, "the frame statistics are printed at the end", fatal=True)
    crossings = int(stats[0][stats[0].index("crossings") + 1])
    check(1 <= crossings <= 3, "the window crossed cube faces 1 to 3 times (%d)" % crossings)


if __name__ == "__main__":
    sys.exit(ad.run(galaxy_view, extra_args=["--stats"]))
