#!/usr/bin/env bash
# Sets everything up, builds and installs Starvane into build/install, and opens the atlas on
# the default galaxy at Sol.
#
# The installed atlas runs in a simulator root outside the source tree: $STARVANE_ROOT, by
# default ~/starvane-root (point it at an Orbiter installation to export straight into it). It
# fills the root from its shipped data file by file, never over a file that already exists, so
# what you saved there stays.
set -euo pipefail
root_dir="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root_dir"

scripts/setup.sh
scripts/build.sh build/release
cmake --install build/release --prefix build/install >/dev/null
# Without a display the atlas prepares its root and says so; xvfb-run -a scripts/run.sh gives it one.
exec build/install/bin/starvane
