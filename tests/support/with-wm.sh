#!/usr/bin/env bash
# Runs a test program on a real X server with a window manager: a private Xvfb on a free
# display and openbox on it, both stopped when the program ends, whatever its result.
set -u
tmp=$(mktemp -d)
cleanup() {
    [[ -n "${wm:-}" ]] && kill "$wm" 2>/dev/null
    [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null
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
openbox --sm-disable >"$tmp/wm.log" 2>&1 &
wm=$!
# openbox is ready once it owns the window manager selection of screen 0.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
export QT_QPA_PLATFORM=xcb
# Under AddressSanitizer: the X keyboard library hands strndup a buffer without a final
# NUL, which strndup may be given; the strict string check would stop every X client there.
if [[ -n "${ASAN_OPTIONS:-}" ]]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS}:strict_string_checks=0"
fi
"$@"
