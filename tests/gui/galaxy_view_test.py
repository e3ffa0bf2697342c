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

    # Typing into the search field writes the text and lists the match below it.
    ad.move(W - 10, 300)
    ad.click(W - 100, 510)
    empty = atlas.capture()
    ad.xdo("type", "--delay", "60", "sirius")
    typed = atlas.until(lambda p: ad.differing(empty, p, (W - 180, 540, W - 20, 640)) > 40,
                        "the list shows the match of \"sirius\"")
    ratio, ink = contrast(typed, (W - 176, 503, W - 24, 517))
    check(ratio >= 4.5 and ink >= 40, "typed text stands out from its field (contrast %.1f, %d pixels)" % (ratio, ink))

    # A click on a yellow star centres the view on it; a double click there opens its system.
    ad.move(*rest)
    field = atlas.until(lambda p: ad.differing(g_stars, p, panel_area) < 500, "the filter panel hides again")
    exclude = [(95, 95, 405, 145), (cx - 30, H - 140, cx + 120, H - 95), (cx - 20, cy - 20, cx + 20, cy + 20)]
    for size, x, y in ad.bright_blobs(field, (20, 20, W - 240, H - 80), ad.colour("yellow"), exclude)[:6]:
        hovering = ad.named_on_hover(atlas, x, y, field)
        if hovering is None:
            continue  # not a star's marker after all
        ad.click(x, y)
        centred = atlas.until(lambda p: ad.differing(hovering, p, scene) > 1000, "a click on a star centres the view")
        # The pick at the exact centre pixel may miss a tiny marker: look for the name nearby.
        spot = next(((cx + dx, cy + dy) for dx, dy in ((0, 0), (1, 0), (0, 1), (-1, 0), (1, 1))
                     if ad.named_on_hover(atlas, cx + dx, cy + dy, centred) is not None), (cx, cy))
        system = atlas.double_click(*spot, lambda p: ad.differing(centred, p) > W * H // 5,
                                    "the double click replaces the galaxy view")
        check(ad.count(system, cube_text, ad.white) < ad.count(centred, cube_text, ad.white) // 3,
              "the system view does not write the cube coordinates")
        break
    else:
        check(False, "one of the yellow spots is a star that shows its name when hovered")

    # One face was crossed while flying, and at most two more by centring on a star of a
    # neighbouring cube; the window was not shifted back and forth.
    atlas.stop()
    stats = [line.split() for line in atlas.output().splitlines() if line.startswith("frames ")]
    check(len(stats) == 1, "the frame statistics are printed at the end", fatal=True)
    crossings = int(stats[0][stats[0].index("crossings") + 1])
    check(1 <= crossings <= 3, "the window crossed cube faces 1 to 3 times (%d)" % crossings)


if __name__ == "__main__":
    sys.exit(ad.run(galaxy_view, extra_args=["--stats"]))
