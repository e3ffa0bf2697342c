#!/usr/bin/env bash
# Sets everything up and runs every test: the optimised build with the GUI tests under Xvfb,
# its Debian package installed into a fresh prefix and run from there, the same unit tests
# under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer, and a short run of
# each file-reader fuzz target.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/setup.sh

echo "== optimised build"
scripts/build.sh build/release
ctest --test-dir build/release --output-on-failure -j "$(nproc)"

echo "== Debian package"
tests/package_check.sh build/release

echo "== sanitizer build"
scripts/build.sh build/asan -DSTARVANE_SANITIZE=ON -DSTARVANE_GUI_TESTS=OFF
# The engine's OpenGL driver leaves a few bytes of the Mesa JIT behind; the suppressions name them.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
  ctest --test-dir build/asan --output-on-failure -j "$(nproc)"

echo "== fuzz targets"
scripts/fuzz.sh 10
