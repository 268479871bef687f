#!/usr/bin/env bash
# Ends the real program as the user does: its main window is closed (the
# closing window appears instead), then the closing window. The process must
# be gone within a few seconds with exit status 0.
set -u
program="$1"
log=$(mktemp)
QT_QPA_PLATFORM=offscreen HALOVANE_CLOSE_TEST=1 timeout 10 "$program" >"$log" 2>&1
status=$?
cat "$log"
if [ "$status" -eq 124 ]; then
    echo "the program was still running 10 s after both windows were closed"
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "the program ended with status $status"
    exit 1
fi
grep -q "main window open, closing window shown" "$log" || { echo "closing the main window did not show the closing window"; exit 1; }
echo "the program ended with status 0"
