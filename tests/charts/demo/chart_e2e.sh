#!/usr/bin/env bash
# The chart layer under a real X server: a click on a line symbol, on a bar with a raised
# base and on a pie slice each opens the value popup with that element's texts, pointing at
# the element from just above it, and a new click replaces the popup before.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../e2e/e2e_lib.sh"
demo=$1
shots=$2

fail() { echo "FAIL: $*"; cat "$E2E_HOME/app.log" 2>/dev/null; exit 1; }

popup_count() { grep -c '^popup ' "$E2E_HOME/app.log"; }
more_popups_than() { [ "$(popup_count)" -gt "$1" ]; }
popover_windows() { xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | grep -vx "$window"; }
one_popover() { [ "$(popover_windows | wc -l)" -eq 1 ]; }

# check <kind> <expected texts>: clicks the demo's target of that kind and checks the popup.
check() {
    local kind=$1 texts=$2 before line x y ax ay
    read -r _ _ _ x y ax ay <<<"$(grep "^target $kind " "$E2E_HOME/app.log")"
    [ -n "$ay" ] || fail "no $kind target"
    before=$(popup_count)
    xdotool mousemove --sync "$x" "$y" click 1
    e2e_wait_for more_popups_than "$before" || fail "a click on the $kind opened no popup"
    line=$(grep '^popup ' "$E2E_HOME/app.log" | tail -n1)
    [ "$line" = "popup $texts $ax $ay" ] || fail "the $kind's popup says '$line', expected '$texts' at $ax,$ay"
    e2e_wait_for one_popover || fail "after the $kind, $(popover_windows | wc -l) popups are on the screen"
    eval "$(xdotool getwindowgeometry --shell "$(popover_windows)")"
    # The popup hangs above the element, its arrow pointing at it.
    [ "$X" -lt "$ax" ] && [ $((X + WIDTH)) -gt "$ax" ] || fail "the $kind's popup spans x $X..$((X + WIDTH)), not $ax"
    [ $((Y + HEIGHT)) -le "$ay" ] && [ $((Y + HEIGHT)) -ge $((ay - 30)) ] \
        || fail "the $kind's popup ends at y $((Y + HEIGHT)), not just above $ay"
    e2e_screenshot "$shots/charts-$kind.png" || fail "no screenshot"
    echo "$kind: '$texts' at $X,$Y ${WIDTH}x$HEIGHT for a click at $x,$y"
}

e2e_setup || exit 1
e2e_start "$demo"
window=$(e2e_wait_window '^Mervane Chart Demo$') || exit 1
e2e_wait_for grep -q '^target slice' "$E2E_HOME/app.log" || fail "the demo named no targets"
e2e_screenshot_painted "$shots/charts-start.png" || fail "no screenshot"

check symbol '$1,734|Jun 2025'
check bar '($50)|Step 4 '
check slice '30%|Home '
echo "PASS"
