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

    # The galaxy picture covers most of the window, with a crosshair through the pointer.
    ad.click(W - 160, H - 30)
    ad.move(*pointer)
    start = atlas.until(lambda p: ad.count(p, (0, 0, W - 20, H), ad.non_black) > W * H // 3
                        and ad.count(p, (pointer[0] - 2, 0, pointer[0] + 3, H), ad.white) > H * 0.8,
                        "the map button opens the map with a crosshair through the pointer")
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
    check(any(line.startswith("probe_mark,") for line in lines), "Save writes the bookmark into probe_mark.spt")

    # ---- Back left the panel hides; a click on the map returns to the galaxy view elsewhere.
    ad.move(*pointer)
    atlas.until(lambda p: ad.differing(with_panel, p, panel_area) > 5000, "the panel hides when the pointer goes left")
    ad.click(*pointer)
    atlas.capture()  # the click is taken where the pointer is in the frame that sees it
    ad.move(*rest)
    elsewhere = atlas.until(lambda p: ad.count(p, cube_text, ad.white) > 30
                            and ad.count(p, (0, 0, W - 220, H - 65), ad.non_black) < (W - 220) * (H - 65) * 0.3,
                            "a click on the map returns to the galaxy view")
    check(ad.differing_masks(field, elsewhere, cube_text, ad.white) > 20, "the cube coordinates are another cube's")


if __name__ == "__main__":
    sys.exit(ad.run(map_view))
