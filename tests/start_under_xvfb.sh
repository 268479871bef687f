#!/usr/bin/env bash
# Starts the program under a real X server (Xvfb) and checks that it comes
# up and keeps running: the platform plugin, its libraries and the fonts are
# in place. Skips (status 77) when xvfb-run is not installed.
set -u
program="$1"
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run not installed"; exit 77; }
log=$(mktemp)
QT_QPA_PLATFORM=xcb timeout 8 xvfb-run -a -s "-screen 0 1280x1024x24" "$program" >"$log" 2>&1
status=$?
cat "$log"
# timeout ends a program that is still running after 8 seconds with 124.
if [ "$status" -ne 124 ]; then
    echo "the program ended early with status $status"
    exit 1
fi
if grep -qiE "could not (load|connect)|no Qt platform plugin|cannot open display" "$log"; then
    exit 1
fi
echo "the program ran under Xvfb"
exit 0
