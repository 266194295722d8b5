#!/usr/bin/env bash
# Window-manager faults at every stage of a bill: close requests (as the
# window manager sends them for Alt+F4 or a close button it draws anyway) and
# moves. The program never ends in a fatal error from them and never leaves a
# window disabled for good. Run inside xvfb-run with a 1280x1024 screen; $1 is
# the program.
set -uo pipefail
program=$1
. "$(dirname "$0")/lib.sh"

start_window_manager
trap 'kill $wm 2>/dev/null; kill $app 2>/dev/null' EXIT

close_request() { wmctrl -i -c "$1" 2>/dev/null; sleep 0.5; }
moved_back() {  # moved_back NAME ID FRAME
    xdotool windowmove "$2" 5 5
    sleep 1
    check "$1: a move is put back" "$3" "$(frame "$2")"
}
alive() { kill -0 "$app" 2>/dev/null && echo yes || echo no; }

# Before the bill: moves, then a close request ends the program with 0.
"$program" >/dev/null 2>&1 &
app=$!
main=$(wait_for_window "Tallaro Beta2017.2")
sleep 1
moved_back "before the bill" "$main" "$MAIN_FRAME"
close_request "$main"
wait_for_exit "$app"
check "close request before the bill: status" "0" "$?"

# A bill with the checkout open.
"$program" >/dev/null 2>&1 &
app=$!
main=$(wait_for_window "Tallaro Beta2017.2")
sleep 1
at "$main" 592 276     # 开始收银
at "$main" 664 120     # 20元
moved_back "entering" "$main" "$MAIN_FRAME"
log=$(copy_log "$main")

at "$main" 804 276     # 开始结账
checkout=$(wait_for_window "结账窗口")
sleep 0.5
close_request "$main"
check "checkout open, main closed: still running" "yes" "$(alive)"
check "checkout open, main closed: main still there" "$main" "$(wait_for_window "Tallaro Beta2017.2")"
check "checkout open, main closed: checkout still there" "$checkout" "$(wait_for_window "结账窗口")"
moved_back "checkout open, main" "$main" "$MAIN_FRAME"
moved_back "checkout open, checkout" "$checkout" "$CHECKOUT_FRAME"
xdotool windowactivate --sync "$checkout" 2>/dev/null
xdotool type --delay 50 "50"
at "$checkout" 456 224  # 确认
close_request "$checkout"
check "checkout closed: gone" "" "$(xdotool search --onlyvisible --name '^结账窗口$')"
check "checkout closed: bill kept" "$log" "$(copy_log "$main")"
at "$main" 472 168      # 100元: the main window takes input again
check "checkout closed: main takes input" "$log
第2件商品，金额 100.0 元" "$(copy_log "$main")"

# The end of the bill, with close requests and moves between the destroy
# requests and their execution.
at "$main" 804 276      # 开始结账
checkout=$(wait_for_window "结账窗口")
sleep 0.5
xdotool mousemove --window "$checkout" $((284 + CLIENT_X)) $((320 + CLIENT_Y)) click 1 \
    && { wmctrl -i -c "$checkout"; wmctrl -i -c "$main"; xdotool windowmove "$main" 5 5; } 2>/dev/null
sleep 1
check "end of bill under faults: no error box" "0" "$(error_boxes)"
check "end of bill under faults: still running" "yes" "$(alive)"
main=$(wait_for_window "Tallaro Beta2017.2")
check "end of bill under faults: one window" "1" \
    "$(xdotool search --onlyvisible --name '^(Tallaro Beta2017.2|结账窗口)$' | wc -l)"
check "end of bill under faults: fresh main window takes input" "请点击下方开始收银，然后进行操作" \
    "$(copy_log "$main")"
moved_back "after the bill" "$main" "$MAIN_FRAME"

close_request "$main"
wait_for_exit "$app"
check "close request after the bill: status" "0" "$?"
check "no error box at any stage" "0" "$(error_boxes)"

echo "$failures failed"
[ "$failures" -eq 0 ]
