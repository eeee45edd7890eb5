#!/usr/bin/env bash
# An unreadable data file: the application starts, tells the user in a message popover,
# and leaves the file exactly as it was, also after quitting.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
printf '{"nw_logs": [ {"year": 2021, "month": 12, "nw": ' >"$HOME/mervane.json"
cp "$HOME/mervane.json" "$E2E_HOME/original.json"

e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
message=$(e2e_wait_window '^Mervane message$') || fail "no message popover"
e2e_screenshot_painted "$shots/shell-unreadable-data.png" || fail "no screenshot"
# Xvfb runs no compositing manager: the popover must be cut to its rounded panel, so the
# pixel just outside its bottom left corner (panel inset 12 for the arrow, border 2, radius 4)
# shows the main window behind it, not black.
read -r mx my mw mh <<<"$(e2e_window_geometry "$message")"
corner=$(convert "$shots/shell-unreadable-data.png" \
    -format "%[fx:int(255*max(p{$((mx + 11)),$((my + mh - 12))}.r,p{$((mx + 11)),$((my + mh - 12))}.g))]" info:)
[ "${corner:-0}" -gt 64 ] || fail "black around the message popover's corner (brightness $corner)"
# The whole notice fits: the popover is taller than the two lines it once showed.
[ "$mh" -gt 130 ] || fail "the message popover is only $mh pixels tall"
cmp -s "$HOME/mervane.json" "$E2E_HOME/original.json" || fail "the data file changed while running"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit 20 || fail "Ctrl+Q did not quit cleanly"
cmp -s "$HOME/mervane.json" "$E2E_HOME/original.json" || fail "the data file changed"
echo "PASS"
