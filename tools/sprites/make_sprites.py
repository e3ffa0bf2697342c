#!/usr/bin/env python3
"""Writes the GUI font and the two sprite sheets into data/Starvane/Data/:

  ESfont.bmp       bitmap font, ASCII 32..126, in the engine's marker layout
  ThumbNails.bmp   body thumbnails by planet type and star limbs by class
  pictograms.bmp   view-button icons, round star discs and small markers

Usage:
  python3 tools/sprites/make_sprites.py [--out DIR] [--font FILE.ttf]

Needs Debian's python3-numpy and python3-pil (with FreeType) and a TrueType
font, by default DejaVu Sans from fonts-dejavu-core.  The output is the same
byte for byte on every run with the same package versions.  After writing,
the files are read back and checked (see check_sprites.py).
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Data"))
DEFAULT_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

from check_sprites import CheckError, check_all, ensure_modules  # noqa: E402


def write_bmp(path, rgb):
    from PIL import Image
    tmp = path + ".tmp"
    Image.fromarray(rgb, "RGB").save(tmp, "BMP")
    os.replace(tmp, path)


def main(argv=None):
    ensure_modules("make_sprites")
    parser = argparse.ArgumentParser(description="Generate the GUI font and sprite sheets.")
    parser.add_argument("--out", default=DEFAULT_OUT, help="data folder (default: %(default)s)")
    parser.add_argument("--font", default=DEFAULT_FONT,
                        help="TrueType font for ESfont.bmp (default: %(default)s)")
    args = parser.parse_args(argv)

    if not os.path.isdir(args.out):
        sys.stderr.write("make_sprites: output folder %s does not exist\n" % args.out)
        return 1
    if not os.path.isfile(args.font):
        sys.stderr.write("make_sprites: font %s not found (apt-get install fonts-dejavu-core, "
                         "or pass --font FILE.ttf)\n" % args.font)
        return 1

    import font_sheet
    import sheets

    try:
        font = font_sheet.load_font(args.font)
    except font_sheet.FontError as e:
        sys.stderr.write("make_sprites: %s\n" % e)
        return 1
    font_img, _, _ = font_sheet.build_font_sheet(font)
    try:
        write_bmp(os.path.join(args.out, "ESfont.bmp"), font_img)
        write_bmp(os.path.join(args.out, "ThumbNails.bmp"), sheets.build_thumbnails())
        write_bmp(os.path.join(args.out, "pictograms.bmp"), sheets.build_pictograms())
    except OSError as e:
        sys.stderr.write("make_sprites: cannot write into %s (%s)\n" % (args.out, e))
        return 1

    try:
        for note in check_all(args.out):
            print(note)
    except CheckError as e:
        sys.stderr.write("make_sprites: the written files fail their check: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
