#!/usr/bin/env bash
# Starts Mervane, waits for its main window, keeps a screenshot, quits with Ctrl+Q
# and expects a clean exit.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/start.png" || { echo "screenshot failed"; exit 1; }
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit 20
rc=$?
echo "exit code: $rc"
[ -s "$shots/start.png" ] || { echo "no screenshot"; exit 1; }
exit $rc
