#!/usr/bin/env bash
# The full-window pie screen from the sidebar, with ten years of monthly records over six asset
# and three liability categories: the three pies draw (net-worth blue and asset green show), a
# click on an asset slice opens its value popup, the label-type control's choice is kept, and a
# restart in the dark appearance draws them again. In both appearances the pies' titles and
# labels, and the dashboard pie's labels, read at 4.5:1 against the window; in the dark one the
# palest asset slice stands out from it at 3:1. Screenshots light and dark.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72
net_worth="#47A8FC"
assets="#47BA3D"

e2e_setup || exit 1
# January 2016 to December 2025; every category grows a little each month.
python3 - "$HOME/mervane.json" <<'PY'
import json, sys
assets = [("CASH", "Cash"), ("SAVE", "Savings account"), ("HOME", "House"), ("CAR", "Car"),
          ("FUND", "Retirement fund at the old employer"), ("GOLD", "Gold")]
liabilities = [("LOAN", "Mortgage"), ("CARD", "Credit card"), ("AUTO", "Car loan")]
logs = []
for i in range(120):
    year, month = 2016 + i // 12, i % 12 + 1
    a = [(ID, 1000.0 * (k + 1) + 25 * i * (k + 1)) for k, (ID, _) in enumerate(assets)]
    l = [(ID, 2000.0 * (k + 1) - 5 * i) for k, (ID, _) in enumerate(liabilities)]
    ta, tl = sum(v for _, v in a), sum(v for _, v in l)
    logs.append({"year": year, "month": month, "TS": 42000 + 30 * i, "note": "",
                 "assets": ta, "liabilities": tl, "nw": ta - tl,
                 "a_logs": [{"cat": ID, "year": year, "month": month, "value": v} for ID, v in a],
                 "l_logs": [{"cat": ID, "year": year, "month": month, "value": v} for ID, v in l]})
logs.reverse()
category = lambda ID, name: {"ID": ID, "name": name, "desc": "", "is_foreign": False, "currency": "USD",
                             "tags": [], "is_depreciable": False, "sort_order": 0, "is_hidden": False}
json.dump({"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": logs,
           "a_cat": [category(*c) for c in assets], "l_cat": [category(*c) for c in liabilities]},
          open(sys.argv[1], "w"))
PY

# colour_box <screenshot> <colour>: "<width> <height> <x> <y>" of the screen area right of the
# sidebar and below the controls holding that colour, or nothing.
colour_box() {
    e2e_colour_box "$1" "$2" $((wx + sidebar)) $((wy + 90)) $((ww - sidebar)) $((wh - 100))
}
shows_colour() { [ -n "$(colour_box "$1" "$2")" ]; }

# pie_box <screenshot> <x> <y> <width> <height>: "<width> <height> <x> <y>" of the coloured
# pixels in that region: the pie without its grey labels and title.
pie_box() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace HSL -channel G -separate +channel -threshold 15% -trim \
        -format '%w %h %X %Y' info: 2>/dev/null | awk -v x="$2" -v y="$3" '$1 > 1 { print $1, $2, $3 + x, $4 + y }'
}

# readable <screenshot> <x> <y> <width> <height> <minimum> <what>
readable() {
    python3 "$here/contrast.py" "$1" "$2" "$3" "$4" "$5" "$6" || fail "$7 is not readable in $(basename "$1")"
}

# pie_texts_readable <screenshot>: the asset pie's title and the labels right of it.
pie_texts_readable() {
    local column=$(((ww - sidebar - 32) / 3)) pw ph px py
    local left=$((wx + sidebar + 8 + column + 8))
    readable "$1" "$left" $((wy + 95)) 140 30 4.5 "the asset pie's title"
    read -r pw ph px py <<<"$(pie_box "$1" "$left" $((wy + 130)) "$column" $((wh - 180)))"
    [ -n "${py:-}" ] || fail "no asset pie found in $(basename "$1")"
    asset_pie="$pw $ph $px $py"
    readable "$1" $((px + pw + 6)) $((py + ph / 2 - 70)) 90 140 4.5 "the asset pie's labels"
}

# palest_slice <screenshot> <minimum>: the contrast of the first asset slice against the window
# showing through the pie's hole, at the hole's edge. The slice starts at 45 degrees and runs
# clockwise over a twenty-first of the turn (Cash holds 1 of 21 parts of the assets).
palest_slice() {
    local pw ph px py
    read -r pw ph px py <<<"$asset_pie"
    local inner=$((pw * 2 / 10)) # the hole's radius: the pie's radius / 2.5
    local cx=$((px + pw / 2)) cy=$((py + ph / 2))
    # At 36 degrees: cos 0.809, sin 0.588.
    python3 "$here/contrast.py" "$1" $((cx + inner * 809 / 1000 - 4)) $((cy - inner * 588 / 1000 - 4)) 8 8 "$2"
}

# dashboard_labels_readable <screenshot>: the labels right of the dashboard's pie.
dashboard_labels_readable() {
    local pw ph px py
    read -r pw ph px py <<<"$(pie_box "$1" $((wx + 420)) $((wy + 90)) 440 240)"
    [ -n "${py:-}" ] || fail "no dashboard pie found in $(basename "$1")"
    readable "$1" $((px + pw + 3)) $((py + ph / 2 - 40)) 80 80 4.5 "the dashboard pie's labels"
}
shot_shows() { e2e_screenshot "$1" && shows_colour "$1" "$2"; }
screenshot_showing() { e2e_wait_for shot_shows "$1" "$2"; }

e2e_write_text_settings mcmain "{{100, 50}, {1300, 800}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_screenshot_painted "$shots/pies-start.png" || fail "no screenshot"
sleep 1.5 # the dashboard pie fades in
e2e_screenshot "$shots/pies-start.png"
dashboard_labels_readable "$shots/pies-start.png"

e2e_sidebar_button "$window" 4
screenshot_showing "$shots/pies-light.png" "$net_worth" || fail "the net-worth pie did not draw"
sleep 1.5 # the net-worth pie fades in and makes its quarter turn
e2e_screenshot "$shots/pies-light.png"
shows_colour "$shots/pies-light.png" "$assets" || fail "the asset pie shows no green slice"
pie_texts_readable "$shots/pies-light.png"
# Over the light window the first slices are as pale as the design's shading makes them.
echo "palest asset slice in light: $(palest_slice "$shots/pies-light.png" 1)"
read -r gw gh gx gy <<<"$(colour_box "$shots/pies-light.png" "$assets")"
echo "asset green within ${gw}x$gh at $gx,$gy"

# A click on the darkest asset slice (the last, opaque one) opens the value popup.
green_point() {
    convert "$shots/pies-light.png" -crop "${gw}x$gh+$gx+$gy" +repage -fill black -fuzz 8% +opaque "$assets" \
        -fill white -opaque "$assets" txt:- 2>/dev/null | awk -F'[,: ]+' '/#FFFFFF/ { print $1, $2; exit }'
}
read -r cx cy <<<"$(green_point)"
[ -n "${cy:-}" ] || fail "no point of the asset pie found"
xdotool mousemove $((gx + cx + 2)) $((gy + cy + 2)) click 1
e2e_popover_window "$window" >/dev/null || fail "a click on an asset slice opened no value popup"
sleep 0.4
e2e_screenshot "$shots/pies-popup-light.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "Escape left the value popup open"

# The label-type control: Percent, the third segment, left of the slider at the top.
xdotool mousemove $((wx + sidebar + 16 + 60 + 150)) $((wy + 40 + 22)) click 1
sleep 0.5
e2e_screenshot "$shots/pies-percent-light.png"
echo "PieLabelType2 is now $(e2e_setting_text PieLabelType2)"
e2e_quit "$window"

# Dark, after a restart: the pies draw again.
e2e_update_text_setting SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_screenshot_painted "$shots/pies-start-dark.png" || fail "no dark screenshot"
sleep 1.5
e2e_screenshot "$shots/pies-start-dark.png"
dashboard_labels_readable "$shots/pies-start-dark.png"
e2e_sidebar_button "$window" 4
screenshot_showing "$shots/pies-dark.png" "$net_worth" || fail "the dark net-worth pie did not draw"
sleep 1.5
e2e_screenshot "$shots/pies-dark.png"
shows_colour "$shots/pies-dark.png" "$assets" || fail "the dark asset pie shows no green slice"
pie_texts_readable "$shots/pies-dark.png"
palest_slice "$shots/pies-dark.png" 3 || fail "the palest asset slice melts into the dark window"
e2e_quit "$window"
echo "PASS"
