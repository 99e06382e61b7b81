#!/usr/bin/env bash
# Start-up times of Velumir, on an X server of its own (Xvfb), read with xdotool:
#   start: from starting the process to the start window "Velumir (V.3.0)" shown;
#   main:  from Enter on the start window to the main window shown with the
#          New Testament in it (its title then reads
#          "Velumir (V.3.0.1) - [New Testment]").
# Each run starts the program afresh on a sample drive made by the same
# build's velumir-make-sample-drive in a temporary folder. One warm-up run is
# not counted; the medians of the counted runs are printed.
#
# usage: bench/startup.sh [path/to/velumir] [runs]
#        (defaults: build/src/velumir, 7 runs)
# Needs Xvfb and xdotool. Without a window manager nothing is maximized.

set -euo pipefail

bin=${1:-build/src/velumir}
runs=${2:-7}
maker="$(dirname "$bin")/../tools/velumir-make-sample-drive"
timeout_us=15000000

for tool in Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "startup.sh: $tool is not installed" >&2; exit 2; }
done
[[ -x $bin ]] || { echo "startup.sh: no program at $bin" >&2; exit 2; }
[[ -x $maker ]] || { echo "startup.sh: no sample-drive maker at $maker" >&2; exit 2; }

work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
    if [[ -n $app ]] && kill -0 "$app" 2>/dev/null; then
        kill "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
    fi
    if [[ -n $xvfb ]] && kill -0 "$xvfb" 2>/dev/null; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The sample drive, and folders of the run's own for settings and run-time files.
"$maker" "$work/drive_c" >/dev/null 2>&1 || { echo "startup.sh: the sample drive could not be made" >&2; exit 1; }
mkdir -p "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"

# A free display from :77 on.
display=77
while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$xvfb" 2>/dev/null || { echo "startup.sh: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.05
done

now_us() { echo "${EPOCHREALTIME/./}"; }

# Waits until a visible window's name matches; prints the time it was seen.
wait_for_window() {
    local pattern=$1 since=$2 found=""
    while true; do
        if found=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1) && [[ -n $found ]]; then
            now_us
            echo "$found" >"$work/window"
            return 0
        fi
        kill -0 "$app" 2>/dev/null || { echo "startup.sh: velumir ended early" >&2; return 1; }
        (($(now_us) - since < timeout_us)) || { echo "startup.sh: no window \"$pattern\"" >&2; return 1; }
    done
}

start_pattern='^Velumir \(V\.3\.0\)$'
main_pattern='^Velumir \(V\.3\.0\.1\) - \[New Testment\]$'

one_run() {
    local t0 t1 t2 t3 start_window
    t0=$(now_us)
    VELUMIR_DRIVE_C="$work/drive_c" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$bin" >"$work/app.log" 2>&1 &
    app=$!
    t1=$(wait_for_window "$start_pattern" "$t0")
    start_window=$(cat "$work/window")
    # The user reads the start window before pressing Enter; the key goes to it.
    sleep 0.5
    xdotool windowfocus --sync "$start_window"
    t2=$(now_us)
    xdotool key Return
    t3=$(wait_for_window "$main_pattern" "$t2")
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
    echo "$((t1 - t0)) $((t3 - t2))" >"$work/result"
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f", m / 1e6 }'; }

echo "Velumir start-up: $bin on display :$display, $runs runs after one warm-up run"
one_run
: >"$work/times"
for i in $(seq "$runs"); do
    one_run
    awk -v run="$i" '{ printf "  run %d: start window %.3f s, main window %.3f s\n", run, $1 / 1e6, $2 / 1e6 }' \
        "$work/result"
    cat "$work/result" >>"$work/times"
done
start_median=$(cut -d' ' -f1 "$work/times" | median)
main_median=$(cut -d' ' -f2 "$work/times" | median)
echo "median: process start to start window ${start_median} s (aim 0.25 s)"
echo "median: Enter to main window with the New Testament ${main_median} s (aim 0.25 s)"
