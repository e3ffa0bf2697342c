"""One "Save to cache" in the atlas, done as a person would: the star found through the search
field, its system opened by a double click at the view centre, the bar's "Save to cache"
pressed. Prints the seconds the atlas reports for the save (its --stats line "save-ms MS bodies
N"), or nothing for an atlas that does not report saves. A fresh simulator root each run, with
the texture plug-in of the program's build copied into it.

    python3 bench/atlas_save.py --program BUILD/starvane --data data [--star Procyon]

Needs a display (DISPLAY, e.g. through xvfb-run -a) and xdotool. Shares the GUI tests' driver."""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "gui"))
import atlas_driver as ad  # noqa: E402 (re-runs the script with a Python that has numpy)
import numpy as np  # noqa: E402

SAVE_TO_CACHE = 245  # the bar's button, from its left end
SAVE_TIMEOUT = 600   # seconds: a save under heavy load


def in_system_view(atlas, picture):  # the system view's bottom bar is filled with 0xff040555
    return all(tuple(picture[atlas.height - 5, x]) == (4, 5, 85) for x in (20, 400, atlas.width - 260))


def fail(message):
    raise AssertionError(message)


def open_system(atlas, star):
    """Types the star's name into the search field, jumps to the first match and opens the
    system of the star the jump centred."""
    W, H = atlas.width, atlas.height
    scene = (0, 0, W - 220, H - 65)
    ad.move(W - 10, 300)  # the filter panel with the search field slides out at the edge
    ad.click(W - 100, 510)
    empty = atlas.capture()
    ad.xdo("type", "--delay", "60", star.lower())
    results = (W - 180, 540, W - 20, 640)
    typed = atlas.until(lambda p: ad.differing(empty, p, results) > 40)
    if ad.differing(empty, typed, results) <= 40:
        fail("the search lists no match for %s" % star)
    row = results[1] + int((np.abs(ad.area(typed, results) - ad.area(empty, results)).sum(-1) > 60).any(1).argmax())
    jumped = atlas.double_click(W - 100, row + 5, lambda p: ad.differing(typed, p, scene) > 2000, None)
    if ad.differing(typed, jumped, scene) <= 2000:
        fail("a double click on the match does not jump to %s" % star)
    ad.move(W // 2, H - 120)
    atlas.steady()
    shown = atlas.double_click(W // 2, H // 2, lambda p: in_system_view(atlas, p), None)
    if not in_system_view(atlas, shown):
        fail("a double click at the centre does not open %s's system" % star)
    ad.move(W // 2, H - 120)
    atlas.steady()


def save_seconds(atlas, star):
    """Presses "Save to cache" and waits for the atlas's report of the save."""
    ad.click(SAVE_TO_CACHE, atlas.height - 30)
    ad.move(atlas.width // 2, atlas.height - 120)
    deadline = time.time() + SAVE_TIMEOUT
    while time.time() < deadline:
        atlas.alive()
        lines = [line.split() for line in atlas.output().splitlines() if line.startswith("save-ms ")]
        if lines:
            if not os.path.isdir(atlas.path("Config", "StarvaneSystems", star)):
                fail("the save did not export %s (%s)" % (star, " ".join(lines[0])))
            return float(lines[0][1]) / 1000.0
        time.sleep(0.1)
    fail("no save-ms line within %d s" % SAVE_TIMEOUT)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--star", default="Procyon")
    args = parser.parse_args()
    with open(args.program, "rb") as program:
        if b"save-ms" not in program.read():
            return 0  # an atlas that does not report its saves
    atlas = ad.Atlas(args.program, args.data, extra_args=["--stats"], plugin=True)
    try:
        if not os.path.exists(atlas.path("texgen.so")):
            fail("no texture plug-in next to %s" % args.program)
        atlas.wait_until_drawn()
        for x in (atlas.width // 2 + 1, atlas.width // 2):  # inside the window, off every control
            ad.move(x, atlas.height - 120)
        atlas.steady()
        open_system(atlas, args.star)
        print("%.3f" % save_seconds(atlas, args.star))
        atlas.stop()
        ad.shutil.rmtree(atlas.capture_dir, ignore_errors=True)  # kept only when something failed
        return 0
    except AssertionError as failure:
        print("atlas_save: %s (pictures in %s)" % (failure, atlas.capture_dir), file=sys.stderr)
        return 1
    finally:
        if atlas.process.poll() is None:
            atlas.process.kill()
        atlas.process.wait()
        ad.shutil.rmtree(atlas.root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
