#!/usr/bin/env bash
# Sets everything up, builds Starvane and shows the planetary system of a Sun-like star.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/setup.sh
scripts/build.sh build/release
build/release/starvane-cli system --seed "${1:-1}" --name Sol
