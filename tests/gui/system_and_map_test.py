"""The system view and the map view driven like a user would: Sol's system opened by a double
click, stepping through planets and moons with the panel's buttons and the body thumbnails,
saving Sol to a folder (with textures) and the refused save of Sol to the cache; another
star's system saved to the cache once and not twice; then the map: Q at the whole width, E,
the wheel, panning, a bookmark added and saved from the bookmark panel, and a click on the map
that returns to the galaxy view at another cube. Ends with SIGTERM and status 0.

Run under Xvfb (ctest wraps it in xvfb-run):
    system_and_map_test.py --program build/release/starvane --data data
The pictures stay in the printed capture folder.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atlas_driver as ad  # noqa: E402

ad.ensure_pil()
import system_driver as sd  # noqa: E402

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
    atlas = sd.ExportAtlas(args.program, args.data)
    W, H = atlas.width, atlas.height
    cx, cy = W // 2, H // 2
    m = int(W * 0.03)
    mid = (W - 200) // 2
    bar_y = H - 30
    title = (m, 220, m + 300, 260)
    cube_box = (100, 100, 400, 140)
    edge_handle = (W - 18, (H - 60) // 2 - 150, W - 2, (H - 60) // 2 + 150)
    rest = (cx, H - 120)  # a resting place for the pointer, inside the window, off every control
    print("capture folder:", atlas.capture_dir)
    print("simulator root:", atlas.root)
    check(atlas.has_plugin, "the texture plug-in was copied into the root", fatal=True)
    system_path = map_path = None

    def title_of(picture):
        return ad.pixels(picture, title)

    def same(a, b, region, tolerance=0):
        return ad.differing(a, b, region) <= tolerance

    scene = (0, 0, W - 220, H - 65)
    scene_area = (scene[2] - scene[0]) * (scene[3] - scene[1])

    def in_system_view(picture):
        # The system view's bottom bar is filled with 0xff040555.
        return all(picture.getpixel((x, H - 5)) == (4, 5, 85) for x in (20, 400, W - 260))

    def in_map_view(picture):
        # The galaxy picture covers most of the window; the star field is mostly black.
        return not in_system_view(picture) and ad.count(picture, scene, ad.non_black) > scene_area * 0.4

    def in_galaxy_view(picture):
        return (not in_system_view(picture) and ad.count(picture, scene, ad.non_black) < scene_area * 0.3
                and ad.count(picture, cube_box, ad.white) > 30)

    try:
        ad.move(*rest)
        atlas.wait_until_drawn()
        time.sleep(1.5)
        galaxy = atlas.capture()
        check(sd.ink(galaxy, cube_box) > 40, "the galaxy view writes the cube coordinates")

        # ---- Sol's system: Sol sits at the view centre at start, a double click opens it.
        sd.double_click(cx, cy, settle=1.5)
        ad.move(*rest)
        mercury = atlas.capture()
        system_path = atlas.last_path
        check(ad.differing(galaxy, mercury) > W * H // 5, "the double click at the centre opens a system view",
              fatal=True)
        body_table = (m + 2, 272, m + 700, H - 70)
        check(sd.ink(mercury, body_table) > 1500,
              "the body table shows text (%d pixels)" % sd.ink(mercury, body_table))
        star_table = (m + 760, 272, W - m - 2, 500)
        check(sd.ink(mercury, star_table) > 400, "the star table shows text")
        strip = (m, 10, W - m, 210)
        lit = ad.count(mercury, strip, ad.non_black)
        check(lit > 1500, "the thumbnail strip shows the planets (%d lit pixels)" % lit)
        check(sd.ink(mercury, title) > 30, "the title above the body table names the body")
        check(in_system_view(mercury), "the system view draws its bottom bar")

        # ">>" twice: Venus, then Earth; ">" then shows Earth's moon.
        next_planet = (m + 440, 240)
        next_moon = (m + 630, 240)
        previous_moon = (m + 540, 240)
        ad.click(*next_planet, settle=0.6)
        venus = atlas.capture()
        check(not same(mercury, venus, title), "\">>\" changes the title (Mercury to Venus)")
        ad.click(*next_moon, settle=0.6)
        venus_again = atlas.capture()
        check(same(venus, venus_again, title), "\">\" on a planet without moons keeps the planet")
        ad.click(*next_planet, settle=0.6)
        earth = atlas.capture()
        check(not same(venus, earth, title) and not same(mercury, earth, title),
              "a second \">>\" shows a third body (Earth)")
        check(not same(venus, earth, body_table, 50), "the body table changes with the planet")
        ad.click(*next_moon, settle=0.6)
        moon = atlas.capture()
        check(not same(earth, moon, title), "\">\" steps from the planet to its first moon")
        ad.click(*previous_moon, settle=0.6)
        back = atlas.capture()
        check(same(earth, back, title), "\"<\" returns from the moon to its planet")

        # The thumbnails: slot = trunc(width * 0.97 / (n + 1)) with Sol's 8 planets, planets
        # centred on their slots, a planet's moons below it. The third one (ID 10200) is Earth,
        # the small one below it (10201) its moon.
        # A thumbnail click also scrolls the panel so that the body table's top sits 100 pixels
        # down: the title moves up by 170 pixels; "^" scrolls back to the top.
        slot = int((W - 2 * m) * 0.97 / 9)
        earth_x = m + 3 * slot
        scrolled_title = (title[0], title[1] - 170, title[2], title[3] - 170)
        e = int(W - W * 0.03)
        back_to_top = (e - 20, 240 - 170)

        def scrolled_same(reference, picture):
            return ad.pixels(reference, title) == ad.pixels(picture, scrolled_title)

        below = [y for y in range(92, 140) if ad.non_black(earth.getpixel((earth_x, y)))]
        check(len(below) >= 4, "a moon thumbnail lies below Earth's (%d lit rows)" % len(below))
        ad.click(earth_x, 50, settle=0.6)
        by_thumbnail = atlas.capture()
        check(scrolled_same(earth, by_thumbnail),
              "Earth's thumbnail (ID 10200) selects the third planet and scrolls the panel")
        ad.click(*back_to_top, settle=0.6)
        top_again = atlas.capture()
        check(same(earth, top_again, title), "\"^\" scrolls the panel back to the top")
        ad.click(m + slot, 50, settle=0.6)  # Mercury
        first = atlas.capture()
        check(scrolled_same(mercury, first), "Mercury's thumbnail (ID 10000) selects the first planet")
        ad.click(*back_to_top, settle=0.6)
        if below:
            ad.click(earth_x, below[0] + min(4, len(below) // 2), settle=0.6)
            moon_by_thumbnail = atlas.capture()
            check(scrolled_same(moon, moon_by_thumbnail),
                  "the moon's thumbnail (ID 10201) selects planet 3, moon 1")
            ad.click(*back_to_top, settle=0.6)

        # ---- Save to folder: SolSystem.cfg, Sol.svs and textures in Starvane/SavedSystems/Sol/.
        saved = atlas.path("Starvane", "SavedSystems", "Sol")
        # The export holds the main loop, so the next picture comes once it has finished.
        ad.click(mid + 255, bar_y, settle=0.5)
        ad.move(*rest)
        after_save = atlas.capture(timeout=120)
        check(os.path.isfile(os.path.join(saved, "SolSystem.cfg")), "Save to folder writes SolSystem.cfg")
        check(os.path.isfile(os.path.join(saved, "Sol.svs")), "Save to folder writes Sol.svs")
        textures = sd.files_under(os.path.join(saved, "Textures"))
        check(len(textures) > 0, "the plug-in writes textures into the folder's Textures (%d files)" % len(textures))
        check(in_system_view(after_save) and sd.ink(after_save, body_table) > 1500,
              "the system view is back after the export")

        # ---- Save to cache is refused for Sol (read from a custom file).
        cache_list = atlas.path("Starvane", "Cache.txt")
        cache_before = open(cache_list).read() if os.path.exists(cache_list) else None
        ad.click(mid - 85, bar_y, settle=2.5)
        check(not os.path.exists(atlas.path("Config", "StarvaneSystems", "Sol")),
              "Save to cache does nothing for Sol")
        cache_after = open(cache_list).read() if os.path.exists(cache_list) else None
        check(cache_after == cache_before, "the cache list is unchanged after Sol's refused save")

        # ---- Escape leaves the system view (for the map view, which a still held Escape leaves
        # too); from the map the galaxy button returns to the star field.
        # Held for a few frames: a tap whose press and release fall into one frame is not seen.
        ad.move(*rest)
        ad.hold(["Escape"], 0.15)
        time.sleep(0.5)
        after_escape = atlas.capture()
        check(not in_system_view(after_escape), "Escape leaves the system view")
        if in_map_view(after_escape):
            ad.click(W - 100, bar_y, settle=1.0)
        ad.move(*rest)
        time.sleep(0.5)
        field = atlas.capture()
        check(in_galaxy_view(field), "the star field of the galaxy view is shown again", fatal=True)

        # ---- Another star: hover to find one (its name appears), click it to centre it, and
        # double-click the centre to open its system.
        exclude = [(95, 95, 405, 145), (cx - 30, cy - 30, cx + 30, cy + 30), (rest[0] - 30, rest[1] - 30, W, H)]
        candidates = []
        for colour in ("yellow", "orange", "red"):
            candidates += ad.bright_blobs(field, (20, 20, W - 240, H - 80),
                                          lambda p, c=colour: ad.colour_class(p) == c, exclude)[:4]
        opened = None
        for size, x, y in candidates:
            ad.move(x, y, settle=0.5)
            hovering = atlas.capture()
            box = (x + 10, y - 2, x + 100, y + 16)
            if ad.count(hovering, box, ad.white) - ad.count(field, box, ad.white) < 10:
                continue
            ad.click(x, y, settle=1.5)
            centred = atlas.capture()
            sd.double_click(cx, cy, settle=1.5)
            ad.move(*rest)
            other = atlas.capture()
            if in_system_view(other):
                opened = other
                break
            # Not opened: make sure we are back in the galaxy view before the next try.
            ad.hold(["Escape"], 0.15)
            time.sleep(0.5)
            if in_map_view(atlas.capture()):
                ad.click(W - 100, bar_y, settle=0.8)
            ad.move(*rest, settle=0.5)
            field = atlas.capture()
        check(opened is not None, "a double click opens the system of another star", fatal=True)
        other_system_path = atlas.last_path
        check(not same(opened, mercury, title) or not same(opened, mercury, star_table, 50),
              "the other star's system view shows other data than Sol's")

        cache_root = atlas.path("Config", "StarvaneSystems")
        before = set(os.listdir(cache_root)) if os.path.isdir(cache_root) else set()
        ad.click(mid - 85, bar_y, settle=0.5)
        ad.move(*rest)
        atlas.capture(timeout=120)
        new = sorted(set(os.listdir(cache_root)) - before) if os.path.isdir(cache_root) else []
        check(len(new) == 1, "Save to cache makes one folder in Config/StarvaneSystems: %s" % new, fatal=True)
        name = new[0]
        folder = os.path.join(cache_root, name)
        snap = sd.snapshot(folder)
        check(len(snap) > 0, "the cache folder of %s holds files (%d)" % (name, len(snap)))
        cached = open(cache_list).read() if os.path.exists(cache_list) else ""
        check(name in [line.strip() for line in cached.splitlines()], "Cache.txt lists %r: %r" % (name, cached))
        ad.move(*rest)
        time.sleep(0.3)
        ad.click(mid - 85, bar_y, settle=1.0)
        ad.move(*rest)
        atlas.capture(timeout=120)
        check((open(cache_list).read() if os.path.exists(cache_list) else "") == cached,
              "a second Save to cache leaves the cache list unchanged")
        again = sd.snapshot(folder)
        rewritten = sorted(os.path.relpath(f, folder) for f in set(again) | set(snap) if again.get(f) != snap.get(f))
        check(not rewritten, "a second Save to cache rewrites nothing in the cache folder: %s" % rewritten[:8])

        # ---- The map view (corner button 501).
        ad.move(*rest)
        ad.click(W - 160, bar_y, settle=1.0)
        ad.move(*rest)
        pointer = (300, 300)
        ad.move(*pointer, settle=0.8)
        map_start = atlas.capture()
        map_path = atlas.last_path
        check(in_map_view(map_start), "the map button opens the map view", fatal=True)
        check(ad.count(map_start, (0, 0, W - 20, H), ad.non_black) > W * H // 4,
              "the map shows the galaxy picture")
        check(ad.count(map_start, (pointer[0] - 2, 0, pointer[0] + 3, H), ad.white) > H * 0.8,
              "the crosshair's vertical line runs through the pointer")
        ad.hold(["q"], 0.4)
        after_q = atlas.capture()
        check(ad.differing(map_start, after_q) < 200,
              "Q at the start zoom changes nothing (%d pixels)" % ad.differing(map_start, after_q))
        ad.hold(["e"], 0.3)
        after_e = atlas.capture()
        check(ad.differing(map_start, after_e) > 20000, "E zooms in")
        for _ in range(40):
            ad.xdo("click", 5)
            time.sleep(0.03)
        time.sleep(0.8)
        wheel_out = atlas.capture()
        check(ad.differing(map_start, wheel_out) < 200,
              "the wheel zooms out to the whole width and no further (%d pixels differ from the start)"
              % ad.differing(map_start, wheel_out))
        ad.hold(["e"], 0.3)
        ad.hold(["d"], 0.5)
        panned = atlas.capture()
        ad.hold(["s"], 0.5)
        panned_down = atlas.capture()
        check(ad.differing(after_e, panned) > 20000 and ad.differing(panned, panned_down) > 20000,
              "holding D and S pans the map")

        # ---- A bookmark: the panel opens at the right edge; name, Add, Save.
        ad.move(W - 8, 300, settle=0.6)
        panel = atlas.capture()
        check(ad.differing(panned_down, panel, (W - 200, 0, W - 20, H - 65)) > 5000,
              "the bookmark panel opens at the right edge")
        # The first folder of the folder list receives the bookmark.
        ad.click(W - 100, 17, settle=0.4)
        ad.click(W - 100, H - 145, settle=0.3)
        ad.xdo("key", "ctrl+a")
        time.sleep(0.2)
        ad.xdo("type", "--delay", "60", "probe_mark")
        time.sleep(0.5)
        ad.click(W - 150, H - 195, settle=0.5)  # Add
        ad.click(W - 150, H - 105, settle=1.0)  # Save
        hotspots = atlas.path("Starvane", "Galaxy", "MilkyWay", "HotSpots")
        sd.wait_for(lambda: os.path.exists(os.path.join(hotspots, "probe_mark.spt")), 5, atlas._alive)
        listing = sorted(os.listdir(hotspots))
        check("probe_mark.spt" in listing, "Save writes probe_mark.spt into HotSpots: %s" % listing)
        if "probe_mark.spt" in listing:
            text = open(os.path.join(hotspots, "probe_mark.spt")).read()
            check(any(line.startswith("probe_mark,") for line in text.splitlines()),
                  "the saved file holds the new bookmark: %r" % text[-200:])
        with_panel = atlas.capture()
        bookmark_path = atlas.last_path

        # ---- Back left (the panel hides), and a click on the map: the galaxy view at another cube.
        ad.move(*pointer, settle=0.8)
        hidden = atlas.capture()
        check(in_map_view(hidden) and ad.differing(with_panel, hidden, (W - 200, 0, W - 20, H - 65)) > 5000,
              "the bookmark panel hides when the pointer goes back left")
        ad.click(*pointer, settle=1.5)
        ad.move(*rest, settle=0.8)
        elsewhere = atlas.capture()
        check(in_galaxy_view(elsewhere), "a click on the map returns to the galaxy view")
        changed = ad.differing_masks(field, elsewhere, cube_box, ad.white)
        check(changed > 20, "the cube coordinates are those of another cube (%d pixels changed)" % changed)

        status = atlas.stop()
        check(status == 0, "SIGTERM ends the program with status 0 (got %s)" % status)
        complaints = [line for line in (atlas.stderr() + atlas.stdout()).splitlines() if line.startswith("starvane:")]
        check(not complaints, "the program printed no error line: %s" % complaints)
        print("picture of Sol's system view:", system_path)
        print("picture of the other system view:", other_system_path)
        print("picture of the map view:", map_path)
        print("picture of the bookmark panel:", bookmark_path)
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
