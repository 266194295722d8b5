#!/usr/bin/env bash
# Start-up time (process start to the main window shown) and peak memory of
# the program beside a bare Qt Widgets window of the same size, in one run on
# one X server. Needs hyperfine, GNU time, xvfb-run and openbox.
# Usage: bench/startup.sh BUILD_DIR
set -euo pipefail
probe=${1:-build}/bench/startup_probe
[ -x "$probe" ] || { echo "build the startup_probe target first" >&2; exit 1; }
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    probe=$1
    openbox >/dev/null 2>&1 &
    sleep 1
    hyperfine -N --warmup 5 --runs 40 --export-json /tmp/tallaro-startup.json \
        -n bare "$probe bare" -n tallaro "$probe" 2>/dev/null | grep -E "Time|±|bare|tallaro" || true
    for which in bare tallaro; do
        arg=""; [ "$which" = bare ] && arg=bare
        kb=$(for i in 1 2 3 4 5; do /usr/bin/time -f "%M" "$probe" $arg 2>&1 >/dev/null | tail -n 1; done | sort -n | tail -n 1)
        echo "$which peak RSS: $kb KiB"
    done
    python3 - <<PY
import json
r = {x["command"]: x["mean"] for x in json.load(open("/tmp/tallaro-startup.json"))["results"]}
print("start-up time ratio tallaro/bare: %.2f" % (r["tallaro"] / r["bare"]))
PY
' _ "$probe"
