#!/usr/bin/env bash
# Sets everything up and runs every test: the optimised build, then the same tests under
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/setup.sh

echo "== optimised build"
scripts/build.sh build/release
ctest --test-dir build/release --output-on-failure -j "$(nproc)"

echo "== sanitizer build"
scripts/build.sh build/asan -DSTARVANE_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure -j "$(nproc)"
