#!/usr/bin/env bash
# The program in a Wayland session that offers Xwayland, simulated on Xvfb:
# the session's variables name a Wayland display that is not there, so only
# X11 can show the windows. Run inside xvfb-run.
# Usage: wayland_session_test.sh PROGRAM
set -uo pipefail
program=$1
# A runtime directory of its own, as private as a session's (Qt warns otherwise).
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
err=$(mktemp)
trap 'rm -rf "$err" "$XDG_RUNTIME_DIR"; [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null' EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}
main_window() { xdotool search --onlyvisible --name '^Tallaro Beta2017.2$' 2>/dev/null | head -n 1; }
wait_for_main_window() {
    local id=""
    for _ in $(seq 1 100); do id=$(main_window); [ -n "$id" ] && break; sleep 0.1; done
    echo "$id"
}

openbox >/dev/null 2>&1 &
wm=$!
sleep 1
session=(WAYLAND_DISPLAY=wayland-absent XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME)

# Both displays named: the windows come up on X11, with nothing on standard
# error, and the exit button ends the program with status 0.
env -u QT_QPA_PLATFORM "${session[@]}" "$program" 2>"$err" &
pid=$!
id=$(wait_for_main_window)
check "main window on X11" yes "$([ -n "$id" ] && echo yes || echo no)"
# 使用结束 退出程序, at (764, 336) of the client area, which starts at (3, 25)
# inside the window's own frame and caption.
[ -n "$id" ] && xdotool mousemove --window "$id" 767 361 click 1
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null
wait "$pid"
check "exit status" 0 "$?"
check "standard error" "" "$(cat "$err")"

# A platform the user chose wins: offscreen shows nothing on the X server.
env "${session[@]}" QT_QPA_PLATFORM=offscreen "$program" 2>/dev/null &
pid=$!
sleep 2
check "QT_QPA_PLATFORM is kept" "" "$(main_window)"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

# Only a Wayland display and no Wayland plugin of Qt: the one-line
# no-display message and status 1, as without any display.
if ls "$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)"/platforms/libqwayland-* >/dev/null 2>&1; then
    echo "skip Wayland only: Qt's Wayland plugin is installed"
else
    env -u DISPLAY -u QT_QPA_PLATFORM "${session[@]}" "$program" 2>"$err"
    check "Wayland only: status" 1 "$?"
    check "Wayland only: one line" "1 no display" "$(wc -l <"$err") $(grep -o 'no display' "$err")"
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
