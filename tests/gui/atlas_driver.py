"""Drives the atlas under Xvfb for the GUI tests: a throw-away simulator root (optionally with
the texture plug-in), pictures on request (SIGUSR1 writes the back buffer as frame-NNN.png),
input through xdotool, pixel statistics, and the run of one test ending with a clean stop.
The window has no window manager, so it sits at (0, 0); keys reach it only while the pointer
is over it. Steps poll for the picture they expect instead of sleeping a fixed time. A test runs
as: xvfb-run -a python3 tests/gui/NAME_test.py --program build/release/starvane --data data"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

try:
    import numpy as np
    from PIL import Image
except ImportError:  # re-run with Debian's python3, which has both
    if os.path.realpath(sys.executable) == "/usr/bin/python3":
        raise
    os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)

failures = []


def check(condition, message, fatal=False):
    """Records a failed check and goes on, unless later steps depend on it."""
    print("ok:" if condition else "FAILED:", message)
    if not condition and fatal:
        raise AssertionError(message)
    if not condition:
        failures.append(message)
    return condition


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)
    time.sleep(0.1 if args[0] in ("mousemove", "click") else 0)


def move(x, y):
    xdo("mousemove", x, y)


def click(x, y):
    move(x, y)
    xdo("click", 1)


class Atlas:
    """One run of the program in its own root, with pictures written to a capture folder."""

    def __init__(self, program, data_dir, extra_args=(), plugin=False):
        self.root = tempfile.mkdtemp(prefix="starvane-root-")
        shutil.copytree(os.path.join(data_dir, "Starvane"), self.path("Starvane"))
        for folder in ("Config/EPP", "Config/UMMUPermanentBase", "Textures"):
            os.makedirs(self.path(folder))
        built = os.path.join(os.path.dirname(os.path.abspath(program)), "texgen", "texgen.so")
        if plugin and os.path.exists(built):
            shutil.copy(built, self.path("texgen.so"))
        with open(self.path("Starvane", "Starvane.cfg")) as config:
            self.width, self.height = (int(line) for line in config.read().split("\n")[1:3])
        self.capture_dir = tempfile.mkdtemp(prefix="starvane-frames-")
        self.requested = 0
        self.status = None
        self.log = open(os.path.join(self.capture_dir, "output.txt"), "w")
        self.process = subprocess.Popen(
            [program, "--root", self.root, "--capture-dir", self.capture_dir] + list(extra_args),
            stdout=self.log, stderr=subprocess.STDOUT)

    def catches(self, signum):
        """True once the program has installed a handler for the signal."""
        caught = [line.split()[1] for line in open("/proc/%d/status" % self.process.pid) if line.startswith("SigCgt:")]
        return bool(caught) and bool(int(caught[0], 16) >> (signum - 1) & 1)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def output(self):
        self.log.flush()
        return open(self.log.name).read()

    def alive(self):
        if self.process.poll() is not None:
            raise AssertionError("the program ended early with status %s:\n%s"
                                 % (self.process.returncode, self.output()))

    def _load(self, number, deadline):
        self.last_path = os.path.join(self.capture_dir, "frame-%03d.png" % number)
        while time.time() < deadline:
            self.alive()
            try:
                with Image.open(self.last_path) as picture:
                    return np.asarray(picture.convert("RGB"), dtype=np.int16)
            except (OSError, SyntaxError):
                time.sleep(0.05)  # not there or still being written
        raise AssertionError("no picture %s within the time allowed" % self.last_path)

    def capture(self, timeout=20.0):
        """The next frame drawn after this call, as rows of RGB pixels (its file in last_path)."""
        self.requested += 1
        self.process.send_signal(signal.SIGUSR1)
        return self._load(self.requested, time.time() + timeout)

    def screen(self):
        """The window as the X server shows it now, as rows of RGB pixels: for the frames the
        program draws outside its loop (while saving), when it takes no picture requests."""
        from PIL import ImageGrab
        with ImageGrab.grab(xdisplay=os.environ.get("DISPLAY")) as picture:
            return np.asarray(picture.convert("RGB").crop((0, 0, self.width, self.height)), dtype=np.int16)

    def wait_until_drawn(self, timeout=60.0):
        """The first picture, asked for once the program handles the signal (which would end
        it before)."""
        deadline = time.time() + timeout
        while not self.catches(signal.SIGUSR1):
            self.alive()
            if time.time() > deadline:
                raise AssertionError("the program did not get ready within %.0f s" % timeout)
            time.sleep(0.1)
        return self.capture(timeout)

    def until(self, test, message=None, timeout=8.0):
        """Captures until test(picture) holds; checks that it did (given a message); returns
        the last picture."""
        deadline = time.time() + timeout
        picture = self.capture()
        while not test(picture) and time.time() < deadline:
            picture = self.capture()
        if message is not None:
            check(test(picture), message)
        return picture

    def steady(self, timeout=8.0):
        """Captures until two pictures running are alike (the view has settled); the last."""
        deadline = time.time() + timeout
        previous, picture = self.capture(), self.capture()
        while differing(previous, picture) > 50 and time.time() < deadline:
            previous, picture = picture, self.capture()
        return picture

    def double_click(self, x, y, test, message, fatal=False):
        """Double-clicks until test(picture) holds, with other gaps between the clicks when both
        fell into one frame or a slow frame outlasted the double-click time; checks it."""
        move(x, y)
        for gap in (0.25, 0.5, 0.12, 0.8):
            xdo("click", 1)
            time.sleep(gap)
            xdo("click", 1)
            picture = self.until(test, timeout=3)  # the pointer stays until a frame has seen it
            if test(picture):
                break
        if message is not None:
            check(test(picture), message, fatal)
        return picture

    def hold(self, keys, seconds=0.0):
        """Holds the keys for two drawn frames and at least `seconds`, then lets go in reverse."""
        for key in keys:
            xdo("keydown", key)
        started = time.time()
        self.capture()
        self.capture()
        time.sleep(max(0.0, seconds - (time.time() - started)))
        for key in reversed(keys):
            xdo("keyup", key)

    def stop(self):
        """Ends the program with SIGTERM; returns its exit status."""
        if self.status is None:
            self.process.send_signal(signal.SIGTERM)
            self.status = self.process.wait(60)  # generous: a frame loading cubes may be slow under load
        return self.status


def run(test, **atlas_options):
    """Runs test(atlas) in a fresh atlas under the display given by xvfb-run; the exit status."""
    parser = argparse.ArgumentParser()
    for option in ("--program", "--data"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    started = time.time()
    atlas = Atlas(args.program, args.data, **atlas_options)
    print("capture folder:", atlas.capture_dir)
    try:
        atlas.first = atlas.wait_until_drawn()  # before the pointer has moved over the window
        for x in (atlas.width // 2 + 1, atlas.width // 2):  # inside the window, off every control
            move(x, atlas.height - 120)
        atlas.steady()
        test(atlas)
        check(atlas.stop() == 0, "SIGTERM ends the program with status 0 (got %s)" % atlas.status)
        complaints = [line for line in atlas.output().splitlines() if line.startswith("starvane:")]
        check(not complaints, "the program printed no error line: %s" % complaints)
    except (AssertionError, subprocess.TimeoutExpired) as failure:
        failures.append(str(failure))
    finally:
        if atlas.process.poll() is None:
            atlas.process.kill()
        atlas.process.wait()
        shutil.rmtree(atlas.root, ignore_errors=True)
    print("total %.1f s" % (time.time() - started))
    if failures:
        print("%d checks failed:" % len(failures), *failures, sep="\n  ", file=sys.stderr)
        print("pictures in", atlas.capture_dir, file=sys.stderr)
    return 1 if failures else 0


# Pixel statistics over pictures (numpy arrays of rows of RGB pixels). Regions are (left, top,
# right, bottom), right and bottom excluded; pixel tests take an array and give a mask.

def area(picture, region=None):
    return picture if region is None else picture[region[1]:region[3], region[0]:region[2]]


def count(picture, region, test):
    return int(test(area(picture, region)).sum())


def non_black(a):
    return a.max(-1) > 40


def white(a):
    return a.min(-1) > 200


def grid_green(a):
    return (a[..., 1] > 100) & (a[..., 0] < 80) & (a[..., 2] < 80)


def colour_masks(a):
    """Masks of the marker colours: white (A, white dwarfs), blue (B), magenta (neutron stars,
    black holes), red (M), orange (K), yellow (G and F) and the hover disc's cyan; dark pixels
    and the green grid belong to none."""
    r, g, b = a[..., 0], a[..., 1], a[..., 2]
    left = (a.max(-1) >= 110) & ~grid_green(a)
    masks = {}
    for name, rule in (("white", a.min(-1) > 170), ("blue", (b > 150) & (r < 200) & (g < 200)),
                       ("magenta", (r > 150) & (g < 90) & (b > 120)), ("red", (r > 150) & (g < 90) & (b < 90)),
                       ("orange", (r > 150) & (g >= 90) & (g < 210) & (b < 90)),
                       ("yellow", (r > 150) & (g >= 210) & (b < 150)), ("cyan", (g > 150) & (b > 150) & (r < 120))):
        masks[name] = left & rule
        left = left & ~rule
    return masks


def colour(name):
    return lambda a: colour_masks(a)[name]


def colour_histogram(picture, region):
    return {name: int(mask.sum()) for name, mask in colour_masks(area(picture, region)).items() if mask.any()}


def differing(first, second, region=None, threshold=60):
    """How many pixels differ clearly between two pictures of the same size."""
    return int((np.abs(area(first, region) - area(second, region)).sum(-1) > threshold).sum())


def differing_masks(first, second, region, test):
    """How many pixels pass `test` in one picture but not in the other."""
    return int((test(area(first, region)) != test(area(second, region))).sum())


def ink(picture, region, threshold=60):
    """Pixels of the region that differ clearly from its most common colour (text, lines)."""
    data = area(picture, region).reshape(-1, 3)
    colours, counts = np.unique(data, axis=0, return_counts=True)
    return int((np.abs(data - colours[counts.argmax()]).sum(-1) > threshold).sum())


def bright_blobs(picture, region, test, exclude=()):
    """Connected groups (4-neighbourhood) of pixels passing `test` inside region, outside the
    excluded rectangles, largest first, as (size, centre x, centre y)."""
    left, top = region[0], region[1]
    mask = test(area(picture, region)).copy()
    for l, t, r, b in exclude:
        mask[max(t - top, 0):max(b - top, 0), max(l - left, 0):max(r - left, 0)] = False
    unseen = set(map(tuple, np.argwhere(mask)))
    blobs = []
    while unseen:
        stack, members = [unseen.pop()], []
        while stack:
            y, x = stack.pop()
            members.append((y, x))
            for n in ((y + 1, x), (y - 1, x), (y, x + 1), (y, x - 1)):
                if n in unseen:
                    unseen.remove(n)
                    stack.append(n)
        ys, xs = zip(*members)
        blobs.append((len(members), left + int(sum(xs)) // len(xs), top + int(sum(ys)) // len(ys)))
    return sorted(blobs, reverse=True)


def named_on_hover(atlas, x, y, before):
    """Hovers (x, y); the picture if a name appears right of the pointer (a star is there)."""
    move(x, y)
    box = (x + 10, y - 2, x + 100, y + 16)
    hovering = atlas.steady()
    return hovering if count(hovering, box, white) - count(before, box, white) >= 10 else None
