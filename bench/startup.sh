#!/usr/bin/env bash
# Start-up time (process start to the main window's first paint) and peak
# resident memory of the program beside the floor (a Qt Widgets window of the
# same size drawing one CJK label in the program's face) and beside a bare Qt
# window that draws no text, in one run on one X server with a window manager.
# The three take turns in several rounds, so that a busy machine weighs on
# each alike. Needs hyperfine, GNU time, xvfb-run and openbox.
# Usage: bench/startup.sh BUILD_DIR [ROUNDS [RUNS_PER_ROUND]]
set -euo pipefail
build=${1:-build}
rounds=${2:-4}
runs=${3:-10}
for p in startup_probe startup_floor; do
    [ -x "$build/bench/$p" ] || { echo "build the startup_probe and startup_floor targets first" >&2; exit 1; }
done
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    bench=$1 rounds=$2 runs=$3 out=$4
    openbox >/dev/null 2>&1 &
    sleep 1
    for round in $(seq 1 "$rounds"); do
        hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$out/round$round.json" \
            -n bare "$bench/startup_floor bare" -n floor "$bench/startup_floor" -n tallaro "$bench/startup_probe" >/dev/null 2>&1
        # Peak resident memory of each, once a round.
        for which in bare floor tallaro; do
            case $which in
                bare) cmd=("$bench/startup_floor" bare) ;;
                floor) cmd=("$bench/startup_floor") ;;
                tallaro) cmd=("$bench/startup_probe") ;;
            esac
            /usr/bin/time -f "$which %M" "${cmd[@]}" 2>&1 >/dev/null | tail -n 1 >>"$out/rss"
        done
    done
    python3 - "$out" <<PY
import glob, json, statistics, sys
out = sys.argv[1]
times = {}
for f in sorted(glob.glob(out + "/round*.json")):
    for r in json.load(open(f))["results"]:
        times.setdefault(r["command"], []).extend(r["times"])
rss = {}
for line in open(out + "/rss"):
    name, kib = line.split()
    rss.setdefault(name, []).append(int(kib))
names = ["bare", "floor", "tallaro"]
mean = {n: statistics.mean(times[n]) * 1e3 for n in names}
median = {n: statistics.median(times[n]) * 1e3 for n in names}
peak = {n: statistics.median(rss[n]) / 1024 for n in names}
print("%d runs each" % len(times["tallaro"]))
print("%-8s %8s %10s %14s" % ("", "mean ms", "median ms", "peak RSS MiB"))
for n in names:
    print("%-8s %8.1f %10.1f %14.1f" % (n, mean[n], median[n], peak[n]))
print("tallaro / floor: time %.2fx (median %.2fx), peak RSS %.2fx" % (
    mean["tallaro"] / mean["floor"], median["tallaro"] / median["floor"], peak["tallaro"] / peak["floor"]))
PY
' _ "$(realpath "$build/bench")" "$rounds" "$runs" "$out"
