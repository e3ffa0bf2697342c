"""Helpers for driving the atlas under Xvfb: a throw-away simulator root, start and stop,
frame pictures on request (SIGUSR1 writes the back buffer as frame-NNN.png), scripted input
through xdotool, and pixel statistics of the pictures.

The window has no window manager around it, so it sits at (0, 0); keys reach it only while
the pointer is over it.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def ensure_pil():
    """Re-runs the calling script with Debian's python3 when this interpreter lacks PIL."""
    try:
        import PIL  # noqa: F401
    except ImportError:
        system_python = "/usr/bin/python3"
        if os.path.realpath(sys.executable) == os.path.realpath(system_python):
            raise
        os.execv(system_python, [system_python] + sys.argv)


def make_root(data_dir):
    """A fresh simulator root holding a copy of <data>/Starvane and empty Config/ and Textures/."""
    root = tempfile.mkdtemp(prefix="starvane-root-")
    shutil.copytree(os.path.join(data_dir, "Starvane"), os.path.join(root, "Starvane"))
    os.mkdir(os.path.join(root, "Config"))
    os.mkdir(os.path.join(root, "Textures"))
    return root


def window_size(root):
    """Window width and height from lines 2 and 3 of Starvane.cfg."""
    with open(os.path.join(root, "Starvane", "Starvane.cfg")) as config:
        lines = config.read().split("\n")
    return int(lines[1].strip()), int(lines[2].strip())


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def move(x, y, settle=0.3):
    xdo("mousemove", x, y)
    time.sleep(settle)


def click(x, y, settle=0.4):
    xdo("mousemove", x, y)
    time.sleep(0.15)
    xdo("click", 1)
    time.sleep(settle)


def hold(keys, seconds):
    """Holds the keys (xdotool names, pressed in order) for a while, then lets go in reverse.
    Holding for several frames makes sure the program sees the press in a frame of its own."""
    for key in keys:
        xdo("keydown", key)
    time.sleep(seconds)
    for key in reversed(keys):
        xdo("keyup", key)
    time.sleep(0.3)


def _catches(pid, signum):
    """True once the process has installed a handler for the signal."""
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("SigCgt:"):
                    return bool(int(line.split()[1], 16) >> (signum - 1) & 1)
    except OSError:
        pass
    return False


class Atlas:
    """One run of the program in its own root, with pictures written to a capture folder."""

    def __init__(self, program, data_dir, extra_args=()):
        self.root = make_root(data_dir)
        self.width, self.height = window_size(self.root)
        self.capture_dir = tempfile.mkdtemp(prefix="starvane-frames-")
        self.requested = 0
        self.out = open(os.path.join(self.capture_dir, "stdout.txt"), "w")
        self.err = open(os.path.join(self.capture_dir, "stderr.txt"), "w")
        self.process = subprocess.Popen(
            [program, "--root", self.root, "--capture-dir", self.capture_dir] + list(extra_args),
            stdout=self.out, stderr=self.err)

    def frame_path(self, number):
        return os.path.join(self.capture_dir, "frame-%03d.png" % number)

    def _alive(self):
        if self.process.poll() is not None:
            raise AssertionError("the program ended early with status %s; stderr:\n%s"
                                 % (self.process.returncode, self.stderr()))

    def _load(self, number, deadline):
        from PIL import Image
        path = self.frame_path(number)
        while time.time() < deadline:
            self._alive()
            if os.path.exists(path):
                try:
                    with Image.open(path) as picture:
                        picture.load()
                        return picture.convert("RGB")
                except (OSError, SyntaxError):
                    pass  # still being written
            time.sleep(0.05)
        raise AssertionError("no picture %s within the time allowed" % path)

    def wait_until_drawn(self, timeout=40.0):
        """Asks for pictures until the first one arrives (the loop has started drawing)."""
        deadline = time.time() + timeout
        while not _catches(self.process.pid, signal.SIGUSR1):
            self._alive()
            if time.time() > deadline:
                raise AssertionError("the program never got ready for picture requests")
            time.sleep(0.05)
        while not os.path.exists(self.frame_path(1)):
            self._alive()
            if time.time() > deadline:
                raise AssertionError("the program drew no frame within %.0f s" % timeout)
            self.requested += 1
            self.process.send_signal(signal.SIGUSR1)
            time.sleep(0.5)
        return self._load(self.requested, deadline)

    def capture(self, timeout=15.0):
        """The next frame drawn after this call, as a PIL RGB image (its path in last_path)."""
        self.requested += 1
        self.process.send_signal(signal.SIGUSR1)
        picture = self._load(self.requested, time.time() + timeout)
        self.last_path = self.frame_path(self.requested)
        return picture

    def stop(self, timeout=20.0):
        """Ends the program with SIGTERM; returns its exit status."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            status = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise AssertionError("the program did not stop within %.0f s of SIGTERM" % timeout)
        self.out.flush()
        self.err.flush()
        return status

    def stdout(self):
        self.out.flush()
        with open(os.path.join(self.capture_dir, "stdout.txt")) as text:
            return text.read()

    def stderr(self):
        self.err.flush()
        with open(os.path.join(self.capture_dir, "stderr.txt")) as text:
            return text.read()

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


# Pixel statistics. Regions are (left, top, right, bottom), right and bottom excluded.

def pixels(picture, region=None):
    if region is not None:
        picture = picture.crop(region)
    return list(picture.getdata())


def count(picture, region, test):
    return sum(1 for p in pixels(picture, region) if test(p))


def non_black(p):
    return max(p) > 40


def white(p):
    return min(p) > 200


def grid_green(p):
    return p[1] > 100 and p[0] < 80 and p[2] < 80


def colour_class(p):
    """The marker colour a pixel is nearest to, by hue: red (M), orange (K), yellow (G and F),
    white (A and white dwarfs), blue (B) or magenta (neutron stars and black holes); None for
    dark pixels and the green grid."""
    r, g, b = p
    if max(p) < 110 or grid_green(p):
        return None
    if min(p) > 170:
        return "white"
    if b > 150 and r < 200 and g < 200:
        return "blue"
    if r > 150 and g < 90 and b > 120:
        return "magenta"
    if r > 150 and g < 90 and b < 90:
        return "red"
    if r > 150 and 90 <= g < 210 and b < 90:
        return "orange"
    if r > 150 and g >= 210 and b < 150:
        return "yellow"
    if g > 150 and b > 150 and r < 120:
        return "cyan"
    return None


def colour_histogram(picture, region):
    histogram = {}
    for p in pixels(picture, region):
        name = colour_class(p)
        if name is not None:
            histogram[name] = histogram.get(name, 0) + 1
    return histogram


def differing(first, second, region=None, threshold=60):
    """How many pixels differ clearly between two pictures of the same size."""
    a = pixels(first, region)
    b = pixels(second, region)
    return sum(1 for p, q in zip(a, b) if abs(p[0] - q[0]) + abs(p[1] - q[1]) + abs(p[2] - q[2]) > threshold)


def differing_masks(first, second, region, test):
    """How many pixels pass `test` in one picture but not in the other."""
    return sum(1 for p, q in zip(pixels(first, region), pixels(second, region)) if test(p) != test(q))


def bright_blobs(picture, region, test, exclude=()):
    """Connected groups (4-neighbourhood) of pixels passing `test` inside region, outside the
    excluded rectangles, largest first, as (size, centre x, centre y)."""
    left, top, right, bottom = region
    width = right - left
    data = pixels(picture, region)

    def excluded(x, y):
        return any(l <= x < r and t <= y < b for (l, t, r, b) in exclude)

    seen = bytearray(len(data))
    blobs = []
    for start in range(len(data)):
        if seen[start] or not test(data[start]):
            continue
        x0, y0 = left + start % width, top + start // width
        if excluded(x0, y0):
            continue
        stack = [start]
        seen[start] = 1
        members = []
        while stack:
            index = stack.pop()
            members.append(index)
            x, y = index % width, index // width
            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if 0 <= nx < width and 0 <= ny < bottom - top:
                    n = ny * width + nx
                    if not seen[n] and test(data[n]):
                        seen[n] = 1
                        stack.append(n)
        xs = [m % width for m in members]
        ys = [m // width for m in members]
        blobs.append((len(members), left + sum(xs) // len(xs), top + sum(ys) // len(ys)))
    blobs.sort(reverse=True)
    return blobs


failures = []


def check(condition, message, fatal=False):
    """Records a failed check and goes on with the run, unless later steps depend on it."""
    if condition:
        print("ok:", message)
        return
    if fatal:
        raise AssertionError(message)
    print("FAILED:", message)
    failures.append(message)
