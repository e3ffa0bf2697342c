"""The galaxy view driven like a user would: the start picture at Sol, hovering, the stalks
switch, flying across a cube face, the class filter, the name search, and a double click
that opens a star's system; then a clean stop with SIGTERM.

Run under Xvfb (ctest wraps it in xvfb-run):
    galaxy_view_test.py --program build/release/starvane --data data
The pictures stay in the printed capture folder for inspection.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atlas_driver as ad  # noqa: E402

ad.ensure_pil()


failures = ad.failures
check = ad.check


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--data", required=True)
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("no DISPLAY: run this under xvfb-run", file=sys.stderr)
        return 1

    started = time.time()
    atlas = ad.Atlas(args.program, args.data, ["--stats"])
    W, H = atlas.width, atlas.height
    cx, cy = W // 2, H // 2
    # The 3D area that no panel or overlay covers while the side panels are hidden.
    scene = (0, 0, W - 220, H - 65)
    overlays = [(95, 95, 405, 145)]  # the cube coordinates
    print("capture folder:", atlas.capture_dir)
    try:
        # Keep the pointer inside the window (keys follow it) and away from the left edge,
        # where the route panel opens.
        ad.move(cx, H - 120)
        atlas.wait_until_drawn()
        time.sleep(1.0)
        away = atlas.capture()

        # At Sol: a star field of several colours, and the cube coordinates.
        ad.move(cx, cy, settle=0.6)
        at_sol = atlas.capture()
        sol_path = atlas.last_path
        lit = ad.count(at_sol, scene, ad.non_black)
        check(lit > 5000, "the start picture shows the star field (%d lit pixels)" % lit)
        colours = ad.colour_histogram(at_sol, scene)
        marker_colours = [name for name, n in colours.items() if n >= 20 and name != "cyan"]
        check(len(marker_colours) >= 3, "stars of several colours are drawn: %s" % colours)
        check(ad.count(at_sol, scene, ad.grid_green) > 500, "the green grid of the cube's middle plane is drawn")
        cube_text = ad.count(at_sol, (100, 100, 400, 140), ad.white)
        check(cube_text > 40, "the cube coordinates 0/-798/2 are written (%d white pixels)" % cube_text)
        # Sol lies at the centre point: hovering it writes its name right of the pointer.
        name_box = (cx + 10, cy - 2, cx + 100, cy + 16)
        hover_text = ad.count(at_sol, name_box, ad.white) - ad.count(away, name_box, ad.white)
        check(hover_text > 15, "hovering the star at the centre writes its name (%d new white pixels)" % hover_text)
        check(ad.colour_histogram(at_sol, (cx - 15, cy - 15, cx + 15, cy + 15)).get("cyan", 0) > 10,
              "the hovered star gets the cyan disc")

        # Stalks: Control+S removes the centre cube's stalks, and again brings them back.
        ad.move(cx, H - 120)
        with_stalks = atlas.capture()
        ad.hold(["ctrl", "s"], 0.25)
        without_stalks = atlas.capture()
        changed = ad.differing(with_stalks, without_stalks, scene)
        lit_with = ad.count(with_stalks, scene, ad.non_black)
        lit_without = ad.count(without_stalks, scene, ad.non_black)
        check(changed > 300 and lit_without < lit_with,
              "Control+S takes the stalks away (%d pixels changed, lit %d -> %d)" % (changed, lit_with, lit_without))
        ad.hold(["ctrl", "s"], 0.25)
        stalks_again = atlas.capture()
        lit_again = ad.count(stalks_again, scene, ad.non_black)
        check(lit_again > lit_without and ad.differing(stalks_again, with_stalks, scene) < changed // 4,
              "a second Control+S brings them back (lit %d)" % lit_again)

        # Flying: W moves the centre point forward at 5 units a second. It starts in the middle
        # of its 10-unit cube, so after 2 s it has crossed one face and is in the middle of the
        # next cube; the cube coordinates say so.
        ad.hold(["w"], 2.0)
        flown = atlas.capture()
        moved = ad.differing(stalks_again, flown, scene)
        check(moved > 2000, "flying forward changes the view (%d pixels)" % moved)
        text_change = ad.differing_masks(stalks_again, flown, (100, 100, 400, 140), ad.white)
        check(text_change > 10, "the cube coordinates changed after crossing a face (%d pixels)" % text_change)

        # Filter panel: the pointer at the right edge opens it.
        ad.move(W - 10, 300, settle=0.6)
        panel = atlas.capture()
        panel_area = (W - 200, 0, W, H - 65)
        check(ad.differing(flown, panel, panel_area) > 3000, "the filter panel opens at the right edge")
        ad.move(cx, H - 120, settle=0.6)
        all_stars = atlas.capture()
        ad.move(W - 10, 300, settle=0.6)
        # The class list's rows: the selected first row is the highlighted band at its top.
        list_left, list_top = W - 180, 40
        band = [y for y in range(list_top, list_top + 40)
                if ad.colour_class(panel.getpixel((list_left + 6, y))) in ("yellow", "orange")]
        check(len(band) >= 8, "the class list shows its first row selected (%d rows of highlight)" % len(band),
              fatal=True)
        row = len(band) + 1
        # "G-Stars" is the sixth row, below the list's visible part: select "F-Stars", the
        # fifth, with the mouse and step down one row with the arrow key.
        ad.click(list_left + 40, band[0] + 4 * row + row // 2)
        ad.hold(["Down"], 0.15)
        ad.move(cx, H - 120, settle=0.6)
        g_stars = atlas.capture()
        before = ad.colour_histogram(all_stars, scene)
        after = ad.colour_histogram(g_stars, scene)
        lit_all = ad.count(all_stars, scene, ad.non_black)
        lit_g = ad.count(g_stars, scene, ad.non_black)
        check(lit_g < lit_all * 0.7, "the G filter leaves fewer stars lit (%d -> %d pixels)" % (lit_all, lit_g))
        check(after.get("red", 0) < max(10, before.get("red", 0) // 20),
              "the G filter hides the red M stars (%s -> %s)" % (before.get("red"), after.get("red")))
        check(after.get("yellow", 0) > 20, "yellow G stars remain (%s)" % after)

        # Name search: typing into the search field lists the matches below it.
        ad.move(W - 10, 300, settle=0.6)
        ad.click(W - 100, 510)
        empty_list = atlas.capture()
        ad.xdo("type", "--delay", "80", "sirius")
        time.sleep(0.8)
        searched = atlas.capture()
        search_path = atlas.last_path
        results = (W - 180, 540, W - 20, 640)
        listed = ad.differing(empty_list, searched, results)
        check(listed > 40, "the result list shows an entry for \"sirius\" (%d pixels)" % listed)
        typed = ad.differing(empty_list, searched, (W - 180, 500, W - 20, 520))
        check(typed > 20, "the search field shows the typed text (%d pixels)" % typed)

        # Double click: hover a visible star, click it once (the view centres on it), then
        # double-click it at the screen centre, which opens its system.
        ad.move(cx, H - 120, settle=0.6)
        field = atlas.capture()
        exclude = overlays + [(cx - 30, H - 140, cx + 120, H - 95), (cx - 20, cy - 20, cx + 20, cy + 20)]
        candidates = ad.bright_blobs(field, (20, 20, W - 240, H - 80),
                                     lambda p: ad.colour_class(p) == "yellow", exclude)
        check(len(candidates) > 0, "a yellow star can be found in the picture", fatal=True)
        opened = False
        system_path = None
        for size, x, y in candidates[:6]:
            ad.move(x, y, settle=0.5)
            hovering = atlas.capture()
            box = (x + 10, y - 2, x + 100, y + 16)
            if ad.count(hovering, box, ad.white) - ad.count(field, box, ad.white) < 10:
                continue  # not a star's marker after all (no name appears)
            ad.click(x, y, settle=1.5)  # centres the star; the double-click timer runs out
            centred = atlas.capture()
            check(ad.differing(hovering, centred, scene) > 1000, "a click on a star centres the view on it")
            # The star is now at the centre; double-click where hovering names it (the pick
            # at the exact centre pixel may miss a tiny marker).
            spot = (cx, cy)
            for dx, dy in ((0, 0), (1, 0), (0, 1), (-1, 0), (1, 1)):
                ad.move(cx + dx, cy + dy, settle=0.4)
                probe = atlas.capture()
                box = (cx + dx + 10, cy + dy - 2, cx + dx + 100, cy + dy + 16)
                if ad.count(probe, box, ad.white) - ad.count(centred, box, ad.white) >= 10:
                    spot = (cx + dx, cy + dy)
                    break
            ad.move(*spot, settle=0.3)
            ad.xdo("click", "--repeat", "2", "--delay", "120", 1)
            time.sleep(1.0)
            system = atlas.capture()
            whole = (0, 0, W, H)
            changed = ad.differing(centred, system, whole)
            check(changed > W * H // 5, "the double click replaces the galaxy view (%d pixels changed)" % changed)
            text_box = (100, 100, 400, 140)
            cube_text = [i for i, p in enumerate(ad.pixels(centred, text_box)) if ad.white(p)]
            still = ad.pixels(system, text_box)
            kept = sum(1 for i in cube_text if ad.white(still[i]))
            check(len(cube_text) > 40 and kept < len(cube_text) // 3,
                  "the system view does not write the cube coordinates (%d of %d pixels kept)"
                  % (kept, len(cube_text)))
            system_path = atlas.last_path
            opened = True
            break
        check(opened, "one of the yellow spots was a star that shows its name when hovered")

        status = atlas.stop()
        check(status == 0, "SIGTERM ends the program with status 0 (got %s)" % status)
        # One face was crossed while flying, and at most one or two more by centring on a star
        # of a neighbouring cube; the window must not have been shifted back and forth.
        stats = [line.split() for line in atlas.stdout().splitlines() if line.startswith("frames ")]
        check(len(stats) == 1, "the frame statistics are printed at the end", fatal=True)
        crossings = int(stats[0][stats[0].index("crossings") + 1])
        check(1 <= crossings <= 3, "the window crossed cube faces 1 to 3 times (%d)" % crossings)
        complaints = [line for line in (atlas.stderr() + atlas.stdout()).splitlines() if line.startswith("starvane:")]
        check(not complaints, "the program printed no error line: %s" % complaints)
        print("picture at Sol:", sol_path)
        print("picture after the search:", search_path)
        print("picture of the system view:", system_path)
        print("total %.1f s" % (time.time() - started))
        if failures:
            print("%d checks failed:" % len(failures), *failures, sep="\n  ", file=sys.stderr)
            print("pictures in", atlas.capture_dir, file=sys.stderr)
            return 1
        return 0
    except AssertionError as failure:
        print("FAILED:", failure, file=sys.stderr)
        print("pictures in", atlas.capture_dir, file=sys.stderr)
        return 1
    finally:
        atlas.cleanup()


if __name__ == "__main__":
    sys.exit(main())
