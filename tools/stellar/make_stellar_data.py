#!/usr/bin/env python3
"""Writes the stellar data of the default data folder:

  StellarTable.csv  stellar table (1050 records)
  EvoTracks.dat     39 evolution tracks
  HRRef.bmp         HR reference image

Usage: python3 tools/stellar/make_stellar_data.py [--out DIR]
The default DIR is data/Starvane/Data of the repository.  The output is the
same, byte for byte, on every run.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import evo_tracks  # noqa: E402
import hr_image  # noqa: E402
import stellar_table  # noqa: E402

DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Data"))


def records_as_written(text, records):
    """The records with the values exactly as the table file states them."""
    out = []
    for line, rec in zip(text.splitlines(), records):
        fields = line.split(";")
        out.append({"cls": rec["cls"], "slot": rec["slot"],
                    "luminosity": float(fields[2]), "teff": float(fields[4])})
    return out


def write_file(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Generate the stellar table, evolution tracks "
                                                 "and HR reference image.")
    parser.add_argument("--out", default=DEFAULT_OUT,
                        help="output folder (default: %(default)s)")
    args = parser.parse_args(argv)

    out = args.out
    try:
        os.makedirs(out, exist_ok=True)
    except OSError as e:
        sys.stderr.write("make_stellar_data: cannot create output folder %s: %s\n" % (out, e.strerror))
        return 1
    if not os.path.isdir(out):
        sys.stderr.write("make_stellar_data: %s is not a folder\n" % out)
        return 1

    records = stellar_table.build_records()
    table = stellar_table.table_text(records)
    tracks = evo_tracks.tracks_text(evo_tracks.build_tracks())
    seeds = hr_image.seeds_from_table(records_as_written(table, records))
    image = hr_image.bmp_bytes(hr_image.build_red_channel(seeds))

    files = (("StellarTable.csv", table.encode("ascii")),
             ("EvoTracks.dat", tracks.encode("ascii")),
             ("HRRef.bmp", image))
    for name, data in files:
        path = os.path.join(out, name)
        try:
            write_file(path, data)
        except OSError as e:
            sys.stderr.write("make_stellar_data: cannot write %s: %s\n" % (path, e.strerror))
            return 1
        print("wrote %s (%d bytes)" % (path, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
