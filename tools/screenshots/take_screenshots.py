"""Takes the README's pictures of the atlas: the galaxy view at Sol, the search, a star's
system, a save in progress, the map and the bookmark panel. It drives the optimised build
under Xvfb like the GUI tests do, in a throw-away simulator root, and writes PNG files into
docs/images/.

    xvfb-run -a -s "-screen 0 1280x1024x24" python3 tools/screenshots/take_screenshots.py \\
        --program build/release/starvane --data data
"""

import os
import shutil
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
top = os.path.dirname(os.path.dirname(here))
sys.path.insert(0, os.path.join(top, "tests", "gui"))
import atlas_driver as ad  # noqa: E402 (may re-run this script with the Python that has numpy)
from PIL import Image  # noqa: E402

images = os.path.join(top, "docs", "images")


def keep(atlas, name):
    shutil.copy(atlas.last_path, os.path.join(images, name))
    print("wrote docs/images/" + name)


def tour(atlas):
    W, H = atlas.width, atlas.height
    cx, cy = W // 2, H // 2
    rest = (cx, H - 120)
    scene = (0, 0, W - 220, H - 65)
    away = atlas.capture()

    # The galaxy view at Sol, its name shown by hovering the centre.
    ad.move(cx + 1, cy)
    ad.move(cx, cy)
    atlas.until(lambda p: ad.differing(away, p, scene) > 50)
    time.sleep(0.5)
    atlas.capture()
    keep(atlas, "galaxy_sol.png")

    # The search: "procyon" in the filter panel's field, its match listed; a double click
    # jumps there.
    ad.move(W - 10, 300)
    ad.click(W - 100, 510)
    empty = atlas.capture()
    ad.xdo("type", "--delay", "60", "procyon")
    atlas.until(lambda p: ad.differing(empty, p, (W - 180, 540, W - 20, 640)) > 40)
    keep(atlas, "galaxy_search.png")
    for _ in range(2):  # a double click on the match
        ad.click(W - 100, 550)
        time.sleep(0.2)
    ad.move(*rest)
    time.sleep(1.0)

    # The star at the centre: a double click opens its system.
    field = atlas.capture()
    atlas.double_click(cx, cy, lambda p: ad.differing(field, p) > W * H // 5, None)
    ad.move(*rest)
    atlas.steady()
    keep(atlas, "system_view.png")

    # Save to cache, pictured from the X display while it runs (the program takes no picture
    # requests then).
    ad.click(245, H - 30)
    ad.move(*rest)
    bar = (W // 2 - 290, H // 2 - 7, W // 2 + 290, H // 2 + 11)
    for _ in range(100):  # a picture once the bar is a quarter full
        shot = atlas.screen()
        filled = ad.count(shot, bar, lambda a: (a[..., 0] > 90) & (a[..., 1] > 80) & (a[..., 2] < 90))
        if filled > (bar[2] - bar[0]) * (bar[3] - bar[1]) // 4:
            Image.fromarray(shot.astype("uint8")).save(os.path.join(images, "saving.png"))
            print("wrote docs/images/saving.png")
            break
        time.sleep(0.05)
    atlas.capture(timeout=180)
    atlas.steady()

    # The map with its crosshair, and the bookmark panel at its right edge.
    ad.click(W - 160, H - 30)
    ad.move(cx + 120, cy - 60)
    time.sleep(1.0)
    atlas.capture()
    keep(atlas, "map_view.png")
    ad.move(W - 8, 300)
    time.sleep(1.0)
    ad.click(W - 100, 17)
    time.sleep(0.5)
    atlas.capture()
    keep(atlas, "bookmarks.png")


if __name__ == "__main__":
    sys.exit(ad.run(tour, plugin=True))
