#!/usr/bin/env bash
# The main window remembers its frame: start without a data file, move and resize the
# window, close it with its close button (closing quits), find the frame in "mcmain",
# start again with a data file and find the window where it was. A zero or garbage
# "mcmain" opens the default frame. Dragging the title strip moves the window; a double click on
# it fills the screen and the next one puts the window back, also after a drag, which does not
# move a window that fills the screen (nor, without a window manager, a drag of its corner resize
# it); with and without a window manager.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
screen_h=900

# First start: no data file, no settings.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/shell-no-data.png" || fail "no screenshot without data"
default_geometry=$(e2e_window_geometry "$window")
echo "default frame: $default_geometry"

xdotool windowmove --sync "$window" 100 80
xdotool windowsize --sync "$window" 1000 650
e2e_wait_geometry "$window" "100 80 1000 650" || fail "the window did not move"
# The close button sits at the left of the title strip.
xdotool mousemove --window "$window" 14 11 click 1
e2e_wait_exit 20 || fail "closing the window did not quit cleanly"

saved=$(e2e_setting_text mcmain)
expected="{{100, $(( screen_h - 80 - 650 ))}, {1000, 650}}"
[ "$saved" = "$expected" ] || fail "mcmain is '$saved', expected '$expected'"
echo "mcmain: $saved"

# Second start: a data file with records; the window comes back where it was.
cat >"$HOME/mervane.json" <<'JSON'
{"version": "2.1", "a_cat": [], "l_cat": [], "tags": [], "nw_logs": [
 {"year": 2021, "month": 12, "assets": 5000, "liabilities": 1000, "nw": 4000},
 {"year": 2022, "month": 3, "assets": 10000, "liabilities": 2000, "nw": 8000}]}
JSON
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_wait_geometry "$window" "100 80 1000 650" || fail "the frame was not restored"
e2e_screenshot_painted "$shots/shell-with-data.png" || fail "no screenshot with data"
# The sidebar switches screens: its fifth button (the pies) sits 18 + 4 x 60 points below
# the 40-point title strip, 12 points in.
xdotool mousemove --window "$window" 36 $(( 40 + 18 + 4 * 60 + 24 )) click 1
changed=0
for _ in $(e2e_polls 5); do
    e2e_screenshot "$shots/shell-pie-screen.png"
    differing=$(compare -metric AE "$shots/shell-with-data.png" "$shots/shell-pie-screen.png" null: 2>&1 || true)
    [ "${differing%% *}" != "0" ] && { changed=1; break; }
    sleep 0.1
done
[ "$changed" = 1 ] || fail "the sidebar did not switch the screen"
# A drag of the title strip moves the window by as much as the mouse moved (<mode> <x y>: where
# the window is first). A double click fills the screen's available area (here the whole screen),
# and the next one puts the window back.
read -r display_w display_h <<<"$(xdotool getdisplaygeometry)"
double_click_title() {
    e2e_double_click "$window" 400 20 || fail "a double click on the title strip did not reach the window"
}
# A double click whose clicks move the mouse by a pixel or two while the button is down.
shaky_double_click_title() {
    e2e_double_click "$window" 400 20 1 0 1 1 || fail "a double click on the title strip did not reach the window"
}
# drag_title <x> <y>: drags the title strip of the window at x y by 60 x 30 (on the screen).
drag_title() {
    xdotool mousemove $(( $1 + 400 )) $(( $2 + 20 )) mousedown 1
    for step in 1 2 3 4 5 6; do
        sleep 0.1
        xdotool mousemove $(( $1 + 400 + 10 * step )) $(( $2 + 20 + 5 * step ))
    done
    sleep 0.3
    xdotool mouseup 1
}
drag_and_double_click_title() {
    local mode=$1 x=$2 y=$3
    # On the screen: the window moves under the mouse.
    drag_title "$x" "$y"
    # A window manager goes on from the first motion it sees once it took the drag over: the
    # window may stay one step (10 x 5) behind.
    local moved=0 nx ny nw nh
    for _ in $(e2e_polls 5); do
        read -r nx ny nw nh <<<"$(e2e_window_geometry "$window")"
        if [ "$nx" -ge $(( x + 50 )) ] && [ "$nx" -le $(( x + 60 )) ] && [ "$ny" -ge $(( y + 25 )) ] \
            && [ "$ny" -le $(( y + 30 )) ] && [ "$nw $nh" = "1000 650" ]; then
            moved=1
            break
        fi
        sleep 0.1
    done
    [ "$moved" = 1 ] || fail "dragging the title strip by 60 x 30 took the window from $x $y to $nx $ny ($mode)"
    xdotool windowmove --sync "$window" "$x" "$y"
    e2e_wait_geometry "$window" "$x $y 1000 650" || fail "the window did not move back ($mode)"
    double_click_title
    e2e_wait_geometry "$window" "0 0 $display_w $display_h" || fail "a double click on the title strip did not fill the screen ($mode)"
    e2e_screenshot "$shots/shell-zoomed-$mode.png"
    # A window that fills the screen stays there when its title strip is dragged.
    drag_title 0 0
    double_click_title
    e2e_wait_geometry "$window" "$x $y 1000 650" || fail "after a drag a second double click did not put the window back ($mode)"
}
drag_and_double_click_title no-wm 100 80
# Nor do its grips resize it: a drag of its bottom-right corner leaves it filling the screen, and
# a double click puts back the frame from before.
double_click_title
e2e_wait_geometry "$window" "0 0 $display_w $display_h" || fail "a double click on the title strip did not fill the screen again"
xdotool mousemove $(( display_w - 2 )) $(( display_h - 2 )) mousedown 1
for step in 1 2 3 4 5; do
    sleep 0.05
    xdotool mousemove $(( display_w - 2 - 40 * step )) $(( display_h - 2 - 20 * step ))
done
xdotool mouseup 1
double_click_title
e2e_wait_geometry "$window" "100 80 1000 650" || fail "after a drag of its corner a double click did not put the window back (no-wm)"
# Quitting while the window fills the screen keeps the frame from before.
double_click_title
e2e_wait_geometry "$window" "0 0 $display_w $display_h" || fail "a third double click did not fill the screen"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit 20 || fail "Ctrl+Q did not quit cleanly"
saved=$(e2e_setting_text mcmain)
[ "$saved" = "$expected" ] || fail "quitting with the window filling the screen kept '$saved', not '$expected'"

# Unusable saved frames open the default frame.
for bad in "{{0, 0}, {0, 0}}" "garbage"; do
    e2e_write_text_settings mcmain "$bad"
    e2e_start "$binary"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    e2e_wait_geometry "$window" "$default_geometry" || fail "mcmain '$bad' did not give the default frame"
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers ctrl+q
    e2e_wait_exit 20 || fail "quit failed after mcmain '$bad'"
    saved=$(e2e_setting_text mcmain)
    [ -n "$saved" ] && [ "$saved" != "{{0, 0}, {0, 0}}" ] || fail "an unusable frame was written back: '$saved'"
done

# With a window manager, which moves and maximises the window itself.
e2e_start_wm
e2e_write_text_settings mcmain "$expected"
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wm_x wm_y _ <<<"$(e2e_window_geometry "$window")"
# The window manager takes a drag over only once the mouse has moved the drag distance: a
# double click that moves the mouse a pixel or two reaches the title strip.
shaky_double_click_title
e2e_wait_geometry "$window" "0 0 $display_w $display_h" || fail "a double click moving the mouse by a pixel did not fill the screen (wm)"
shaky_double_click_title
e2e_wait_geometry "$window" "$wm_x $wm_y 1000 650" || fail "a second double click moving the mouse by a pixel did not put the window back (wm)"
drag_and_double_click_title wm "$wm_x" "$wm_y"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit 20 || fail "Ctrl+Q did not quit cleanly with a window manager"
echo "PASS"
