"""A run of the atlas in a simulator root that can take exports: besides the copy of
<data>/Starvane it has Config/ with its EPP and UMMUPermanentBase folders, Textures/, and the
texture plug-in next to the program's working folder, so saving a system also makes textures.
Everything else (pictures on request, input, pixel statistics) comes from atlas_driver."""

import os
import shutil
import subprocess
import tempfile
import time

import atlas_driver as ad


def make_export_root(data_dir, program):
    root = tempfile.mkdtemp(prefix="starvane-sysroot-")
    shutil.copytree(os.path.join(data_dir, "Starvane"), os.path.join(root, "Starvane"))
    for folder in ("Config", "Config/EPP", "Config/UMMUPermanentBase", "Textures"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    plugin = os.path.join(os.path.dirname(os.path.abspath(program)), "..", "texgen", "texgen.so")
    plugin = os.path.normpath(plugin)
    if not os.path.exists(plugin):
        plugin = os.path.join(os.path.dirname(os.path.abspath(program)), "texgen", "texgen.so")
    if os.path.exists(plugin):
        shutil.copy(plugin, os.path.join(root, "texgen.so"))
    return root, os.path.exists(os.path.join(root, "texgen.so"))


class ExportAtlas(ad.Atlas):
    """ad.Atlas started in an export-ready root."""

    def __init__(self, program, data_dir, extra_args=()):  # noqa: super().__init__ would start in another root
        self.root, self.has_plugin = make_export_root(data_dir, program)
        self.width, self.height = ad.window_size(self.root)
        self.capture_dir = tempfile.mkdtemp(prefix="starvane-frames-")
        self.requested = 0
        self.out = open(os.path.join(self.capture_dir, "stdout.txt"), "w")
        self.err = open(os.path.join(self.capture_dir, "stderr.txt"), "w")
        self.process = subprocess.Popen(
            [program, "--root", self.root, "--capture-dir", self.capture_dir] + list(extra_args),
            stdout=self.out, stderr=self.err)

    def path(self, *parts):
        return os.path.join(self.root, *parts)


def double_click(x, y, settle=1.2):
    ad.move(x, y, settle=0.3)
    ad.xdo("click", "--repeat", "2", "--delay", "150", 1)
    time.sleep(settle)


def wait_for(condition, timeout, alive=None, step=0.25):
    """Polls until condition() is true; returns whether it became true in time."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        if alive is not None:
            alive()
        if condition():
            return True
        time.sleep(step)
    return condition()


def ink(picture, region, threshold=60):
    """Pixels of the region that differ clearly from its most common colour (text, lines)."""
    data = ad.pixels(picture, region)
    counts = {}
    for p in data:
        counts[p] = counts.get(p, 0) + 1
    background = max(counts, key=counts.get)
    return sum(1 for p in data if sum(abs(a - b) for a, b in zip(p, background)) > threshold)


def files_under(folder):
    found = []
    for base, _, names in os.walk(folder):
        found += [os.path.join(base, n) for n in names]
    return sorted(found)


def snapshot(folder):
    """Names, sizes and modification times of every file under a folder."""
    return {f: (os.path.getsize(f), os.path.getmtime(f)) for f in files_under(folder)}
