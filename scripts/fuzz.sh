#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang and runs each for N seconds
# (default 60) on its corpus: scripts/fuzz.sh [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"

cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSTARVANE_FUZZ=ON -DSTARVANE_BENCHMARKS=OFF -DSTARVANE_APP=OFF >/dev/null
for target in saved_system_file galaxy_description star_catalogue star_catalogue_copy stellar_tables jump_table hotspot_file \
              cache_list starvane_config system_json; do
  cmake --build build/fuzz -j "$(nproc)" --target "${target}_fuzz" >/dev/null
  work="$(mktemp -d)"
  cp -r "fuzz/corpus/$target/." "$work/"
  echo "fuzzing $target for ${seconds}s"
  build/fuzz/fuzz/"${target}_fuzz" -max_total_time="$seconds" -print_final_stats=0 "$work" 2>&1 | tail -1
  rm -rf "$work"
done
echo "fuzz: no crash in any target"
