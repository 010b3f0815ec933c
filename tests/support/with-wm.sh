#!/usr/bin/env bash
# Runs a test program on a real X server with a window manager: a private Xvfb on a free
# display and the window manager on it, all stopped when the program ends, whatever its
# result.
#   with-wm.sh [--wm openbox|icewm] [--screen-reader] program [arguments...]
# --wm picks the window manager (openbox when not given). --screen-reader adds what a
# screen reader's desktop has: a private session bus, the accessibility bus and its
# registry on it, and accessibility switched on as a screen reader switches it on, so the
# program's accessibility events really leave it.
set -u
wm_name=openbox
screen_reader=0
while [[ $# -gt 0 ]]; do
    case "$1" in
    --wm) wm_name="$2"; shift 2 ;;
    --screen-reader) screen_reader=1; shift ;;
    *) break ;;
    esac
done
tmp=$(mktemp -d)
cleanup() {
    [[ -n "${launcher:-}" ]] && kill "$launcher" 2>/dev/null
    [[ -n "${wm:-}" ]] && kill "$wm" 2>/dev/null
    [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null
    [[ -n "${bus:-}" ]] && kill "$bus" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s "$tmp/display" ]] && break; sleep 0.1; done
if [[ ! -s "$tmp/display" ]]; then
    echo "with-wm: Xvfb did not start" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(cat "$tmp/display")"
case "$wm_name" in
openbox) wm_command=(openbox --sm-disable) ;;
icewm) wm_command=(icewm) ;;
*) echo "with-wm: unknown window manager $wm_name" >&2; exit 1 ;;
esac
# The window manager is ready once it owns the window manager selection of screen 0. One
# that stops before (it could not reach the new display yet) is started again.
ready=0
for _ in 1 2 3; do
    "${wm_command[@]}" >"$tmp/wm.log" 2>&1 &
    wm=$!
    for _ in $(seq 100); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
            ready=1
            break
        fi
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    [[ $ready -eq 1 ]] && break
    kill "$wm" 2>/dev/null
    wait "$wm" 2>/dev/null
    sleep 0.5
done
if [[ $ready -ne 1 ]]; then
    echo "with-wm: $wm_name did not start" >&2
    cat "$tmp/wm.log" >&2
    exit 1
fi
if [[ $screen_reader -eq 1 ]]; then
    dbus-daemon --session --nofork --nopidfile --print-address=4 4>"$tmp/bus" \
        2>"$tmp/bus.log" &
    bus=$!
    for _ in $(seq 100); do [[ -s "$tmp/bus" ]] && break; sleep 0.1; done
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$tmp/bus")
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$tmp/launcher.log" 2>&1 &
    launcher=$!
    on=0
    for _ in $(seq 100); do
        if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.freedesktop.DBus.Properties.Set string:org.a11y.Status \
            string:ScreenReaderEnabled variant:boolean:true >/dev/null 2>&1; then
            on=1
            break
        fi
        sleep 0.1
    done
    if [[ $on -ne 1 ]]; then
        echo "with-wm: the accessibility bus did not start" >&2
        cat "$tmp/bus.log" "$tmp/launcher.log" >&2
        exit 1
    fi
fi
export QT_QPA_PLATFORM=xcb
# Under AddressSanitizer: the X keyboard library hands strndup a buffer without a final
# NUL, which strndup may be given; the strict string check would stop every X client there.
if [[ -n "${ASAN_OPTIONS:-}" ]]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS}:strict_string_checks=0"
fi
"$@"
