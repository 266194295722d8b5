#!/usr/bin/env bash
# Start-up time (process start to the main window's first paint) and peak
# resident memory of the program beside the floor (a Qt Widgets window of the
# same size drawing one CJK label in the program's face) and beside a bare Qt
# window that draws no text, in one run on one X server with a window manager.
# Needs hyperfine, GNU time, xvfb-run and openbox.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-40}
for p in startup_probe startup_floor; do
    [ -x "$build/bench/$p" ] || { echo "build the startup_probe and startup_floor targets first" >&2; exit 1; }
done
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR"
json=$(mktemp)
trap 'rm -f "$json"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    bench=$1 runs=$2 json=$3
    openbox >/dev/null 2>&1 &
    sleep 1
    hyperfine -N --warmup 5 --runs "$runs" --export-json "$json" \
        -n bare "$bench/startup_floor bare" -n floor "$bench/startup_floor" -n tallaro "$bench/startup_probe" |
        grep -E "^Benchmark|Time \(mean" || true
    # Peak resident memory: the median of five runs.
    peak() { for _ in 1 2 3 4 5; do /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null | tail -n 1; done | sort -n | sed -n 3p; }
    bare=$(peak "$bench/startup_floor" bare)
    floor=$(peak "$bench/startup_floor")
    tallaro=$(peak "$bench/startup_probe")
    python3 - "$json" "$bare" "$floor" "$tallaro" <<PY
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
kib = dict(zip(["bare", "floor", "tallaro"], map(int, sys.argv[2:5])))
print("%-8s %10s %10s %14s" % ("", "mean ms", "median ms", "peak RSS MiB"))
for n in ["bare", "floor", "tallaro"]:
    print("%-8s %10.1f %10.1f %14.1f" % (n, r[n]["mean"] * 1e3, r[n]["median"] * 1e3, kib[n] / 1024))
print("tallaro / floor: time %.2fx (median %.2fx), peak RSS %.2fx" % (
    r["tallaro"]["mean"] / r["floor"]["mean"], r["tallaro"]["median"] / r["floor"]["median"],
    kib["tallaro"] / kib["floor"]))
PY
' _ "$(realpath "$build/bench")" "$runs" "$json"
