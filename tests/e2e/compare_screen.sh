#!/usr/bin/env bash
# The comparison screen from the sidebar with ten years of records up to this year: the eight
# statistics charts draw (the user's orange bar shows), two months are picked in the header's
# month lists and the header changes, a rate typed into a statistics field reaches every field
# and is kept across a restart in the dark appearance; absurd rates are refused with a message;
# the charts' titles and labels, and the selected month, read at 4.5:1.
# Screenshots light and dark.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72
own_bar="#FFA515"

e2e_setup || exit 1
python3 "$here/household.py" "$HOME/mervane.json" --years 10 --last-year "$(date -u +%Y)" || fail "no household"

# colour_box <screenshot> <colour> [<x> <y> <w> <h>]: "<width> <height> <x> <y>" (on the screen)
# of the part of the window's area (by default all right of the sidebar) holding that colour,
# or nothing.
colour_box() {
    e2e_colour_box "$1" "$2" $((wx + ${3:-$sidebar})) $((wy + ${4:-50})) "${5:-$((ww - sidebar))}" "${6:-$((wh - 60))}" 6
}
shot_shows() { e2e_screenshot "$1" && [ -n "$(colour_box "$1" "$2")" ]; }
# region_of <screenshot> <x> <y> <w> <h> <out>: a part of a screenshot, relative to the window.
region_of() { convert "$1" -crop "$4x$5+$((wx + $2))+$((wy + $3))" +repage "$6"; }
# chart_readable <screenshot>: the first chart's title, its names under the bars and its amounts
# read at 4.5:1 on its box.
chart_readable() {
    local part
    for part in "240 314 280 22 title" "170 546 420 14 names" "98 362 62 160 amounts"; do
        set -- "$1" $part
        python3 "$here/contrast.py" "$1" $((wx + $2)) $((wy + $3)) "$4" "$5" || fail "hard to read: the chart's $6"
    done
}
# selected_readable <screenshot> <blue>: the first month list's selected month, white on the
# selection blue, reads at 4.5:1.
selected_readable() {
    local w h x y
    read -r w h x y <<<"$(colour_box "$1" "$2" $((sidebar + 12)) 80 60 150)"
    [ -n "${y:-}" ] || fail "no selected month in $(basename "$1")"
    python3 "$here/contrast.py" "$1" "$x" "$y" "$w" "$h" || fail "the selected month is hard to read in $(basename "$1")"
}

e2e_write_text_settings mcmain "{{100, 50}, {1300, 880}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_screenshot_painted "$shots/compare-start.png" || fail "no screenshot"

# header_differs <a> <b>: whether the first month's box differs between two screenshots.
header_differs() {
    region_of "$1" $((sidebar + 12)) 80 380 140 "$E2E_HOME/header-a.png"
    region_of "$2" $((sidebar + 12)) 80 380 140 "$E2E_HOME/header-b.png"
    [ "$(compare -metric AE "$E2E_HOME/header-a.png" "$E2E_HOME/header-b.png" null: 2>&1)" != "0" ]
}

e2e_sidebar_button "$window" 6
e2e_wait_for shot_shows "$shots/compare-light.png" "$own_bar" || fail "the statistics charts did not draw"
sleep 0.5
e2e_screenshot "$shots/compare-light.png"
# The header's text is dark on its light boxes.
python3 "$here/contrast.py" "$shots/compare-light.png" $((wx + sidebar + 165)) $((wy + 90)) 220 60 \
    || fail "the first month's figures are hard to read"
chart_readable "$shots/compare-light.png"
selected_readable "$shots/compare-light.png" "#006EE5"

# Two months: January of this year in the first list (a click, then Home), December in the
# second (a click, then End). The first month's figures change.
xdotool mousemove $((wx + sidebar + 47)) $((wy + 130)) click 1
xdotool key Home
xdotool mousemove $((wx + ww - 372)) $((wy + 130)) click 1
xdotool key End
sleep 0.4
e2e_screenshot "$shots/compare-months-light.png"
header_differs "$shots/compare-light.png" "$shots/compare-months-light.png" \
    || fail "picking a month left the header as it was"

# A click on the user's orange bar of the first chart opens the value popup.
read -r bw bh bx by <<<"$(colour_box "$shots/compare-months-light.png" "$own_bar" $((sidebar + 12)) 270 560 320)"
[ -n "${by:-}" ] || fail "the first chart shows no orange bar"
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
e2e_popover_window "$window" >/dev/null || fail "a click on the user's bar opened no value popup"
sleep 0.3
e2e_screenshot "$shots/compare-popup-light.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "Escape left the value popup open"

# A rate of 2 in the country field: kept as "ExchangeRate", the bars beside the user's grow.
xdotool mousemove $((wx + sidebar + 400)) $((wy + 256)) click 1
xdotool key ctrl+a
xdotool type "2"
xdotool key Return
sleep 0.4
e2e_screenshot "$shots/compare-rate-light.png"
rate_is_two() { [ "$(e2e_setting_text ExchangeRate | awk '{ print ($1 == 2) }')" = 1 ]; }
rate_is_two || fail "the rate was not kept: '$(e2e_setting_text ExchangeRate)'"

# Absurd rates are refused with a message under the field, and the kept rate stays 2: after
# Return, and after leaving the field by a click into the next rate field (the message must
# outlive that click).
for absurd in 1e-40 3.4e38 99999999999; do
    xdotool mousemove $((wx + sidebar + 400)) $((wy + 256)) click 1
    xdotool key ctrl+a
    xdotool type "$absurd"
    xdotool key Return
    e2e_popover_window "$window" >/dev/null || fail "the rate $absurd was taken without a message"
    sleep 0.3
    e2e_screenshot "$shots/compare-rate-$absurd-light.png"
    rate_is_two || fail "the rate $absurd was stored: '$(e2e_setting_text ExchangeRate)'"
    xdotool key Escape
    e2e_popover_gone "$window" || fail "Escape left the message about $absurd open"
done
xdotool mousemove $((wx + sidebar + 400)) $((wy + 256)) click 1
xdotool key ctrl+a
xdotool type "1e-40"
xdotool mousemove $((wx + sidebar + 400)) $((wy + 622)) click 1
e2e_popover_window "$window" >/dev/null || fail "leaving the field with 1e-40 showed no message"
sleep 0.5
e2e_popover_window "$window" >/dev/null || fail "the message about 1e-40 closed with the click that left the field"
e2e_screenshot "$shots/compare-rate-left-light.png"
rate_is_two || fail "leaving the field stored 1e-40: '$(e2e_setting_text ExchangeRate)'"
xdotool key Escape
e2e_popover_gone "$window" || fail "Escape left the message about 1e-40 open"

# The detailed comparison's tab.
xdotool mousemove $((wx + sidebar + 170)) $((wy + 61)) click 1
sleep 0.4
e2e_screenshot "$shots/compare-detailed-light.png"
e2e_quit "$window"

# Dark, after a restart: the charts draw again with the kept rate.
e2e_update_text_setting SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_screenshot_painted "$shots/compare-start-dark.png" || fail "no dark screenshot"
e2e_sidebar_button "$window" 6
e2e_wait_for shot_shows "$shots/compare-dark.png" "$own_bar" || fail "the dark statistics charts did not draw"
sleep 0.5
e2e_screenshot "$shots/compare-dark.png"
python3 "$here/contrast.py" "$shots/compare-dark.png" $((wx + sidebar + 165)) $((wy + 90)) 220 60 \
    || fail "the dark first month's figures are hard to read"
chart_readable "$shots/compare-dark.png"
selected_readable "$shots/compare-dark.png" "#006EDE"
rate_is_two || fail "the rate was lost across the restart"
xdotool mousemove $((wx + sidebar + 170)) $((wy + 61)) click 1
sleep 0.4
e2e_screenshot "$shots/compare-detailed-dark.png"
e2e_quit "$window"
echo "PASS"
