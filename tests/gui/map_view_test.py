"""The map view driven like a user would: opened with its button, zoomed with Q, E and the wheel,
panned, a bookmark added and saved, and a click that returns to the galaxy view elsewhere."""

import os
import sys

import atlas_driver as ad  # the script's own folder comes first on the module path
from atlas_driver import check


def map_view(atlas):
    W, H = atlas.width, atlas.height
    rest, pointer = (W // 2, H - 120), (300, 300)
    cube_text, panel_area = (100, 100, 400, 140), (W - 200, 0, W - 20, H - 65)
    field = atlas.capture()

    def in_galaxy_view(p):
        return (ad.count(p, cube_text, ad.white) > 30
                and ad.count(p, (0, 0, W - 220, H - 65), ad.non_black) < (W - 220) * (H - 65) * 0.3)

    def open_map(message):
        ad.click(W - 160, H - 30)
        ad.move(*pointer)
        return atlas.until(lambda p: ad.count(p, (0, 0, W - 20, H), ad.non_black) > W * H // 3
                           and ad.count(p, (pointer[0] - 2, 0, pointer[0] + 3, H), ad.white) > H * 0.8,
                           message)

    # The galaxy picture covers most of the window, with a crosshair through the pointer. At the
    # whole width D cannot pan: a click then lands on the cube drawn under it, 3.125 cubes a
    # pixel from the galactic centre in the window's middle (the bookmark below records it).
    start = open_map("the map button opens the map with a crosshair through the pointer")
    atlas.hold(["d"], 1.0)
    check(ad.differing(start, atlas.capture()) < 200, "D at the whole width leaves the picture where it is")
    ad.click(W // 2 + 160, H // 2 - 80)
    atlas.capture()
    ad.move(*rest)
    atlas.until(in_galaxy_view, "a click on the map opens the galaxy view there")
    start = open_map("the map opens again where it was")
    atlas.hold(["q"], 0.3)
    check(ad.differing(start, atlas.capture()) < 200, "Q at the start zoom changes nothing")
    atlas.hold(["e"], 0.3)
    zoomed = atlas.until(lambda p: ad.differing(start, p) > 20000, "E zooms in")
    for _ in range(40):
        ad.xdo("click", 5)
    atlas.until(lambda p: ad.differing(start, p) < 200, "the wheel zooms out to the whole width and no further")
    atlas.hold(["e"], 0.3)
    atlas.hold(["d"], 0.5)
    panned = atlas.until(lambda p: ad.differing(zoomed, p) > 20000, "holding D pans the map")
    atlas.hold(["s"], 0.5)
    panned = atlas.until(lambda p: ad.differing(panned, p) > 20000, "holding S pans the map")

    # ---- A bookmark: the panel opens at the right edge; the first folder of its list receives
    # the bookmark named in the field; Add, then Save writes the folder's file.
    ad.move(W - 8, 300)
    atlas.until(lambda p: ad.differing(panned, p, panel_area) > 5000, "the bookmark panel opens at the right edge")
    ad.click(W - 100, 17)
    ad.click(W - 100, H - 145)
    ad.xdo("key", "ctrl+a")
    ad.xdo("type", "--delay", "40", "probe_mark")
    atlas.capture()
    ad.click(W - 150, H - 195)  # Add
    atlas.capture()
    ad.click(W - 150, H - 105)  # Save
    with_panel = atlas.capture()
    mark = atlas.path("Starvane", "Galaxy", "MilkyWay", "HotSpots", "probe_mark.spt")
    lines = open(mark).read().splitlines() if os.path.exists(mark) else []
    marks = [line for line in lines if line.startswith("probe_mark,")]
    check(marks == ["probe_mark,500,250,0"], "the bookmark holds the cube the click landed on: %r" % marks)

    # ---- Back left the panel hides; a click on the map returns to the galaxy view elsewhere.
    ad.move(*pointer)
    atlas.until(lambda p: ad.differing(with_panel, p, panel_area) > 5000, "the panel hides when the pointer goes left")
    ad.click(*pointer)
    atlas.capture()  # the click is taken where the pointer is in the frame that sees it
    ad.move(*rest)
    elsewhere = atlas.until(in_galaxy_view, "a click on the map returns to the galaxy view")
    check(ad.differing_masks(field, elsewhere, cube_text, ad.white) > 20, "the cube coordinates are another cube's")


if __name__ == "__main__":
    sys.exit(ad.run(map_view))
