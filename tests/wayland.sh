#!/usr/bin/env bash
# The real program on a real Wayland compositor (weston), checked from
# outside: what it says on the wire (WAYLAND_DEBUG), which platform plugin it
# loaded, what a user's keys and clicks do.
#   tests/wayland.sh headless SCALE LINTERP   weston's headless backend at an
#       output scale: the program picks Wayland, its app id, title, fixed size,
#       buffer scale and first frame.
#   tests/wayland.sh input SCALE LINTERP      (under xvfb-run) weston's X11
#       backend at an output scale, whose seat takes Xvfb's keyboard and
#       mouse: keys typed from the start go to y1, the result read back
#       through the clipboard; the title bar's maximise button, clicked twice,
#       maximises and restores the window with the result still there; its
#       close button ends the program.
# Exits 77 (skipped) when weston or a tool it needs is missing. Objects in the
# wire log are "wl_surface@13" up to libwayland 1.22 and "wl_surface#13" from
# 1.23 (Debian 13), so every pattern takes both.
set -euo pipefail
mode=${1:?usage: $0 headless SCALE LINTERP | input SCALE LINTERP}
shift
skip() { echo "wayland: skipped: $*"; exit 77; }
fail() { echo "wayland: FAILED: $*" >&2; [[ -f "$work/app.log" ]] && tail -n 20 "$work/app.log" >&2; exit 1; }
command -v weston >/dev/null || skip "weston is not installed (Debian package weston)"
qt_plugins=$(dirname "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' -print -quit 2>/dev/null || true)")
[[ -n "$qt_plugins" && "$qt_plugins" != . ]] || skip "Qt's Wayland platform plugin is not installed (qt6-wayland)"

work=$(mktemp -d)
compositor= program=
cleanup() {
    [[ -n "$program" ]] && kill "$program" 2>/dev/null
    [[ -n "$compositor" ]] && kill "$compositor" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_weston() {
    weston --socket=linterp-test --idle-time=0 "$@" >"$work/weston.log" 2>&1 &
    compositor=$!
    for _ in $(seq 100); do
        [[ -S "$XDG_RUNTIME_DIR/linterp-test" ]] && return 0
        kill -0 "$compositor" 2>/dev/null || break
        sleep 0.05
    done
    cat "$work/weston.log" >&2
    fail "weston did not start"
}

# Starts the program as a Wayland session would: no X display to fall back on.
start_program() {
    env -u DISPLAY WAYLAND_DISPLAY=linterp-test WAYLAND_DEBUG=client "$@" >"$work/app.log" 2>&1 &
    program=$!
}

# Waits until the program has sent its first frame: a buffer committed after
# the compositor's first configure, so the event loop is running.
wait_for_frame() {
    for _ in $(seq 200); do
        if grep -q 'xdg_toplevel[@#][0-9]*\.configure' "$work/app.log" \
            && sed -n '/xdg_toplevel[@#][0-9]*\.configure/,$p' "$work/app.log" | grep -q 'wl_surface[@#][0-9]*\.commit'; then
            return 0
        fi
        kill -0 "$program" 2>/dev/null || fail "the program ended before showing its window"
        sleep 0.05
    done
    fail "no frame within 10 s"
}

expect_line() { grep -qF -- "$1" "$work/app.log" || fail "the program never sent $1"; }

case "$mode" in
headless)
    scale=${1:?scale}
    linterp=${2:?linterp}
    # The identity the build configured, beside the program.
    source "$(dirname "$linterp")/product.env"
    start_weston --backend=headless-backend.so --width=1024 --height=768 --scale="$scale"
    # No QT_QPA_PLATFORM: on a Wayland session Qt picks its Wayland plugin itself.
    start_program env -u QT_QPA_PLATFORM XDG_SESSION_TYPE=wayland "$linterp"
    wait_for_frame
    grep -q 'libqwayland-generic\.so' "/proc/$program/maps" || fail "the Wayland platform plugin is not loaded"
    if grep -q 'libqxcb\.so' "/proc/$program/maps"; then fail "the program runs on xcb"; fi
    expect_line "set_app_id(\"$LINTERP_APP_ID\")"
    expect_line "set_title(\"$LINTERP_NAME\")"
    # Fixed size: the same minimum and maximum, the table's client area.
    expect_line 'set_min_size(409, 289)'
    expect_line 'set_max_size(409, 289)'
    expect_line "set_buffer_scale($scale)"
    # The window's buffer: its 409x289 contents and the frame Qt draws around
    # them, in device pixels.
    read -r width height < <(sed -n 's/.*wl_shm_pool[@#][0-9]*\.create_buffer(new id wl_buffer[@#][0-9]*, [0-9]*, \([0-9]*\), \([0-9]*\),.*/\1 \2/p' \
        "$work/app.log" | head -n 1)
    [[ -n "${width:-}" ]] || fail "no buffer was made"
    (( width % scale == 0 && height % scale == 0 )) || fail "buffer ${width}x${height} is not scaled by $scale"
    (( width / scale >= 409 && height / scale >= 289 && width / scale <= 429 && height / scale <= 339 )) \
        || fail "buffer ${width}x${height} does not hold 409x289 at scale $scale with a frame"
    echo "wayland: scale $scale: app id, title, 409x289 fixed, buffer ${width}x${height}, wayland plugin"
    ;;
input)
    scale=${1:?scale}
    linterp=${2:?linterp}
    [[ -n "${DISPLAY:-}" ]] || skip "needs an X display for weston's X11 backend (run under xvfb-run)"
    for tool in xdotool xclip Xwayland; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    # Xwayland carries the program's clipboard to an X display xclip can read.
    # The output is 800x600 in logical pixels; X sees it SCALE times larger.
    start_weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --scale="$scale" --xwayland
    start_program env QT_QPA_PLATFORM=wayland "$linterp"
    wait_for_frame
    sleep 0.5
    # X pixels of a point in logical pixels of the output.
    x() { echo $(($1 * scale)); }
    # The window is placed at random but always covers the output's centre.
    # Xvfb starts the pointer there: move it away first, so that it enters.
    xdotool mousemove 10 10
    sleep 0.1
    xdotool mousemove "$(x 400)" "$(x 300)"
    sleep 0.3
    # The focus starts in y1: typing from the start fills y1, x1, x2, y2 and x,
    # and leaves the focus on "差 值".
    "$(dirname "$0")/../scripts/type-example.sh"
    sleep 0.3
    xdotool key Tab # y comes next
    x_display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | tail -n 1)
    # What y shows, copied as a user would.
    read_y() {
        xdotool key ctrl+a ctrl+c
        sleep 0.5
        local display result=
        for display in $x_display $(ls /tmp/.X11-unix | sed 's/^X/:/'); do
            [[ "$display" == "$DISPLAY" ]] && continue
            result=$(timeout 3 xclip -o -selection clipboard -display "$display" 2>/dev/null || true)
            [[ -n "$result" ]] && break
        done
        echo "$result"
    }
    result=$(read_y)
    [[ "$result" == 4 ]] || fail "y shows '${result}' for x = 2.5 on the line through (1, 1) and (3, 5), not 4"
    echo "wayland: scale $scale: typed y1, x1, x2, y2, x from the start, y = $result"

    geometry() { sed -n 's/.*set_window_geometry(0, 0, \([0-9]*\), \([0-9]*\)).*/\1x\2/p' "$work/app.log" | tail -n 1; }
    alive() { kill -0 "$program" 2>/dev/null || fail "the program ended after $1"; }
    # Where the window is (left top width, logical): the pointer is moved to
    # the output's centre, which the window covers, and the program is told
    # where that is on its surface.
    locate() {
        xdotool mousemove "$(x 20)" "$(x 200)"
        sleep 0.2
        xdotool mousemove "$(x 400)" "$(x 300)"
        sleep 0.3
        local at
        at=$(grep -E 'wl_pointer[@#][0-9]*\.(enter|motion)\(' "$work/app.log" | tail -n 1)
        [[ -n "$at" ]] || fail "the pointer never entered the window"
        read -r sx sy < <(sed 's/.*, \([0-9.]*\), \([0-9.]*\))$/\1 \2/' <<<"$at")
        local size
        size=$(geometry)
        echo "$((400 - ${sx%.*})) $((300 - ${sy%.*})) ${size%x*}"
    }
    # The title bar Qt draws: close, maximise and minimise from the right, 23
    # pixels apart, 14 pixels down.
    click_title_button() { # N: 0 close, 1 maximise
        local left top width
        read -r left top width < <(locate)
        # The pointer settles first: a click that arrives with its motion can
        # be taken for a press on the title bar, which starts a move.
        xdotool mousemove "$(x $((left + width - 17 - 23 * $1)))" "$(x $((top + 14)))"
        sleep 0.3
        xdotool click 1
        sleep 1
    }

    # Maximise: the compositor makes the window cover the output; the window
    # must take that size (weston ends a program that does not) and keep what
    # was typed.
    normal=$(geometry)
    click_title_button 1
    alive "its maximise button was clicked"
    read -r wanted < <(sed -n 's/.*xdg_toplevel[@#][0-9]*\.configure(\([1-9][0-9]*\), \([0-9]*\), .*/\1x\2/p' "$work/app.log" | tail -n 1)
    [[ -n "$wanted" && "$(geometry)" == "$wanted" ]] || fail "maximised to ${wanted:-nothing}, the window is $(geometry)"
    result=$(read_y)
    alive "it was drawn maximised"
    [[ "$result" == 4 ]] || fail "maximised, y shows '${result}', not 4"
    echo "wayland: scale $scale: maximised to $wanted, y = $result"
    # Back: the same button, now at the right end of the output.
    click_title_button 1
    alive "it was restored"
    [[ "$(geometry)" == "$normal" ]] || fail "restored, the window is $(geometry), not $normal"
    result=$(read_y)
    [[ "$result" == 4 ]] || fail "restored, y shows '${result}', not 4"
    echo "wayland: scale $scale: restored to $normal, y = $result"

    click_title_button 0
    for _ in $(seq 60); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$program" 2>/dev/null; then fail "the program still runs 3 s after its close button was clicked"; fi
    wait "$program" && status=0 || status=$?
    program=
    [[ $status -eq 0 ]] || fail "the program exited with status $status after closing"
    echo "wayland: scale $scale: the close button ended the program with status 0"
    ;;
*) echo "usage: $0 headless SCALE LINTERP | input SCALE LINTERP" >&2; exit 2 ;;
esac
