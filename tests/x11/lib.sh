# Shared by the X11 tests: checks, waiting for windows, frame geometry and
# clicks in client coordinates. Source it inside xvfb-run.

failures=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}

# The window manager named by WM (openbox, metacity or icewm).
WM=${WM:-openbox}
start_window_manager() {
    "$WM" >/dev/null 2>&1 &
    wm=$!
    sleep 1.5
}

wait_for_window() {  # wait_for_window TITLE -> window id
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    echo "$id"
}

# What the window manager draws around a window: _NET_FRAME_EXTENTS as
# "L R T B", none being "0 0 0 0".
extents() {  # extents ID
    local ext
    ext=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep '=' | sed 's/.*= //; s/,//g')
    echo "${ext:-0 0 0 0}"
}

# Frame geometry: client position and size plus _NET_FRAME_EXTENTS.
frame() {  # frame ID -> "X Y W H"
    local info l r t b x y w h
    info=$(xwininfo -id "$1")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/Width:/ {print $2}' <<<"$info")
    h=$(awk '/Height:/ {print $2}' <<<"$info")
    read -r l r t b <<<"$(extents "$1")"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

map_state() { xwininfo -id "$1" | awk '/Map State/ {print $3}'; }

# The windows draw their own 3-pixel frame and 22-pixel caption: the form's
# client area starts at (3, 25) of the X window.
CLIENT_X=3
CLIENT_Y=25
at() {  # at WINDOW X Y: click there, in the form's client coordinates
    xdotool mousemove --window "$1" $(($2 + CLIENT_X)) $(($3 + CLIENT_Y)) click 1
    sleep 0.3
}

# The sales log's text, copied as a user would: click, Ctrl+A, Ctrl+C.
copy_log() {  # copy_log MAIN
    at "$1" 232 244
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    xclip -o -selection clipboard 2>/dev/null
}

error_boxes() { xdotool search --onlyvisible --name '^错误$' 2>/dev/null | wc -l; }

wait_for_exit() {  # wait_for_exit PID -> its status
    for _ in $(seq 1 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    wait "$1"
}

# The centred frames of the two windows on the 1280x1024 screen.
MAIN_FRAME="177 259 926 506"
CHECKOUT_FRAME="330 319 619 386"
