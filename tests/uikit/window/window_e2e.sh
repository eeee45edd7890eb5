#!/usr/bin/env bash
# The main window under a real X server: dragging the title strip by (+50, +30) moves
# the window by that much, dragging its bottom-right corner resizes it, hovering a window
# button shows the rollover image on all three (also across the gaps between them), and
# the close button closes the window (and ends the program).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../e2e/e2e_lib.sh"
demo=$1
shots=$2

fail() { echo "FAIL: $*"; cat "$E2E_HOME/app.log" 2>/dev/null; exit 1; }


geometry() { xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)='; }
at_position() { eval "$(geometry)"; [ "$X" = "$1" ] && [ "$Y" = "$2" ]; }
of_size() { eval "$(geometry)"; [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]; }

# drag <x> <y> <dx> <dy>: presses at (x, y) and moves by (dx, dy) in ten steps.
drag() {
    xdotool mousemove --sync "$1" "$2"
    xdotool mousedown 1
    for step in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove --sync $(($1 + step * $3 / 10)) $(($2 + step * $4 / 10))
    done
    xdotool mouseup 1
}
last_rollover_is() { [ "$(grep '^rollover' "$E2E_HOME/app.log" | tail -n1)" = "rollover $1" ]; }

e2e_setup || exit 1
e2e_start "$demo"
window=$(e2e_wait_window '^Mervane Window Demo$') || exit 1
e2e_screenshot_painted "$shots/window-start.png" || fail "no screenshot"

eval "$(geometry)"
x0=$X
y0=$Y
# Press in the empty middle of the strip and drag.
drag $((x0 + 300)) $((y0 + 20)) 50 30
e2e_wait_for at_position $((x0 + 50)) $((y0 + 30)) || { eval "$(geometry)"; fail "window at $X,$Y, expected $((x0 + 50)),$((y0 + 30))"; }
echo "moved from $x0,$y0 to $((x0 + 50)),$((y0 + 30))"

# The bottom-right corner grows the window and keeps its top-left corner.
eval "$(geometry)"
w0=$WIDTH
h0=$HEIGHT
drag $((X + WIDTH - 2)) $((Y + HEIGHT - 2)) 40 20
e2e_wait_for of_size $((w0 + 40)) $((h0 + 20)) || { eval "$(geometry)"; fail "window is ${WIDTH}x$HEIGHT, expected $((w0 + 40))x$((h0 + 20))"; }
at_position $((x0 + 50)) $((y0 + 30)) || fail "resizing moved the window"
echo "resized from ${w0}x$h0 to $((w0 + 40))x$((h0 + 20))"

# The close button: 7 points from the left, 3 below the top of the strip, 14 x 16.
eval "$(geometry)"
xdotool mousemove --sync $((X + 14)) $((Y + 11))
e2e_wait_for last_rollover_is 3 || fail "hovering the close button did not roll over all three buttons"
e2e_screenshot "$shots/window-rollover.png"
# Across the gaps to the zoom button: the rollover stays on all the way.
before=$(wc -l <"$E2E_HOME/app.log")
for x in $(seq 16 2 54); do
    xdotool mousemove --sync $((X + x)) $((Y + 11))
done
xdotool mousemove --sync $((X + 300)) $((Y + 200))
e2e_wait_for last_rollover_is 0 || fail "leaving the buttons did not end the rollover"
offs=$(tail -n +$((before + 1)) "$E2E_HOME/app.log" | grep -c '^rollover 0')
[ "$offs" = 1 ] || fail "the rollover went off $((offs - 1)) time(s) between the buttons"
echo "rollover on all three while over the buttons and the gaps between them"

xdotool mousemove --sync $((X + 14)) $((Y + 11))
xdotool click 1
e2e_wait_exit 10
rc=$?
[ $rc -eq 0 ] || fail "the program did not end cleanly after the close button (exit $rc)"
echo "closed by its close button"
