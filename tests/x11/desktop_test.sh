#!/usr/bin/env bash
# The program on a real X server with a window manager (WM: openbox, metacity
# or icewm), driven as a person would drive it: no decoration of the window
# manager's, centring on the whole screen, fixed size, a move put back,
# minimise and restore, then a whole bill from start to exit, checked through
# the clipboard, with a minimised checkout brought back by a click on the
# blocked main window. Run inside xvfb-run with a 1280x1024 screen; $1 is the
# program.
set -uo pipefail
program=$1
. "$(dirname "$0")/lib.sh"

start_window_manager
"$program" >/dev/null 2>&1 &
app=$!
trap 'kill $wm 2>/dev/null; kill $app 2>/dev/null' EXIT

main=$(wait_for_window "Tallaro Beta2017.2")
[ -n "$main" ] || { echo "FAIL the main window did not appear"; exit 1; }
sleep 1

OWN_FRAME_HINTS="0x3, 0x8, 0x0, 0x0, 0x0"  # no decorations; of the functions, minimise
check "$WM: hints: no decorations, minimise only" "$OWN_FRAME_HINTS" \
    "$(xprop -id "$main" _MOTIF_WM_HINTS | sed 's/.*= //')"
check "$WM: no frame from the window manager" "0 0 0 0" "$(extents "$main")"
check "$WM: main window centred, 926x506 outer" "$MAIN_FRAME" "$(frame "$main")"
hints=$(xprop -id "$main" WM_NORMAL_HINTS)
min=$(awk -F': ' '/minimum size/ {print $2}' <<<"$hints")
max=$(awk -F': ' '/maximum size/ {print $2}' <<<"$hints")
check "$WM: fixed size" "$min" "$max"
check "$WM: main window in the taskbar" "" "$(xprop -id "$main" _NET_WM_STATE | grep -o SKIP_TASKBAR)"

xdotool windowmove "$main" 20 30
sleep 1
check "$WM: a move is put back" "$MAIN_FRAME" "$(frame "$main")"

xdotool windowminimize "$main"
sleep 1
check "$WM: minimised" "IsUnMapped" "$(map_state "$main")"
wmctrl -i -a "$main"
sleep 1
check "$WM: restored" "IsViewable" "$(map_state "$main")"
check "$WM: restored in place" "$MAIN_FRAME" "$(frame "$main")"

at "$main" 592 276     # 开始收银
at "$main" 800 72      # 2.0元
at "$main" 512 72      # 0.1元
at "$main" 612 210     # the custom price box
xdotool type --delay 50 "3.5x"
at "$main" 744 212     # 确认
log=$(copy_log "$main")
check "$WM: sales log, time stamp" "yes" \
    "$(head -n 1 <<<"$log" | grep -qE '^当前时间：[0-9]+年[0-9]+月[0-9]+日' && echo yes)"
check "$WM: sales log, entries" "初始化完成，开始收银：
第1件商品，金额 2.0 元
第2件商品，金额 0.1 元
第3件商品，金额 3.5 元" "$(tail -n +2 <<<"$log")"

at "$main" 804 276     # 开始结账
checkout=$(wait_for_window "结账窗口")
[ -n "$checkout" ] || { echo "FAIL the checkout window did not appear"; exit 1; }
sleep 0.5
check "$WM: checkout window centred, 619x386 outer" "$CHECKOUT_FRAME" "$(frame "$checkout")"
check "$WM: checkout window not in the taskbar" "SKIP_TASKBAR" \
    "$(xprop -id "$checkout" _NET_WM_STATE | grep -o SKIP_TASKBAR)"
check "$WM: checkout hints" "$OWN_FRAME_HINTS" "$(xprop -id "$checkout" _MOTIF_WM_HINTS | sed 's/.*= //')"
check "$WM: no frame around the checkout" "0 0 0 0" "$(extents "$checkout")"
xdotool type --delay 50 "10"   # the focus opens in the amount received box
at "$checkout" 456 224         # 确认
at "$main" 592 276             # blocked while the checkout is open

# Minimised, the checkout has no taskbar entry: a click on the blocked main
# window brings it back, active.
xdotool windowminimize "$checkout"
sleep 1
check "$WM: checkout minimised" "IsUnMapped" "$(map_state "$checkout")"
at "$main" 232 244
sleep 1
check "$WM: a click on the main window brings the checkout back" "IsViewable" "$(map_state "$checkout")"
check "$WM: ... and activates it" "$checkout" "$(xdotool getactivewindow 2>/dev/null)"
check "$WM: ... in its place" "$CHECKOUT_FRAME" "$(frame "$checkout")"
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/checkout.png"
at "$checkout" 284 320         # 结束该账单
sleep 0.5
check "$WM: one window left" "1" "$(xdotool search --onlyvisible --name '^(Tallaro Beta2017.2|结账窗口)$' | wc -l)"
main=$(wait_for_window "Tallaro Beta2017.2")
check "$WM: fresh sales log" "请点击下方开始收银，然后进行操作" "$(copy_log "$main")"
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/main.png"

at "$main" 764 336     # 使用结束 退出程序
wait_for_exit "$app"
check "$WM: exit status" "0" "$?"

echo "$failures failed"
[ "$failures" -eq 0 ]
