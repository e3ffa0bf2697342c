#!/usr/bin/env bash
# Sets everything up, builds Starvane and opens the atlas on the default galaxy at Sol.
#
# The atlas runs in a simulator root outside the source tree: $STARVANE_ROOT, by default
# ~/starvane-root (point it at an Orbiter installation to export straight into it). The
# default data is copied there file by file, never over a file that already exists, so what
# you saved there stays.
set -euo pipefail
root_dir="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root_dir"

scripts/setup.sh
scripts/build.sh build/release

sim_root="${STARVANE_ROOT:-$HOME/starvane-root}"
mkdir -p "$sim_root/Config" "$sim_root/Textures"
cp -r -n data/Starvane "$sim_root/"
mkdir -p "$sim_root/Starvane/SavedSystems"
if [ -f build/release/texgen/texgen.so ]; then cp -f build/release/texgen/texgen.so "$sim_root/"; fi

if [ -z "${DISPLAY:-}" ]; then
  echo "starvane: no display here (set DISPLAY, or try: xvfb-run -a scripts/run.sh); the simulator root is ready at $sim_root"
  exit 1
fi
exec build/release/starvane --root "$sim_root"
