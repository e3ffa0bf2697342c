#!/usr/bin/env python3
"""Writes the default galaxy folder, data/Starvane/Galaxy/MilkyWay/:

  MilkyWay.svc              real stars (Hipparcos, from stellarium-data)
  MilkyWay.cfg              galaxy description (20 lines)
  GrayScale.jpg             density picture that drives star generation
  MilkyWay.jpg              colour picture of the map view
  Custom Systems/Sol.svs    the real Solar System

Usage:
  python3 tools/galaxy/make_galaxy_data.py [--out DIR] [--root DIR]
                                           [--skip-catalogue] [--skip-pictures]

--root is the folder that holds usr/share/stellarium (default /).  Without
stellarium-data installed, use --skip-catalogue to keep the committed
catalogue.  The pictures need Debian's python3-numpy and python3-pil.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Galaxy",
                                            "MilkyWay"))
SYSTEM_PYTHON = "/usr/bin/python3"

JPEG_QUALITY = 98

# Galaxy description: (label, value).  Ages in millions of years, lengths in
# parsecs (the program divides them by 10 to get cubes).
GALAXY_AGE = 13500          # oldest halo and bulge stars, about 13.5 Gyr
BAR_SIZE = (3200, 10000, 1300)   # width x length x height, full sizes
BAR_ANGLE = -27             # near end of the bar at positive longitude
DISC_AGE_CENTRE = 10400     # disc age at the centre
AGE_GRADIENT = 2            # Myr per cube: 8.8 Gyr at the Sun (798 cubes out)
THIN_DISC = 600             # twice the 300 pc scale height
THICK_DISC = 1800           # twice the 900 pc scale height
HOME = (0, -798, 2, 0, 0, 0)
STAR_SEED = 31415
SYSTEM_SEED = 27182


def cfg_text():
    rows = (
        ("Age of the galaxy (million years)", "%d" % GALAXY_AGE),
        ("Bar width x length x height (parsecs)", "%dx%dx%d" % BAR_SIZE),
        ("Bar angle (degrees)", "%d" % BAR_ANGLE),
        ("Age of the disc at the centre (million years)", "%d" % DISC_AGE_CENTRE),
        ("Decrease of the disc age outwards (million years per 10 pc)", "%d" % AGE_GRADIENT),
        ("Thickness of the thin disc (parsecs)", "%d" % THIN_DISC),
        ("Thickness of the thick disc (parsecs)", "%d" % THICK_DISC),
        ("Home: cube x,y,z then offset x,up,y", ",".join("%d" % v for v in HOME)),
        ("Seed of the generated stars", "%d" % STAR_SEED),
        ("Seed of the generated planetary systems", "%d" % SYSTEM_SEED),
    )
    return "".join("%s\n%s\n" % row for row in rows)


def write_bytes(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def _reexec_with_system_python(missing):
    """The pictures need Debian's numpy and PIL; when this interpreter lacks them
    but the system one has them, run again with the system interpreter."""
    if os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) and \
            os.path.exists(SYSTEM_PYTHON) and not os.environ.get("STARVANE_NO_REEXEC"):
        os.environ["STARVANE_NO_REEXEC"] = "1"
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, os.path.abspath(__file__)] + sys.argv[1:])
    sys.stderr.write("make_galaxy_data: the pictures need %s (apt-get install python3-numpy "
                     "python3-pil), or use --skip-pictures\n" % missing)
    sys.exit(1)


def ensure_picture_modules():
    try:
        import numpy  # noqa: F401
        import PIL.Image  # noqa: F401
    except ImportError as e:
        _reexec_with_system_python(e.name or "numpy and PIL")


def make_pictures(out):
    import numpy as np
    from PIL import Image
    import galaxy_model as gm

    field = gm.density_field()
    grey = gm.grey_levels(field)
    del field
    path = os.path.join(out, "GrayScale.jpg")
    rgb = np.repeat(grey[:, :, None], 3, axis=2)
    Image.fromarray(rgb, "RGB").save(path + ".tmp", "JPEG", quality=JPEG_QUALITY,
                                     subsampling=0, optimize=True)
    os.replace(path + ".tmp", path)
    del rgb

    # Read the written picture back: the Sun's cube must expect 80 to 100 stars.
    with Image.open(path) as im:
        im = im.convert("RGB")
        sx, sy = gm.pixel_of_cube(gm.SUN_CUBE[0], gm.SUN_CUBE[1])
        r, g_, b = im.getpixel((sx, sy))
    level = (r + g_ + b) // 3
    total = gm.expected_total(level, gm.SUN_CUBE[2])
    print("GrayScale.jpg: %dx%d, brightness at Sol %d (model %d), %d stars expected in Sol's cube"
          % (gm.SIZE, gm.SIZE, level, grey[sy, sx], total))
    if not 80 <= total <= 100:
        sys.stderr.write("make_galaxy_data: Sol's cube would hold %d stars, not 80-100\n" % total)
        return False

    colour = gm.colour_picture()
    path = os.path.join(out, "MilkyWay.jpg")
    Image.fromarray(colour, "RGB").save(path + ".tmp", "JPEG", quality=JPEG_QUALITY,
                                        subsampling=0, optimize=True)
    os.replace(path + ".tmp", path)
    print("MilkyWay.jpg: %dx%d" % (gm.SIZE, gm.SIZE))
    return True


def make_catalogue(out, root):
    import star_catalogue as sc
    stars = sc.load_stars(root)
    text = sc.catalogue_text(stars)
    write_bytes(os.path.join(out, "MilkyWay.svc"), text.encode("ascii"))
    print("MilkyWay.svc: %d stars and Sol, %d bytes" % (len(stars), len(text)))


def main(argv=None):
    parser = argparse.ArgumentParser(description="Generate the default galaxy folder.")
    parser.add_argument("--out", default=DEFAULT_OUT, help="galaxy folder (default: %(default)s)")
    parser.add_argument("--root", default="/",
                        help="folder holding usr/share/stellarium (default: %(default)s)")
    parser.add_argument("--skip-catalogue", action="store_true",
                        help="keep MilkyWay.svc as it is (no stellarium-data needed)")
    parser.add_argument("--skip-pictures", action="store_true",
                        help="keep GrayScale.jpg and MilkyWay.jpg as they are")
    args = parser.parse_args(argv)

    if not args.skip_pictures:
        ensure_picture_modules()
    out = args.out
    try:
        os.makedirs(os.path.join(out, "Custom Systems"), exist_ok=True)
    except OSError as e:
        sys.stderr.write("make_galaxy_data: cannot create %s: %s\n" % (out, e.strerror or e))
        return 1

    import make_sol
    import star_catalogue as sc

    if not args.skip_catalogue:
        star_dir = os.path.join(args.root, sc.STAR_DIR)
        if not os.path.isdir(star_dir):
            sys.stderr.write("make_galaxy_data: %s not found; install stellarium-data "
                             "(apt-get install stellarium-data) or pass --skip-catalogue\n"
                             % star_dir)
            return 1
    try:
        write_bytes(os.path.join(out, "MilkyWay.cfg"), cfg_text().encode("ascii"))
        print("MilkyWay.cfg: 20 lines")
        make_sol.write(os.path.join(out, "Custom Systems", "Sol.svs"))
        print("Custom Systems/Sol.svs: %d planets" % len(make_sol.PLANETS))
        if not args.skip_catalogue:
            make_catalogue(out, args.root)
        if not args.skip_pictures and not make_pictures(out):
            return 1
    except sc.CatalogueError as e:
        sys.stderr.write("make_galaxy_data: %s\n" % e)
        return 1
    except (OSError, ValueError) as e:
        sys.stderr.write("make_galaxy_data: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
