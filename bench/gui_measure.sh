#!/bin/bash
# Frame rate of the galaxy view at Sol with the surrounding cubes shown and hidden, the
# slowest frame that crossed a cube face while flying forward, the resident memory at Sol, and
# how it changes over two rounds of about 100 cube crossings each (flying forward and back on
# a faster clock, --pace). Each case is one run of the atlas with --stats in a fresh simulator
# root, driven by xdotool.
#
#   bench/gui_measure.sh [PROGRAM [DATA]]     (defaults: build/release/starvane, data)
#   MEASURE_SECONDS=20 bench/gui_measure.sh   (length of each measured run; default 10)
#
# Starts its own Xvfb through xvfb-run when DISPLAY is unset. Needs xdotool.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$here/build/release/starvane}")
data=$(realpath "${2:-$here/data}")
seconds=${MEASURE_SECONDS:-10}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$data"
fi
command -v xdotool >/dev/null || { echo "gui_measure: xdotool is needed" >&2; exit 1; }

work=$(mktemp -d /tmp/starvane-measure-XXXXXX)
trap 'rm -rf "$work"' EXIT

width=$(sed -n 2p "$data/Starvane/Starvane.cfg" | tr -d '\r ')
height=$(sed -n 3p "$data/Starvane/Starvane.cfg" | tr -d '\r ')

# True once process $1 runs the program and has installed its SIGUSR1 handler (bit 10 of
# SigCgt); before its exec the process is a shell, whose handlers the program does not keep.
catches_usr1() {
    local mask
    [ "$(readlink "/proc/$1/exe" 2>/dev/null)" = "$program" ] || return 1
    mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || return 1
    [ -n "$mask" ] && (( (16#$mask >> 9) & 1 ))
}

# Resident memory of process $1 in MB.
resident_mb() {
    awk '/^VmRSS:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"
}

# run_case NAME ACTION [OPTIONS...]: starts the atlas, waits for its first frame, puts the
# pointer in the middle of the window, runs ACTION (a shell function, which may print lines),
# prints the atlas's resident memory, stops it and prints its statistics line.
run_case() {
    local name=$1 action=$2
    shift 2
    local root="$work/$name" frames="$work/$name-frames"
    mkdir -p "$root/Config" "$root/Textures" "$frames"
    cp -r "$data/Starvane" "$root/"
    "$program" --root "$root" --capture-dir "$frames" --stats "$@" >"$work/$name.out" 2>"$work/$name.err" &
    local pid=$!
    local waited=0
    until catches_usr1 "$pid"; do
        sleep 0.1; waited=$((waited + 1))
        if ! kill -0 "$pid" 2>/dev/null || [ $waited -gt 400 ]; then
            echo "gui_measure: $name: the atlas did not start" >&2; cat "$work/$name.err" >&2; exit 1
        fi
    done
    until [ -e "$frames/frame-001.png" ]; do
        kill -USR1 "$pid"; sleep 0.5
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            echo "gui_measure: $name: the atlas ended before its first picture (status $status)" >&2
            cat "$work/$name.err" >&2; exit 1
        fi
    done
    # Into the window, away from the side panels' edges; keys follow the pointer.
    xdotool mousemove $((width / 2 - 40)) $((height - 140))
    sleep 0.2
    xdotool mousemove $((width / 2)) $((height - 120))
    sleep 0.3
    "$action"
    echo "resident-mb $(resident_mb "$pid")"
    kill -TERM "$pid"
    local status=0
    wait "$pid" || status=$?
    if [ $status -ne 0 ]; then
        echo "gui_measure: $name: exit status $status" >&2; cat "$work/$name.err" >&2; exit 1
    fi
    grep '^frames ' "$work/$name.out"
}

idle() { sleep "$seconds"; }
surroundings_off() {
    xdotool keydown ctrl keydown c; sleep 0.25; xdotool keyup c keyup ctrl
    sleep "$seconds"
}
fly() {
    xdotool keydown w; sleep "$seconds"; xdotool keyup w
}
# Two rounds forward and back; the memory before, between and after them.
pace=20     # 100 units a second: about 10 crossings a second while the frames keep up
leg=5       # seconds each way
there_and_back() {
    xdotool keydown w; sleep "$leg"; xdotool keyup w
    xdotool keydown s; sleep "$leg"; xdotool keyup s
}
cross_and_weigh() {
    sleep 1
    local before between after
    before=$(resident_mb "$pid")
    there_and_back
    between=$(resident_mb "$pid")
    there_and_back
    after=$(resident_mb "$pid")
    echo "crossing-rounds-mb $before $between $after"
}

field() { # field NAME LINE: the number after NAME in a statistics line
    echo "$2" | awk -v key="$1" '{for (i = 1; i < NF; i++) if ($i == key) print $(i + 1)}'
}

on=$(run_case surroundings-on idle)
off=$(run_case surroundings-off surroundings_off)
flying=$(run_case flying fly)
if "$program" --help | grep -q -- --pace; then
    rounds=$(run_case crossing-rounds cross_and_weigh --pace "$pace")
else  # an atlas without --pace crosses a cube every 2 s
    rounds=$(run_case crossing-rounds cross_and_weigh)
fi

echo "runs of ${seconds} s, window ${width}x${height}"
echo "  surroundings on:  $on"
echo "  surroundings off: $off"
echo "  flying (W held):  $flying"
echo "fps with surroundings on:  $(field fps "$on")"
echo "fps with surroundings off: $(field fps "$off")"
echo "slowest cube-crossing frame: $(field slowest-crossing-ms "$flying") ms ($(field crossings "$flying") crossings while flying ${seconds} s at 5 units/s)"
echo "resident memory at Sol: $(field resident-mb "$on") MB"
read -r _ before between after <<<"$(echo "$rounds" | grep '^crossing-rounds-mb ')"
echo "resident memory over crossings: $before MB, $between MB after the first round, $after MB after the second ($(field crossings "$rounds") crossings in all)"
