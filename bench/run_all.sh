#!/bin/bash
# Every speed and memory figure we keep an eye on, measured in one go and printed as a table:
# the galaxy view's frame rate at Sol with the surroundings on and off, the slowest frame that
# crosses a cube face, the start-up to the first drawn frame, generateFor for a Sun-like star,
# "Save to cache" of Procyon (21 bodies, with textures) through the CLI and in the atlas, and the
# resident memory at Sol with its growth over two rounds of about 100 cube crossings.
#
#   bench/run_all.sh [BUILD]          one build folder (default build/release)
#   bench/run_all.sh BEFORE AFTER     two builds, measured in turns; adds after/before
#
# A build folder holds starvane, starvane-cli, bench/starvane_bench and texgen/texgen.so.
# STARTS (start-ups a build, default 5), SAVES (saves a build each way, default 3) and MEASURE_SECONDS
# (length of each window run, default 10) set how long it measures. Starts its own Xvfb when
# DISPLAY is unset; needs xdotool and python3. Figures taken while the machine is busy with
# other work are noisy: compare builds only within one run.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
data="$here/data"
if [ $# -gt 2 ]; then
    echo "usage: bench/run_all.sh [BUILD] | bench/run_all.sh BEFORE AFTER" >&2; exit 2
fi
builds=()
for build in "${@:-$here/build/release}"; do
    build=$(realpath "$build")
    for file in starvane starvane-cli bench/starvane_bench texgen/texgen.so; do
        [ -e "$build/$file" ] || { echo "run_all: $build/$file is missing" >&2; exit 1; }
    done
    builds+=("$build")
done
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${builds[@]}"
fi
starts=${STARTS:-5}
saves=${SAVES:-3}

work=$(mktemp -d /tmp/starvane-run-all-XXXXXX)
trap 'rm -rf "$work"' EXIT

# A fresh simulator root with the shipped data and the texture plug-in of build $2.
make_root() {
    mkdir -p "$1/Config"
    cp -r "$data/Starvane" "$1/"
    cp "$2/texgen/texgen.so" "$1/"
}

median() { # the median of the numbers given, or "-" when there are none
    python3 -c 'import statistics, sys; v = [float(a) for a in sys.argv[1:]]; print(f"{statistics.median(v):.3g}" if v else "-")' "$@"
}

seconds_since() { python3 -c "import time, sys; print(f'{time.time() - float(sys.argv[1]):.3f}')" "$1"; }

# Window runs: frame rates, the slowest crossing and the memory figures.
window_figures() { # BUILD INDEX
    local out="$work/window-$2.txt"
    "$here/bench/gui_measure.sh" "$1/starvane" "$data" >"$out"
    sed -n 's/^fps with surroundings on: *//p' "$out" >"$work/on-$2"
    sed -n 's/^fps with surroundings off: *//p' "$out" >"$work/off-$2"
    sed -n 's/^slowest cube-crossing frame: \([0-9.]*\) ms.*/\1/p' "$out" >"$work/crossing-$2"
    sed -n 's/^resident memory at Sol: \([0-9.]*\) MB/\1/p' "$out" >"$work/resident-$2"
    sed -n 's/^resident memory over crossings: \([0-9.]*\) MB, \([0-9.]*\) MB.*, \([0-9.]*\) MB.*/\1 \2 \3/p' "$out" \
        >"$work/rounds-$2"
}

# One start-up to the first drawn frame in seconds, as the atlas reports it (nothing from an
# atlas that does not report it). The root was started in once, so any copy it keeps exists.
start_up() { # BUILD INDEX
    "$1/starvane" --root "$work/start-root-$2" --stats --quit-after 3 2>/dev/null |
        awk '/^startup-ms / {printf "%.3f\n", $NF / 1000}' >>"$work/start-$2"
}

# generateFor of a star of one solar mass: the median of Google Benchmark's repetitions, in ms.
generate_for() { # BUILD INDEX
    "$1/bench/starvane_bench" --benchmark_filter='^BM_GenerateFor/10(/.*)?$' --benchmark_repetitions=9 \
        --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null |
        python3 -c '
import json, sys
scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
for run in json.load(sys.stdin)["benchmarks"]:
    if run.get("aggregate_name") == "median":
        ms = run["real_time"] * scale[run["time_unit"]]
        print(f"{ms:.4f}")' >"$work/generate-$2"
}

# "Save to cache" of Procyon with textures into a fresh root, in seconds.
save_to_cache() { # BUILD INDEX
    local root="$work/save-root-$2"
    rm -rf "$root"
    make_root "$root" "$1"
    local started
    started=$(date +%s.%N)
    "$1/starvane-cli" export Procyon --cache --root "$root" >/dev/null 2>&1 ||
        { echo "run_all: the export of Procyon failed with $1" >&2; exit 1; }
    seconds_since "$started" >>"$work/save-$2"
}

# "Save to cache" of Procyon pressed in the atlas (bench/atlas_save.py, its own fresh root):
# the seconds the atlas reports, nothing from an atlas that does not report its saves.
atlas_save() { # BUILD INDEX
    python3 "$here/bench/atlas_save.py" --program "$1/starvane" --data "$data" >>"$work/atlas-save-$2" ||
        echo "run_all: the atlas's save of Procyon failed with $1" >&2
}

count=${#builds[@]}
for i in "${!builds[@]}"; do
    make_root "$work/start-root-$i" "${builds[$i]}"
    "${builds[$i]}/starvane" --root "$work/start-root-$i" --quit-after 2 >/dev/null 2>&1
done
echo "measuring ${count} build(s): window runs" >&2
for i in "${!builds[@]}"; do
    window_figures "${builds[$i]}" "$i" || echo "run_all: the window runs failed with ${builds[$i]}" >&2
done
echo "start-ups" >&2
for _ in $(seq "$starts"); do for i in "${!builds[@]}"; do start_up "${builds[$i]}" "$i"; done; done
echo "generateFor" >&2
for i in "${!builds[@]}"; do generate_for "${builds[$i]}" "$i"; done
echo "saves" >&2
for _ in $(seq "$saves"); do
    for i in "${!builds[@]}"; do
        save_to_cache "${builds[$i]}" "$i"
        atlas_save "${builds[$i]}" "$i"
    done
done

# figure INDEX: each figure of build INDEX, in the table's order.
figures() {
    local i=$1 on off before between after
    on=$(cat "$work/on-$i")
    off=$(cat "$work/off-$i")
    read -r before between after <"$work/rounds-$i" || true
    echo "$on"
    echo "$off"
    python3 -c 'import sys; print(f"{float(sys.argv[1]) / float(sys.argv[2]):.2f}")' "$on" "$off" 2>/dev/null || echo "-"
    cat "$work/crossing-$i"
    # shellcheck disable=SC2046
    median $(cat "$work/start-$i")
    cat "$work/generate-$i"
    # shellcheck disable=SC2046
    median $(cat "$work/save-$i")
    # shellcheck disable=SC2046
    median $(cat "$work/atlas-save-$i" 2>/dev/null)
    cat "$work/resident-$i"
    python3 -c 'import sys; print(f"{float(sys.argv[2]) - float(sys.argv[1]):+.1f} / {float(sys.argv[3]) - float(sys.argv[2]):+.1f}")' \
        "$before" "$between" "$after" 2>/dev/null || echo "-"
}
names=("galaxy view at Sol, surroundings on (fps)" "surroundings off (fps)" "ratio on/off"
       "slowest frame crossing a cube face (ms)" "start-up to the first drawn frame (s, median)"
       "generateFor, Sun-like star (ms, median)" "Save to cache, Procyon, 21 bodies with textures (s, median)"
       "Save to cache in the atlas, Procyon (s, median)"
       "resident memory at Sol (MB)" "its growth over the first / second 100 crossings (MB)")
mapfile -t first < <(figures 0)
if [ "$count" -eq 1 ]; then
    echo "| figure | ${builds[0]} |"
    echo "|---|---|"
    for k in "${!names[@]}"; do echo "| ${names[$k]} | ${first[$k]:--} |"; done
else
    mapfile -t second < <(figures 1)
    echo "| figure | before | after | after/before |"
    echo "|---|---|---|---|"
    for k in "${!names[@]}"; do
        ratio=$(python3 -c 'import sys; print(f"{float(sys.argv[2]) / float(sys.argv[1]):.2f}")' \
            "${first[$k]:-}" "${second[$k]:-}" 2>/dev/null || echo "-")
        echo "| ${names[$k]} | ${first[$k]:--} | ${second[$k]:--} | $ratio |"
    done
    echo "before: ${builds[0]}"
    echo "after:  ${builds[1]}"
fi
