"""The system view driven like a user would: Sol's system opened by a double click, its planets
and moons stepped through with buttons and thumbnails, Sol saved to a folder with textures but
refused by the cache; then another star's system, saved to the cache once and not twice."""

import os
import sys
import time

import atlas_driver as ad  # the script's own folder comes first on the module path
from atlas_driver import check
import numpy as np


def snapshot(folder):
    """Sizes and modification times of every file under a folder."""
    files = [os.path.join(base, n) for base, _, names in os.walk(folder) for n in names]
    return {f: (os.path.getsize(f), os.path.getmtime(f)) for f in files}


def read(path):
    return open(path).read() if os.path.exists(path) else None


def system_view(atlas):
    W, H = atlas.width, atlas.height
    cx, cy = W // 2, H // 2
    m, bar_y = int(W * 0.03), H - 30
    save_to_cache, save_to_folder = 245, 485  # the bar's buttons, from its left end
    rest = (cx, H - 120)
    title = (m, 220, m + 300, 260)
    body_table, star_table = (m + 2, 272, m + 700, H - 70), (m + 760, 272, W - m - 2, 500)
    scene = (0, 0, W - 220, H - 65)

    def in_system_view(picture):  # the system view's bottom bar is filled with 0xff040555
        return all(tuple(picture[H - 5, x]) == (4, 5, 85) for x in (20, 400, W - 260))

    def press(x, y, test, message):
        ad.click(x, y)
        ad.move(*rest)
        return atlas.until(test, message)

    def same(a, b, region=title, tolerance=0):
        return ad.differing(a, b, region) <= tolerance

    def settled(x=None):  # clicks a button, two frames later; an export holds the main loop
        if x is not None:
            ad.click(x, bar_y)
            ad.move(*rest)
        atlas.capture(timeout=180)
        return atlas.capture()

    def to_galaxy():  # Escape, and the galaxy button in case Escape has led to the map
        atlas.hold(["Escape"])
        atlas.until(lambda p: not in_system_view(p), "Escape leaves the system view")
        return settled(W - 100)

    # ---- Sol sits at the view centre at start: a double click opens its system.
    mercury = atlas.double_click(cx, cy, lambda p: in_system_view(p) and ad.ink(p, body_table) > 1500,
                                 "a double click at the centre opens the system view with its body table", fatal=True)
    ad.move(*rest)
    mercury = atlas.steady()
    check(ad.ink(mercury, star_table) > 400, "the star table shows text")
    check(ad.count(mercury, (m, 10, W - m, 210), ad.non_black) > 1500, "the thumbnail strip shows the planets")
    check(ad.ink(mercury, title) > 30, "the title above the body table names the body")

    # Tables end above the panel's edge (H - 65) with whole rows: their blue ground stops short
    # of it, and no text reaches their last pixel rows. Those with hidden rows (Sol's body table
    # and list) show a vertical scroll bar, the star table none.
    def ground(a):
        return np.abs(a - (43, 44, 131)).sum(-1) < 12

    def bar_yellow(a):
        return (a[..., 0] > 90) & (a[..., 1] > 80) & (a[..., 2] < 90)

    for name, x, left, right in (("body table", m + 5, m + 2, m + 400), ("system list", W - m - 60, W - m - 400, W - m - 20)):
        rows = ground(mercury[:H - 65, x]).nonzero()[0]
        bottom = int(rows.max()) if len(rows) else H
        check(bottom < H - 67 and ad.count(mercury, (left, bottom - 3, right, bottom + 1), ad.white) == 0,
              "the %s ends with a whole row above the panel's edge (ground down to %d)" % (name, bottom))
    columns = int((bar_yellow(ad.area(mercury, (m, 272, W - m, H - 65))).sum(0) > 200).sum())
    check(columns >= 2, "the body table and the system list show vertical scroll bars (%d columns)" % columns)
    check(ad.count(mercury, (W - m - 200, 272, W - m - 30, 505), bar_yellow) == 0, "the star table has no scroll bar")

    # ">>" twice: Venus, then Earth; ">" then shows Earth's moon and "<" goes back.
    next_planet, next_moon, previous_moon = (m + 440, 240), (m + 630, 240), (m + 540, 240)
    venus = press(*next_planet, lambda p: not same(mercury, p), "\">>\" changes the title (Mercury to Venus)")
    ad.click(*next_moon)
    check(same(venus, settled()), "\">\" on a planet without moons keeps the planet")
    earth = press(*next_planet, lambda p: not same(venus, p) and not same(mercury, p), "a second \">>\" shows Earth")
    check(not same(venus, earth, body_table, 50), "the body table changes with the planet")
    moon = press(*next_moon, lambda p: not same(earth, p), "\">\" steps from the planet to its first moon")
    press(*previous_moon, lambda p: same(earth, p), "\"<\" returns from the moon to its planet")

    # Thumbnail slots are trunc(width * 0.97 / (n + 1)) wide for Sol's 8 planets, planets centred
    # on them, moons below. A thumbnail click scrolls the panel so that the title moves up by
    # 170 pixels; "^" scrolls back to the top.
    slot = int((W - 2 * m) * 0.97 / 9)
    earth_x = m + 3 * slot
    scrolled = (title[0], title[1] - 170, title[2], title[3] - 170)
    back_to_top = (W - m - 20, 240 - 170)
    below = [92 + int(i) for i in ad.non_black(earth[92:140, earth_x]).nonzero()[0]]
    check(len(below) >= 4, "a moon thumbnail lies below Earth's (%d lit rows)" % len(below))
    for x, y, body, name in ((earth_x, 50, earth, "Earth's thumbnail (ID 10200)"),
                             (m + slot, 50, mercury, "Mercury's thumbnail (ID 10000)"),
                             (earth_x, (below or [100])[0] + 2, moon, "the moon's thumbnail (ID 10201)")):
        press(x, y, lambda p: (ad.area(body, title) == ad.area(p, scrolled)).all(), name + " selects its body and scrolls")
        press(*back_to_top, lambda p: same(body, p), "\"^\" scrolls the panel back to the top")

    # ---- Save to folder: SolSystem.cfg, Sol.svs and textures in Starvane/SavedSystems/Sol/.
    # The export holds the main loop, so the next picture comes once it has finished.
    check(os.path.exists(atlas.path("texgen.so")), "the texture plug-in was copied into the root", fatal=True)
    saved = atlas.path("Starvane", "SavedSystems", "Sol")
    # While it saves, the view stays, dimmed, under a bar that fills as the bodies are done.
    width = min(600, W - 80)
    bar, fills = ((W - width) // 2 + 3, H // 2 - 7, (W + width) // 2 - 3, H // 2 + 11), []
    ad.click(save_to_folder, bar_y)
    ad.move(*rest)
    deadline = time.time() + 60
    while time.time() < deadline and (len(fills) < 2 or fills[-1][0] <= fills[0][0]):
        shot = atlas.screen()
        if ad.count(shot, bar, bar_yellow) > 0:
            fills.append((ad.count(shot, bar, bar_yellow), ad.count(shot, (0, 0, W, H - 65), ad.non_black)))
        time.sleep(0.2)
    check(len(fills) >= 2 and fills[-1][0] > fills[0][0], "saving shows a bar that fills: %s" % (fills[:1] + fills[-1:]))
    check(bool(fills) and min(lit for _, lit in fills) > 20000, "the dimmed view shows around the bar: %s" % fills[:3])
    after_save = settled()
    for name in ("SolSystem.cfg", "Sol.svs"):
        check(os.path.isfile(os.path.join(saved, name)), "Save to folder writes " + name)
    check(len(snapshot(os.path.join(saved, "Textures"))) > 0, "the plug-in writes textures into the folder")
    check(in_system_view(after_save) and ad.ink(after_save, body_table) > 1500, "the system view is back after the export")

    # ---- Save to cache is refused for Sol (read from a custom file).
    cache_list, cache_root = atlas.path("Starvane", "Cache.txt"), atlas.path("Config", "StarvaneSystems")
    cache_before = read(cache_list)
    settled(save_to_cache)
    check(not os.path.exists(os.path.join(cache_root, "Sol")), "Save to cache does nothing for Sol")
    check(read(cache_list) == cache_before, "the cache list is unchanged after Sol's refused save")

    # ---- Escape leaves the system view, and the galaxy button shows the star field.
    to_galaxy()
    field = atlas.until(lambda p: not in_system_view(p) and ad.count(p, (100, 100, 400, 140), ad.white) > 30
                        and ad.count(p, scene, ad.non_black) < ad.area(p, scene)[..., 0].size * 0.3,
                        "Escape and the galaxy button show the star field again")

    # ---- Another star: one that names itself when hovered; a click centres it and a double
    # click at the centre opens its system.
    exclude = [(95, 95, 405, 145), (cx - 30, cy - 30, cx + 30, cy + 30), (rest[0] - 30, rest[1] - 30, W, H)]
    candidates = [blob for colour in ("yellow", "orange", "red")
                  for blob in ad.bright_blobs(field, (20, 20, W - 240, H - 80), ad.colour(colour), exclude)[:4]]
    other = None
    for size, x, y in candidates:
        if ad.named_on_hover(atlas, x, y, field) is None:
            continue
        ad.click(x, y)
        atlas.until(lambda p: ad.differing(field, p, scene) > 1000, "a click on a star centres the view")
        other = atlas.double_click(cx, cy, in_system_view, None)
        ad.move(*rest)
        if in_system_view(other):
            break
        field = to_galaxy()
    check(other is not None and in_system_view(other), "a double click opens another star's system", fatal=True)
    check(not same(other, mercury) or not same(other, mercury, star_table, 50), "it shows other data than Sol's")

    before = set(os.listdir(cache_root)) if os.path.isdir(cache_root) else set()
    settled(save_to_cache)
    new = sorted(set(os.listdir(cache_root)) - before) if os.path.isdir(cache_root) else []
    check(len(new) == 1, "Save to cache makes one folder in Config/StarvaneSystems: %s" % new, fatal=True)
    folder = os.path.join(cache_root, new[0])
    first = snapshot(folder)
    cached = read(cache_list) or ""
    check(len(first) > 0, "the cache folder holds files (%d)" % len(first))
    check(new[0] in [line.strip() for line in cached.splitlines()], "Cache.txt lists %r: %r" % (new[0], cached))
    again = settled(save_to_cache)
    check(read(cache_list) == cached, "a second Save to cache leaves the cache list unchanged")
    # Its message ("... is in the cache already.") stands between the buttons and the corner.
    # ("Set waypoint" and "Set as target" come and go with the star's place on the route, so they
    # are left out of the comparison.)
    message_place = (610, H - 58, W - 212, H - 2)
    buttons = [(0, H - 60, 65, H), (185, H - 60, 305, H), (425, H - 60, 605, H)]
    check(ad.ink(again, message_place) > 100 and all(ad.differing(mercury, again, b) == 0 for b in buttons),
          "the message has its own place in the bar and leaves the buttons as they were")
    check(snapshot(folder) == first, "a second Save to cache rewrites nothing in the cache folder")


if __name__ == "__main__":
    sys.exit(ad.run(system_view, plugin=True))
