#!/usr/bin/env bash
# Ends the real program as the user does, under a real X server: its main
# window is closed (the closing window appears instead, and the program goes
# on), then the closing window. The process must then be gone within a few
# seconds with exit status 0. Skips (status 77) without xvfb-run or xdotool.
set -u
program="$1"
closer="$2"
if [ -z "${DISPLAY_FOR_CLOSE_TEST:-}" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run not installed"; exit 77; }
    command -v xdotool >/dev/null 2>&1 || { echo "xdotool not installed"; exit 77; }
    exec env DISPLAY_FOR_CLOSE_TEST=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
log=$(mktemp)
"$program" >"$log" 2>&1 &
pid=$!
fail() {
    echo "$1"
    cat "$log"
    kill "$pid" 2>/dev/null
    exit 1
}
# The first visible window whose title matches, once it is there.
window() {
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
main=$(window "soil salinity and water table model") || fail "the main window did not appear"
"$closer" "$main" || fail "could not ask the main window to close"
farewell=$(window "^Close all$") || fail "closing the main window did not show the closing window"
kill -0 "$pid" 2>/dev/null || fail "the program ended when its main window was closed"
xdotool search --onlyvisible --name "soil salinity and water table model" >/dev/null ||
    fail "the main window did not stay open"
"$closer" "$farewell" || fail "could not ask the closing window to close"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    fail "the program was still running 10 s after both windows were closed"
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "the program ended with status 0"
