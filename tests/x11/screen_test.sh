#!/usr/bin/env bash
# Screen changes, on an X server whose modes can change (Xorg with the dummy
# video driver; Xvfb cannot change its mode): started with no screen mode and
# then given one, the main window ends centred; after a change of resolution
# both windows are centred on the new screen; after the window manager is
# restarted, with a move in between, the outer rectangles are unchanged.
# $1 is the program. Skipped (status 77) where Xorg or its dummy driver is
# not installed.
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

command -v Xorg >/dev/null || { echo "SKIP: no Xorg (Debian package xserver-xorg-core)"; exit 77; }
[ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    { echo "SKIP: no dummy video driver (Debian package xserver-xorg-video-dummy)"; exit 77; }

tmp=$(mktemp -d)
for n in $(seq 40 99); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
Xorg "$display" -config "$here/xorg-dummy.conf" -configdir "$tmp" -noreset -nolisten tcp \
    -logfile "$tmp/xorg.log" >"$tmp/xorg.out" 2>&1 &
xserver=$!
export DISPLAY=$display
wm=""
app=""
trap 'kill $app $wm 2>/dev/null; kill $xserver 2>/dev/null; wait $xserver 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
xdpyinfo >/dev/null 2>&1 || { echo "FAIL Xorg did not start:"; tail -n 20 "$tmp/xorg.log"; exit 1; }
output=$(xrandr | awk '/ connected/ {print $1; exit}')

# No mode at all when the program starts.
xrandr --output "$output" --off
start_window_manager
"$program" >/dev/null 2>&1 &
app=$!
main=$(wait_for_window "Tallaro Beta2017.2")
[ -n "$main" ] || { echo "FAIL the main window did not appear"; exit 1; }
sleep 1
xrandr --output "$output" --mode 1280x1024
sleep 1.5
check "no mode, then 1280x1024: main window centred" "$MAIN_FRAME" "$(frame "$main")"

at "$main" 592 276     # 开始收银
at "$main" 804 276     # 开始结账
checkout=$(wait_for_window "结账窗口")
[ -n "$checkout" ] || { echo "FAIL the checkout window did not appear"; exit 1; }
sleep 0.5
centred_after() {  # centred_after MODE MAIN_FRAME CHECKOUT_FRAME
    xrandr --output "$output" --mode "$1"
    sleep 1.5
    check "$1: main window centred" "$2" "$(frame "$main")"
    check "$1: checkout window centred" "$3" "$(frame "$checkout")"
}
centred_after 1024x768 "49 131 926 506" "202 191 619 386"
centred_after 1280x1024 "$MAIN_FRAME" "$CHECKOUT_FRAME"

# The window manager stops, a window is moved meanwhile, it starts again.
kill "$wm"
wait "$wm" 2>/dev/null
sleep 0.5
xdotool windowmove "$main" 5 5
sleep 0.5
start_window_manager
sleep 1
check "window manager restarted: main window" "$MAIN_FRAME" "$(frame "$main")"
check "window manager restarted: checkout window" "$CHECKOUT_FRAME" "$(frame "$checkout")"

at "$checkout" 284 320  # 结束该账单
main=$(wait_for_window "Tallaro Beta2017.2")
at "$main" 764 336      # 使用结束 退出程序
wait_for_exit "$app"
check "exit status" "0" "$?"
app=""

echo "$failures failed"
[ "$failures" -eq 0 ]
